// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/control.h"
#include "toolkit/textmetrics.h"

class QLineEdit;

namespace ui
{

enum class TextBorderStyle { None = 0, Line = 1, Bezel = 2, RoundedRect = 3 };
enum class TextFieldViewMode { Never = 0, WhileEditing = 1, UnlessEditing = 2, Always = 3 };
enum class ReturnKeyType { Default = 0, Go = 1, Next = 4, Search = 6, Send = 7, Done = 9 };
enum class KeyboardType {
    Default = 0,
    ASCIICapable = 1,
    NumbersAndPunctuation = 2,
    URL = 3,
    NumberPad = 4,
    PhonePad = 5,
    EmailAddress = 7,
};

// A one-line text input on a QLineEdit. The control events are those of the phone: editing
// changed for every change the user makes (not for setText), editing did end on exit for the
// return key, editing did begin and end as the field gains and loses the keyboard focus.
class TextField : public Control
{
    Q_OBJECT

public:
    explicit TextField(const QRectF &frame = {}, QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
    QString placeholder() const;
    void setPlaceholder(const QString &placeholder);
    bool isSecureTextEntry() const { return m_secure; }
    void setSecureTextEntry(bool secure);
    TextFieldViewMode clearButtonMode() const { return m_clearButtonMode; }
    void setClearButtonMode(TextFieldViewMode mode);
    ReturnKeyType returnKeyType() const { return m_returnKeyType; }
    void setReturnKeyType(ReturnKeyType type) { m_returnKeyType = type; }
    KeyboardType keyboardType() const { return m_keyboardType; }
    void setKeyboardType(KeyboardType type);
    QFont font() const;
    void setFont(const QFont &font);
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color);
    TextAlignment textAlignment() const { return m_alignment; }
    void setTextAlignment(TextAlignment alignment);
    // Where the text sits in the field's height (Fill counts as centred).
    void setContentVerticalAlignment(ContentVerticalAlignment alignment) override;
    TextBorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(TextBorderStyle style);
    bool isEditing() const { return m_firstResponder; }

    bool becomeFirstResponder();
    bool resignFirstResponder();
    bool isFirstResponder() const { return m_firstResponder; }

    // The editor inside, for tests that type into it.
    QLineEdit *lineEdit() const { return m_edit; }

    // The editor is the element screen readers read, named after the field: the label given,
    // else the placeholder, else the caption (the texts of the row it is in).
    QAccessible::Role accessibilityRole() const override { return QAccessible::Client; }

protected:
    QString shownAccessibilityLabel() const override;
    void paintEvent(QPaintEvent *event) override;
    void layoutSubviews() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setFirstResponder(bool responder);
    void paintFieldBorder(QPainter &painter) const;
    void updateClearButton();
    void applyAlignment();

    QLineEdit *m_edit;
    QColor m_textColor = Qt::black;
    TextFieldViewMode m_clearButtonMode = TextFieldViewMode::Never;
    ReturnKeyType m_returnKeyType = ReturnKeyType::Default;
    KeyboardType m_keyboardType = KeyboardType::Default;
    TextAlignment m_alignment = TextAlignment::Left;
    TextBorderStyle m_borderStyle = TextBorderStyle::None;
    bool m_secure = false;
    bool m_firstResponder = false;
};

} // namespace ui
