// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "components/rvmarkupcomponent.h"
#include "components/rvmarkupextractedcomponent.h"
#include "components/rvmarkuprange.h"

#include "toolkit/view.h"
#include "toolkit/weakdelegate.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointer>
#include <QVariantMap>
#include <QWidget>

#include <memory>
#include <optional>

class RVMarkupLabelDelegate;
class RVMarkupLinkButton;
class RVMarkupTextFrame;

// A view showing a short text written in a small HTML-like markup (bold, italic, underline,
// fonts, colours, paragraphs, centring, links). It owns the parsed text, lays it out and
// draws it on every paint, reports the size the text needs, and keeps one invisible button
// over every line fragment of every link so that a tap reaches the delegate with the link.
class RVMarkupLabel final : public ui::View
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVMarkupLabel)

public:
    using Attributes = RVMarkupComponent::Attributes;

    explicit RVMarkupLabel(QWidget *parent = nullptr);
    explicit RVMarkupLabel(const QRect &frame, QWidget *parent = nullptr);
    ~RVMarkupLabel() override;

    // "<br>" becomes a line break, then the markup is parsed with paragraphReplacement.
    void setText(const QString &markup);
    void setText(const QString &markup, const RVMarkupExtractedComponent &extracted);
    // Takes over a result of preExtractTextStyle() without parsing again.
    void setText(const QString &markup, const QVariantMap &extractedTextStyle);
    QString text() const { return m_text; }
    QString plainText() const { return m_plainText; }
    QAccessible::Role accessibilityRole() const override { return QAccessible::StaticText; }
    QList<RVMarkupComponent> textComponents() const { return m_textComponents; }

    // A second markup drawn while highlighted; it does not replace the plain text.
    void setHighlightedText(const QString &markup);
    void setHighlightedText(const QString &markup, const RVMarkupExtractedComponent &extracted);
    QString highlightedText() const { return m_highlightedText; }
    QList<RVMarkupComponent> highlightedTextComponents() const
    {
        return m_highlightedTextComponents;
    }
    bool highlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);

    static QVariantMap preExtractTextStyle(const QString &markup);
    static RVMarkupExtractedComponent extractTextStyleFromText(const QString &markup,
                                                               const QString &paragraphReplacement);
    static QColor colorForHex(const QString &text);
    static qreal frameHeight(const RVMarkupTextFrame &frame);

    QFont font() const { return m_font; }
    void setFont(const QFont &font);
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color);
    int textAlignment() const { return m_textAlignment; }
    void setTextAlignment(int alignment);
    int lineBreakMode() const { return m_lineBreakMode; }
    void setLineBreakMode(int mode);
    qreal lineSpacing() const { return m_lineSpacing; }
    void setLineSpacing(qreal spacing);
    QString paragraphReplacement() const { return m_paragraphReplacement; }
    void setParagraphReplacement(const QString &replacement);
    std::optional<Attributes> linkAttributes() const { return m_linkAttributes; }
    void setLinkAttributes(const std::optional<Attributes> &attributes);
    std::optional<Attributes> selectedLinkAttributes() const { return m_selectedLinkAttributes; }
    void setSelectedLinkAttributes(const std::optional<Attributes> &attributes);

    int currentSelectedButtonComponentIndex() const
    {
        return m_currentSelectedButtonComponentIndex;
    }
    // Lays the text out (rebuilding the link buttons) and returns the size the whole text
    // needs at the current width.
    QSizeF optimumSize();
    RVMarkupRange visibleRange() const { return m_visibleRange; }
    // The buttons over the link fragments, in link and line order.
    QList<RVMarkupLinkButton *> linkButtons() const;

    RVMarkupLabelDelegate *delegate() const;
    void setDelegate(RVMarkupLabelDelegate *delegate);

    // View settings the personal centre sets on its card.
    void setOpaque(bool opaque);
    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor &color);

public Q_SLOTS:
    void onButtonTouchDown(RVMarkupLinkButton *button);
    void onButtonTouchUpOutside(RVMarkupLinkButton *button);
    void onButtonPressed(RVMarkupLinkButton *button);

protected:
    QString shownAccessibilityLabel() const override { return m_plainText; }
    void paintEvent(QPaintEvent *event) override;

private:
    struct LinkPlacement {
        QRect rect;
        int componentIndex = -1;
        QString url;
        friend bool operator==(const LinkPlacement &, const LinkPlacement &) = default;
    };

    void renderText(QPainter *painter);
    QList<LinkPlacement> linkPlacements(const RVMarkupTextFrame &frame,
                                        const QList<RVMarkupComponent> &links) const;
    void placeLinkButtons(const QList<LinkPlacement> &placements, bool deferred);
    void applyLinkPlacements();

    QString m_text;
    QString m_plainText;
    QList<RVMarkupComponent> m_textComponents;
    QString m_highlightedText;
    QList<RVMarkupComponent> m_highlightedTextComponents;
    bool m_highlighted = false;
    QFont m_font;
    QColor m_textColor = Qt::black;
    int m_textAlignment = 0;
    int m_lineBreakMode = 0;
    qreal m_lineSpacing = 3.0;
    QString m_paragraphReplacement;
    std::optional<Attributes> m_linkAttributes;
    std::optional<Attributes> m_selectedLinkAttributes;
    int m_currentSelectedButtonComponentIndex = -1;
    QSizeF m_optimumSize;
    RVMarkupRange m_visibleRange;
    ui::WeakDelegate<RVMarkupLabelDelegate> m_delegate;
    QColor m_backgroundColor = Qt::transparent;
    // The last layout, whose unchanged paragraphs the next one takes over.
    std::unique_ptr<RVMarkupTextFrame> m_frame;
    QList<RVMarkupLinkButton *> m_linkButtons;
    QList<LinkPlacement> m_placed;
    std::optional<QList<LinkPlacement>> m_pendingPlacements;
};
