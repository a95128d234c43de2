// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvmarkuplabel.h"

#include "components/rvmarkupattributedtext.h"
#include "components/rvmarkuplabeldelegate.h"
#include "components/rvmarkuplinkbutton.h"
#include "components/rvmarkupparser.h"
#include "components/rvmarkupstyler.h"
#include "components/rvmarkuptextframe.h"

#include <QApplication>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace
{

QString withLineBreaks(const QString &markup)
{
    return QString(markup).replace(u"<br>"_s, u"\n"_s);
}

} // namespace

RVMarkupLabel::RVMarkupLabel(QWidget *parent)
    : ui::View({}, parent), m_font(QApplication::font()), m_paragraphReplacement(u"\n"_s)
{
    m_font.setPixelSize(15);
    setAttribute(Qt::WA_AcceptTouchEvents);
    // Clear: whatever lies behind shows between the glyphs.
    setAttribute(Qt::WA_NoSystemBackground);
}

RVMarkupLabel::RVMarkupLabel(const QRect &frame, QWidget *parent) : RVMarkupLabel(parent)
{
    setFrame(QRectF(frame));
}

RVMarkupLabel::~RVMarkupLabel() = default;

void RVMarkupLabel::setText(const QString &markup)
{
    setText(markup, extractTextStyleFromText(withLineBreaks(markup), m_paragraphReplacement));
}

void RVMarkupLabel::setText(const QString &markup, const RVMarkupExtractedComponent &extracted)
{
    m_text = withLineBreaks(markup);
    m_textComponents = extracted.textComponents();
    const bool renamed = m_plainText != extracted.plainText();
    m_plainText = extracted.plainText();
    update();
    if (renamed)
        accessibilityLabelDidChange();
}

void RVMarkupLabel::setText(const QString &markup, const QVariantMap &extractedTextStyle)
{
    setText(markup,
            RVMarkupExtractedComponent(
                extractedTextStyle.value(u"textComponents"_s).value<QList<RVMarkupComponent>>(),
                extractedTextStyle.value(u"plainText"_s).toString()));
}

void RVMarkupLabel::setHighlightedText(const QString &markup)
{
    setHighlightedText(markup,
                       extractTextStyleFromText(withLineBreaks(markup), m_paragraphReplacement));
}

void RVMarkupLabel::setHighlightedText(const QString &markup,
                                       const RVMarkupExtractedComponent &extracted)
{
    m_highlightedText = withLineBreaks(markup);
    m_highlightedTextComponents = extracted.textComponents();
}

void RVMarkupLabel::setHighlighted(bool highlighted)
{
    if (m_highlighted == highlighted)
        return;
    m_highlighted = highlighted;
    update();
}

QVariantMap RVMarkupLabel::preExtractTextStyle(const QString &markup)
{
    // The same "<br>" treatment as setText(), so that taking the result over gives the same
    // label as parsing again.
    const RVMarkupExtractedComponent extracted =
        extractTextStyleFromText(withLineBreaks(markup), u"\n"_s);
    return {{u"textComponents"_s, QVariant::fromValue(extracted.textComponents())},
            {u"plainText"_s, extracted.plainText()}};
}

RVMarkupExtractedComponent
RVMarkupLabel::extractTextStyleFromText(const QString &markup, const QString &paragraphReplacement)
{
    return RVMarkupParser::extractTextStyleFromText(markup, paragraphReplacement);
}

QColor RVMarkupLabel::colorForHex(const QString &text)
{
    return RVMarkupStyler::colorForHex(text);
}

qreal RVMarkupLabel::frameHeight(const RVMarkupTextFrame &frame)
{
    return frame.frameHeight();
}

void RVMarkupLabel::setFont(const QFont &font)
{
    m_font = font;
    update();
}

void RVMarkupLabel::setTextColor(const QColor &color)
{
    m_textColor = color;
    update();
}

void RVMarkupLabel::setTextAlignment(int alignment)
{
    m_textAlignment = alignment;
    update();
}

void RVMarkupLabel::setLineBreakMode(int mode)
{
    m_lineBreakMode = mode;
    update();
}

void RVMarkupLabel::setLineSpacing(qreal spacing)
{
    m_lineSpacing = spacing;
    update();
}

void RVMarkupLabel::setParagraphReplacement(const QString &replacement)
{
    m_paragraphReplacement = replacement;
}

void RVMarkupLabel::setLinkAttributes(const std::optional<Attributes> &attributes)
{
    m_linkAttributes = attributes;
    update();
}

void RVMarkupLabel::setSelectedLinkAttributes(const std::optional<Attributes> &attributes)
{
    m_selectedLinkAttributes = attributes;
    update();
}

QSizeF RVMarkupLabel::optimumSize()
{
    renderText(nullptr);
    return m_optimumSize;
}

QList<RVMarkupLinkButton *> RVMarkupLabel::linkButtons() const
{
    return m_linkButtons;
}

RVMarkupLabelDelegate *RVMarkupLabel::delegate() const
{
    return m_delegate.get();
}

void RVMarkupLabel::setDelegate(RVMarkupLabelDelegate *delegate)
{
    m_delegate = delegate;
}

void RVMarkupLabel::setOpaque(bool opaque)
{
    setAttribute(Qt::WA_OpaquePaintEvent, opaque);
}

void RVMarkupLabel::setBackgroundColor(const QColor &color)
{
    m_backgroundColor = color;
    update();
}

void RVMarkupLabel::onButtonTouchDown(RVMarkupLinkButton *button)
{
    m_currentSelectedButtonComponentIndex = button->componentIndex();
    update();
}

void RVMarkupLabel::onButtonTouchUpOutside(RVMarkupLinkButton *)
{
    m_currentSelectedButtonComponentIndex = -1;
    update();
}

