// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/control.h"
#include "toolkit/image.h"

#include <QMap>

namespace ui
{

class Label;

enum class ButtonType { Custom = 0, RoundedRect = 1 };

// A push button with a title, an image and a background picture per control state (a state
// without its own value shows the normal one). The rounded-rectangle type draws the white
// bordered button of the phone; the custom type draws only what it is given.
class Button : public Control
{
    Q_OBJECT

public:
    explicit Button(ButtonType type = ButtonType::Custom, const QRectF &frame = {},
                    QWidget *parent = nullptr);
    static Button *buttonWithType(ButtonType type) { return new Button(type); }

    ButtonType buttonType() const { return m_type; }

    void setTitle(const QString &title, ControlState state = ControlState::Normal);
    QString titleForState(ControlState state) const;
    void setTitleColor(const QColor &color, ControlState state = ControlState::Normal);
    QColor titleColorForState(ControlState state) const;
    void setImage(const Image &image, ControlState state = ControlState::Normal);
    Image imageForState(ControlState state) const;
    void setBackgroundImage(const Image &image, ControlState state = ControlState::Normal);
    Image backgroundImageForState(ControlState state) const;

    QString currentTitle() const { return titleForState(state()); }
    Image currentImage() const { return imageForState(state()); }
    Image currentBackgroundImage() const { return backgroundImageForState(state()); }
    // The label that shows the title; its font is the button's title font.
    Label *titleLabel() const { return m_titleLabel; }

    void setEnabled(bool enabled) override;
    void setSelected(bool selected) override;
    void setHighlighted(bool highlighted) override;

    QAccessible::Role accessibilityRole() const override { return QAccessible::Button; }
    void addAccessibilityStates(QAccessible::State &state) const override;
    bool accessibilityActivate() override;

protected:
    // The descriptions of its pictures (its own, else those shown under it when it is a clear
    // button laid over them), then its title: what a sighted user reads at its place.
    QString shownAccessibilityLabel() const override;
    void paintEvent(QPaintEvent *event) override;
    // Given the keyboard focus, Return, Enter and Space press the button. Tab reaches it in
    // reading order (Window); a click does not take the focus from a field.
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void layoutSubviews() override;

private:
    void refresh();
    QStringList picturesBeneath() const;

    ButtonType m_type;
    Label *m_titleLabel;
    QString m_announcedLabel;
    QMap<ControlState, QString> m_titles;
    QMap<ControlState, QColor> m_titleColors;
    QMap<ControlState, Image> m_images;
    QMap<ControlState, Image> m_backgroundImages;
};

} // namespace ui
