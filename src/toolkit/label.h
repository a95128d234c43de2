// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/textmetrics.h"
#include "toolkit/view.h"

#include <QFont>

namespace ui
{

// A read-only text: one line by default, wrapped over numberOfLines lines (0 = as many as
// the text needs), drawn vertically centred, with an optional shadow. The background is
// clear unless set.
class Label : public View
{
    Q_OBJECT

public:
    explicit Label(const QRectF &frame = {}, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    QFont font() const { return m_font; }
    void setFont(const QFont &font);
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color);
    QColor highlightedTextColor() const { return m_highlightedTextColor; }
    void setHighlightedTextColor(const QColor &color);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);
    TextAlignment textAlignment() const { return m_alignment; }
    void setTextAlignment(TextAlignment alignment);
    int numberOfLines() const { return m_numberOfLines; }
    void setNumberOfLines(int lines);
    LineBreakMode lineBreakMode() const { return m_lineBreakMode; }
    void setLineBreakMode(LineBreakMode mode);
    QColor shadowColor() const { return m_shadowColor; }
    void setShadowColor(const QColor &color);
    QSizeF shadowOffset() const { return m_shadowOffset; }
    void setShadowOffset(const QSizeF &offset);

    // The lines as drawn at the current width.
    QStringList displayedLines() const;
    // Resizes the label to its text (one line unless lines may wrap at the current width).
    void sizeToFit();

    QAccessible::Role accessibilityRole() const override { return QAccessible::StaticText; }

protected:
    QString shownAccessibilityLabel() const override { return m_text; }
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    QFont m_font;
    QColor m_textColor = Qt::black;
    QColor m_highlightedTextColor;
    QColor m_shadowColor;
    QSizeF m_shadowOffset{0, -1};
    TextAlignment m_alignment = TextAlignment::Left;
    LineBreakMode m_lineBreakMode = LineBreakMode::TailTruncation;
    int m_numberOfLines = 1;
    bool m_highlighted = false;
};

} // namespace ui