void RVMarkupLabel::onButtonPressed(RVMarkupLinkButton *button)
{
    m_currentSelectedButtonComponentIndex = -1;
    update();
    if (RVMarkupLabelDelegate *target = delegate())
        target->markupLabel(this, button->url());
}

void RVMarkupLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_backgroundColor.alpha() > 0)
        painter.fillRect(rect(), m_backgroundColor);
    renderText(&painter);
}

// Builds the attributed text, lays it out in the label's rectangle, records the optimum size
// and the visible range, rebuilds the link buttons unless a link is being touched (so that the
// touched button survives its own redraw) and, given a painter, draws.
void RVMarkupLabel::renderText(QPainter *painter)
{
    const bool idle = m_currentSelectedButtonComponentIndex == -1;
    if (m_plainText.isNull()) {
        if (idle)
            placeLinkButtons({}, painter != nullptr);
        return;
    }
    RVMarkupAttributedText text(
        m_plainText, m_font, m_textColor,
        RVMarkupParagraphStyle(m_textAlignment, m_lineBreakMode, m_lineSpacing));
    RVMarkupStyler::Base base;
    base.font = m_font;
    base.textAlignment = m_textAlignment;
    base.lineBreakMode = m_lineBreakMode;
    base.lineSpacing = m_lineSpacing;
    base.linkAttributes = m_linkAttributes;
    base.selectedLinkAttributes = m_selectedLinkAttributes;
    base.selectedComponentIndex = m_currentSelectedButtonComponentIndex;
    RVMarkupStyler styler(text, base);
    const QList<RVMarkupComponent> links =
        styler.apply(m_highlighted ? m_highlightedTextComponents : m_textComponents);

    m_frame = std::make_unique<RVMarkupTextFrame>(text, QSizeF(size()), m_frame.get());
    const RVMarkupTextFrame &frame = *m_frame;
    m_optimumSize = frame.suggestedSize();
    if (idle)
        placeLinkButtons(linkPlacements(frame, links), painter != nullptr);
    m_visibleRange = frame.visibleRange();
    if (painter)
        frame.draw(painter);
}

// One area per line a link touches, from the link's first character on that line to its last;
// a line's area starts where the previous line's descent ends plus the line spacing.
QList<RVMarkupLabel::LinkPlacement>
RVMarkupLabel::linkPlacements(const RVMarkupTextFrame &frame,
                              const QList<RVMarkupComponent> &links) const
{
    QList<LinkPlacement> placements;
    const QList<RVMarkupTextFrame::Line> lines = frame.lines();
    for (const RVMarkupComponent &link : links) {
        const qsizetype start = link.position();
        const qsizetype end = start + link.length();
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const RVMarkupTextFrame::Line &line = lines[i];
            const qsizetype lineEnd = line.start + line.length;
            const bool overlaps = (start < line.start && end > line.start) ||
                                  (start >= line.start && start < lineEnd);
            if (!overlaps)
                continue;
            const qreal x = line.origin.x() + frame.offsetForStringIndex(i, start);
            const qreal width =
                frame.offsetForStringIndex(i, end) - frame.offsetForStringIndex(i, start);
            const qreal y =
                i == 0 ? 0 : lines[i - 1].origin.y() + lines[i - 1].descent + m_lineSpacing;
            const QRect rect = QRectF(x, y, width, line.ascent + line.descent).toAlignedRect();
            if (rect.width() > 0 && rect.height() > 0)
                placements.append(
                    {rect, link.componentIndex(), link.attributes().value(u"href"_s)});
        }
    }
    return placements;
}

// Widgets are not created or moved while the label paints: a paint only notes the wanted
// buttons and changes them right after, and only when they differ, so that placing them
// cannot trigger another paint that places them again.
void RVMarkupLabel::placeLinkButtons(const QList<LinkPlacement> &placements, bool deferred)
{
    if (!deferred) {
        m_pendingPlacements.reset();
        m_placed = placements;
        applyLinkPlacements();
        return;
    }
    if (placements == (m_pendingPlacements ? *m_pendingPlacements : m_placed))
        return;
    const bool queued = m_pendingPlacements.has_value();
    m_pendingPlacements = placements;
    if (!queued)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!m_pendingPlacements)
                    return;
                QList<LinkPlacement> wanted = std::move(*m_pendingPlacements);
                m_pendingPlacements.reset();
                // A touch that began since keeps the buttons it started on.
                if (m_currentSelectedButtonComponentIndex != -1)
                    return;
                m_placed = std::move(wanted);
                applyLinkPlacements();
            },
            Qt::QueuedConnection);
}

void RVMarkupLabel::applyLinkPlacements()
{
    // Buttons no longer wanted go later: one of them may be the sender of the touch being
    // handled right now.
    while (m_linkButtons.size() > m_placed.size()) {
        RVMarkupLinkButton *button = m_linkButtons.takeLast();
        button->hide();
        button->deleteLater();
    }
    for (qsizetype i = 0; i < m_placed.size(); ++i) {
        if (i == m_linkButtons.size()) {
            auto *button = new RVMarkupLinkButton(this);
            connect(button, &RVMarkupLinkButton::touchDown, this,
                    &RVMarkupLabel::onButtonTouchDown);
            connect(button, &RVMarkupLinkButton::touchUpOutside, this,
                    &RVMarkupLabel::onButtonTouchUpOutside);
            connect(button, &RVMarkupLinkButton::touchUpInside, this,
                    &RVMarkupLabel::onButtonPressed);
            m_linkButtons.append(button);
        }
        RVMarkupLinkButton *button = m_linkButtons[i];
        button->setComponentIndex(m_placed[i].componentIndex);
        button->setUrl(m_placed[i].url);
        button->setGeometry(m_placed[i].rect);
        button->show();
    }
}
