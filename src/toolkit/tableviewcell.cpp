// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/tableviewcell.h"

#include "toolkit/accessibility.h"
#include "toolkit/color.h"
#include "toolkit/font.h"
#include "toolkit/imageview.h"
#include "toolkit/label.h"
#include "toolkit/tableview.h"

#include <QPainter>
#include <QPainterPath>

namespace ui
{

namespace
{
constexpr qreal kMargin = 10;
constexpr qreal kDrawnAccessoryWidth = 20;
} // namespace

TableViewCell::TableViewCell(TableViewCellStyle style, const QString &reuseIdentifier,
                             QWidget *parent)
    : View(QRectF(0, 0, 320, kDefaultRowHeight), parent), m_style(style),
      m_reuseIdentifier(reuseIdentifier), m_contentView(new View), m_textLabel(new Label),
      m_detailTextLabel(new Label), m_imageView(new ImageView)
{
    setBackgroundColor(Color::whiteColor());
    m_contentView->setUserInteractionEnabled(true);
    addSubview(m_contentView);
    m_contentView->addSubview(m_imageView);
    m_contentView->addSubview(m_textLabel);
    m_contentView->addSubview(m_detailTextLabel);
    m_textLabel->setUserInteractionEnabled(false);
    m_detailTextLabel->setUserInteractionEnabled(false);
    m_textLabel->setFont(
        Font::boldSystemFontOfSize(style == TableViewCellStyle::Default ? 20 : 17));
    m_detailTextLabel->setFont(
        Font::systemFontOfSize(style == TableViewCellStyle::Subtitle ? 14 : 17));
    m_detailTextLabel->setTextColor(style == TableViewCellStyle::Value1
                                        ? Color::colorWithRed(0.22, 0.33, 0.53)
                                        : Color::grayColor());
    m_textLabel->setHighlightedTextColor(Color::whiteColor());
    m_detailTextLabel->setHighlightedTextColor(Color::whiteColor());
    m_detailTextLabel->setHidden(style == TableViewCellStyle::Default);
    if (style == TableViewCellStyle::Value1)
        m_detailTextLabel->setTextAlignment(TextAlignment::Right);
    layoutSubviews();
}

QString TableViewCell::shownAccessibilityLabel() const
{
    const QString texts = Accessibility::textsUnder(this);
    return texts.isEmpty() ? Accessibility::controlNamesUnder(this) : texts;
}

void TableViewCell::addAccessibilityStates(QAccessible::State &state) const
{
    state.selectable = true;
    state.selected = m_selected;
    const auto *table = qobject_cast<TableView *>(superview());
    state.focusable = table != nullptr;
    state.focused = table && table->hasFocus() && table->accessibilityFocusedElement() == this;
}

bool TableViewCell::accessibilityActivate()
{
    auto *table = qobject_cast<TableView *>(superview());
    const auto path = table ? table->indexPathForCell(this) : std::nullopt;
    if (!path)
        return false;
    table->tapRowAtIndexPath(*path);
    return true;
}

void TableViewCell::setAccessoryType(TableViewCellAccessoryType type)
{
    m_accessoryType = type;
    layoutSubviews();
    update();
}

void TableViewCell::setAccessoryView(View *view)
{
    if (m_accessoryView == view)
        return;
    if (m_accessoryView)
        m_accessoryView->removeFromSuperview();
    m_accessoryView = view;
    if (view)
        addSubview(view);
    layoutSubviews();
    update();
}

void TableViewCell::setSelectionStyle(TableViewCellSelectionStyle style)
{
    m_selectionStyle = style;
    updateLabelHighlight();
}

void TableViewCell::setSelected(bool selected, bool)
{
    m_selected = selected;
    updateLabelHighlight();
}

void TableViewCell::setHighlighted(bool highlighted, bool)
{
    m_highlighted = highlighted;
    updateLabelHighlight();
}

void TableViewCell::setSeparator(bool shown, const QColor &color)
{
    m_separator = shown;
    m_separatorColor = color;
    update();
}

void TableViewCell::prepareForReuse()
{
    m_selected = false;
    m_highlighted = false;
    updateLabelHighlight();
}

void TableViewCell::updateLabelHighlight()
{
    const bool lit =
        (m_selected || m_highlighted) && m_selectionStyle != TableViewCellSelectionStyle::None;
    m_textLabel->setHighlighted(lit);
    m_detailTextLabel->setHighlighted(lit);
    m_imageView->setHighlighted(lit);
    update();
}

qreal TableViewCell::accessoryWidth() const
{
    if (m_accessoryView)
        return m_accessoryView->frame().width() + 2 * kMargin;
    return m_accessoryType == TableViewCellAccessoryType::None ? 0 : kDrawnAccessoryWidth + kMargin;
}

void TableViewCell::layoutSubviews()
{
    const qreal w = width();
    const qreal h = height();
    const qreal contentW = std::max(0.0, w - accessoryWidth());
    m_contentView->setFrame(QRectF(0, 0, contentW, h));
    if (m_accessoryView) {
        const QSizeF size = m_accessoryView->frame().size();
        m_accessoryView->setFrame(
            QRectF(QPointF(w - kMargin - size.width(), (h - size.height()) / 2), size));
    }
    qreal x = kMargin;
    const Image image = m_imageView->image();
    if (!image.isNull()) {
        const QSizeF size = image.size().boundedTo(QSizeF(h, h));
        m_imageView->setFrame(QRectF(QPointF(kMargin, (h - size.height()) / 2), size));
        x += size.width() + kMargin;
    } else {
        m_imageView->setFrame(QRectF());
    }
    const qreal textW = std::max(0.0, contentW - x - kMargin);
    switch (m_style) {
    case TableViewCellStyle::Subtitle:
        m_textLabel->setFrame(QRectF(x, 2, textW, h * 0.55));
        m_detailTextLabel->setFrame(QRectF(x, h * 0.55, textW, h * 0.4));
        break;
    case TableViewCellStyle::Value1:
    case TableViewCellStyle::Value2:
        m_textLabel->setFrame(QRectF(x, 0, textW / 2, h));
        m_detailTextLabel->setFrame(QRectF(x + textW / 2, 0, textW / 2, h));
        break;
    case TableViewCellStyle::Default:
        m_textLabel->setFrame(QRectF(x, 0, textW, h));
        break;
    }
}

void TableViewCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintBackground(painter);
    const bool lit =
        (m_selected || m_highlighted) && m_selectionStyle != TableViewCellSelectionStyle::None;
    if (lit) {
        painter.fillRect(rect(), m_selectionStyle == TableViewCellSelectionStyle::Gray
                                     ? Color::colorWithWhite(0.75)
                                     : Color::selectionBlueColor());
    }
    if (m_separator)
        painter.fillRect(QRectF(0, height() - 1, width(), 1), m_separatorColor);
    if (m_accessoryView || m_accessoryType == TableViewCellAccessoryType::None)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF c(width() - kMargin - kDrawnAccessoryWidth / 2, height() / 2.0);
    QPainterPath path;
    if (m_accessoryType == TableViewCellAccessoryType::Checkmark) {
        path.moveTo(c + QPointF(-7, 0));
        path.lineTo(c + QPointF(-2, 5));
        path.lineTo(c + QPointF(7, -6));
        painter.setPen(QPen(lit ? Color::whiteColor() : Color::colorWithRed(0.2, 0.31, 0.52), 2.5));
    } else {
        path.moveTo(c + QPointF(-3, -6));
        path.lineTo(c + QPointF(3, 0));
        path.lineTo(c + QPointF(-3, 6));
        painter.setPen(QPen(lit ? Color::whiteColor() : Color::grayColor(), 2.5));
    }
    painter.drawPath(path);
}

} // namespace ui
