// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/navigationbar.h"

#include "toolkit/barbuttonitem.h"
#include "toolkit/button.h"
#include "toolkit/color.h"
#include "toolkit/font.h"
#include "toolkit/label.h"
#include "toolkit/navigationitem.h"
#include "toolkit/textmetrics.h"

#include <QPainter>

using namespace Qt::StringLiterals;

namespace ui
{

namespace
{
constexpr qreal kMargin = 5;
constexpr qreal kButtonHeight = 30;
constexpr qreal kMaxButtonWidth = 100;

qreal buttonWidth(const Button *button)
{
    if (button->isHidden())
        return 0;
    const qreal text =
        TextMetrics::sizeWithFont(button->currentTitle(), button->titleLabel()->font()).width();
    return std::min(kMaxButtonWidth, text + 20);
}

// Runs the action of the item shown by a bar button, keeping the item alive meanwhile.
void triggerItem(const std::shared_ptr<BarButtonItem> &item)
{
    const std::shared_ptr<BarButtonItem> keep = item;
    if (keep)
        keep->trigger();
}
} // namespace

NavigationBar::NavigationBar(const QRectF &frame, QWidget *parent)
    : View(frame, parent), m_tint(Color::colorWithRed(0.43, 0.52, 0.64)), m_titleLabel(new Label),
      m_backButton(makeButton()), m_leftButton(makeButton()), m_rightButton(makeButton())
{
    m_titleLabel->setFont(Font::boldSystemFontOfSize(20));
    m_titleLabel->setTextColor(Color::whiteColor());
    m_titleLabel->setShadowColor(Color::colorWithWhite(0, 0.5));
    m_titleLabel->setTextAlignment(TextAlignment::Center);
    m_titleLabel->setUserInteractionEnabled(false);
    // The bar reads its title as its own name.
    m_titleLabel->setIsAccessibilityElement(false);
    addSubview(m_titleLabel);
    m_backButton->addTarget([this] { Q_EMIT backButtonClicked(); }, ControlEvent::TouchUpInside);
    m_leftButton->addTarget(
        [this] {
            if (NavigationItem *top = topItem())
                triggerItem(top->leftBarButtonItem());
        },
        ControlEvent::TouchUpInside);
    m_rightButton->addTarget(
        [this] {
            if (NavigationItem *top = topItem())
                triggerItem(top->rightBarButtonItem());
        },
        ControlEvent::TouchUpInside);
    refresh();
}

Button *NavigationBar::makeButton()
{
    auto *button = new Button(ButtonType::Custom);
    button->titleLabel()->setFont(Font::boldSystemFontOfSize(12));
    button->layer().setCornerRadius(5);
    button->layer().setBorderWidth(1);
    button->layer().setBorderColor(Color::colorWithWhite(0, 0.35));
    button->setBackgroundColor(Color::colorWithWhite(0, 0.12));
    button->setHidden(true);
    addSubview(button);
    return button;
}

void NavigationBar::setItems(const QList<NavigationItem *> &items)
{
    for (const QPointer<NavigationItem> &item : std::as_const(m_items)) {
        if (item)
            disconnect(item, nullptr, this, nullptr);
    }
    m_items.clear();
    for (NavigationItem *item : items) {
        m_items.append(item);
        connect(item, &NavigationItem::changed, this, &NavigationBar::refresh);
    }
    refresh();
}

QList<NavigationItem *> NavigationBar::items() const
{
    QList<NavigationItem *> result;
    for (const QPointer<NavigationItem> &item : m_items) {
        if (item)
            result.append(item);
    }
    return result;
}

NavigationItem *NavigationBar::topItem() const
{
    const QList<NavigationItem *> all = items();
    return all.isEmpty() ? nullptr : all.last();
}

NavigationItem *NavigationBar::backItem() const
{
    const QList<NavigationItem *> all = items();
    return all.size() < 2 ? nullptr : all.at(all.size() - 2);
}

void NavigationBar::setTintColor(const QColor &color)
{
    m_tint = color;
    update();
}

namespace
{
QString &defaultBackTitle()
{
    static QString title;
    return title;
}
} // namespace

QString NavigationBar::defaultBackButtonTitle()
{
    return defaultBackTitle();
}

void NavigationBar::setDefaultBackButtonTitle(const QString &title)
{
    defaultBackTitle() = title;
}

QString NavigationBar::displayedTitle() const
{
    return m_titleLabel->text();
}

void NavigationBar::refresh()
{
    NavigationItem *top = topItem();
    NavigationItem *back = backItem();
    const QString title = top ? top->title() : QString();
    if (title != m_titleLabel->text()) {
        m_titleLabel->setText(title);
        Q_EMIT titleChanged(title);
    }
    const auto left = top ? top->leftBarButtonItem() : nullptr;
    const auto right = top ? top->rightBarButtonItem() : nullptr;
    m_leftButton->setHidden(!left);
    m_leftButton->setTitle(left ? left->title() : QString());
    m_rightButton->setHidden(!right);
    m_rightButton->setTitle(right ? right->title() : QString());
    const bool showBack = back && top && !left && !top->hidesBackButton();
    m_backButton->setHidden(!showBack);
    if (showBack) {
        QString title = back->backBarButtonItem() ? back->backBarButtonItem()->title() : QString();
        if (title.isEmpty())
            title = defaultBackTitle();
        if (title.isEmpty())
            title = back->title();
        if (title.isEmpty())
            title = u"Back"_s;
        m_backButton->setTitle(title);
    }
    layoutSubviews();
}

void NavigationBar::layoutSubviews()
{
    const qreal y = (height() - kButtonHeight) / 2;
    qreal leftEdge = kMargin;
    for (Button *button : {m_backButton, m_leftButton}) {
        const qreal w = buttonWidth(button);
        button->setFrame(QRectF(kMargin, y, w, kButtonHeight));
        if (w > 0)
            leftEdge = kMargin + w + kMargin;
    }
    const qreal rightW = buttonWidth(m_rightButton);
    m_rightButton->setFrame(QRectF(width() - kMargin - rightW, y, rightW, kButtonHeight));
    const qreal rightEdge = rightW > 0 ? width() - 2 * kMargin - rightW : width() - kMargin;
    // The title stays centred on the bar, narrowed evenly to clear the buttons.
    const qreal inset = std::max(leftEdge, width() - rightEdge);
    m_titleLabel->setFrame(QRectF(inset, 0, std::max(0.0, width() - 2 * inset), height()));
}

void NavigationBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, m_tint.lighter(135));
    gradient.setColorAt(1, m_tint);
    painter.fillRect(rect(), gradient);
    painter.fillRect(QRectF(0, height() - 1, width(), 1), m_tint.darker(150));
}

} // namespace ui
