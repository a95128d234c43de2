// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QAccessible>
#include <QColor>
#include <QList>
#include <QRectF>
#include <QWidget>

#include <optional>

namespace ui
{

class View;

// The drawing attributes of a view's backing layer that the screens use: a border and
// rounded corners. Changes repaint the view.
class Layer final
{
public:
    explicit Layer(View *view) : m_view(view) {}

    qreal borderWidth() const { return m_borderWidth; }
    void setBorderWidth(qreal width);
    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor &color);
    qreal cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(qreal radius);
    // With rounded corners, also clip the subviews to them.
    bool masksToBounds() const { return m_masksToBounds; }
    void setMasksToBounds(bool masks);

private:
    View *m_view;
    qreal m_borderWidth = 0;
    QColor m_borderColor = Qt::black;
    qreal m_cornerRadius = 0;
    bool m_masksToBounds = false;
};

// The base of every visible element: a rectangle in points within its superview, painted
// with its background colour and layer border, holding subviews. Subviews are owned by their
// superview (Qt parenthood); removeFromSuperview releases a view, which is deleted once control
// returns to the event loop unless it was added to a superview again by then.
class View : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QRectF frame READ frame WRITE setFrame)
    Q_PROPERTY(qreal alpha READ alpha WRITE setAlpha)

public:
    explicit View(const QRectF &frame = {}, QWidget *parent = nullptr);
    ~View() override;

    QRectF frame() const { return m_frame; }
    void setFrame(const QRectF &frame);
    QRectF bounds() const { return {QPointF(0, 0), m_frame.size()}; }
    QPointF center() const { return m_frame.center(); }

    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor &color);
    qreal alpha() const { return m_alpha; }
    void setAlpha(qreal alpha);
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden);
    bool isOpaque() const { return m_opaque; }
    void setOpaque(bool opaque) { m_opaque = opaque; }
    bool isUserInteractionEnabled() const { return m_userInteraction; }
    void setUserInteractionEnabled(bool enabled);
    Layer &layer() { return m_layer; }
    const Layer &layer() const { return m_layer; }

    // Adds on top of the other subviews (taking it from its former superview).
    void addSubview(View *view);
    void insertSubviewAtIndex(View *view, int index);
    void bringSubviewToFront(View *view);
    void sendSubviewToBack(View *view);
    void removeFromSuperview();
    // The direct subviews, back to front.
    QList<View *> subviews() const;
    View *superview() const;
    View *viewWithTag(int tag);
    // Coordinates in points, through any chain of superviews.
    QPointF convertPointToView(const QPointF &point, const QWidget *view) const;

    // What assistive technologies (a screen reader) make of the view. The label is the name
    // read out: the one given, else what the view shows (a label's text, a button's title).
    QString accessibilityLabel() const;
    void setAccessibilityLabel(const QString &label);
    // The role announced; a plain view is a container, read through its elements.
    virtual QAccessible::Role accessibilityRole() const;
    // Whether the view is read as an element of its own: by default any view with a role but
    // a text or a picture with nothing to say, never a container.
    bool isAccessibilityElement() const;
    void setIsAccessibilityElement(bool element);
    // Read after the name (a field's text, a page number).
    virtual QString accessibilityValue() const { return {}; }
    // States beyond the widget's own (selected, busy, ...).
    virtual void addAccessibilityStates(QAccessible::State &) const {}
    // The press action of a button or a row; false when the view has none or refused.
    virtual bool accessibilityActivate() { return false; }
    // Whether the view's own subviews are kept from assistive technologies: the view reads
    // them as part of itself (a button its title, a grid entry its caption).
    bool accessibilityElementsHidden() const { return m_accessibilityElementsHidden; }
    void setAccessibilityElementsHidden(bool hidden) { m_accessibilityElementsHidden = hidden; }
    // Within a list: the element that has the keyboard's focus (its current row), if any.
    virtual QWidget *accessibilityFocusedElement() const { return nullptr; }

    // Whether the Tab key stops here: the view takes the focus by Tab and is enabled.
    virtual bool canBecomeFocused() const;

    // Repaint, the stand-in for marking the view as needing display.
    void setNeedsDisplay() { update(); }
    void setNeedsLayout();
    void layoutIfNeeded();

protected:
    // What the view shows that names it, when no label was given.
    virtual QString shownAccessibilityLabel() const { return {}; }
    // Tells assistive technologies that the name changed, of this view and of the element
    // that reads it as part of its own (a cell reads its labels).
    void accessibilityLabelDidChange();
    // Where subviews go; a scroll view puts them into its moving content.
    virtual QWidget *subviewContainer() { return this; }
    virtual void layoutSubviews() {}
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    // Paints background and border; subclasses call it before drawing their content.
    void paintBackground(QPainter &painter) const;
    // The layer's border alone: drawn again over content that covers the whole view (a
    // picture), since a layer's border lies above its content.
    void paintBorder(QPainter &painter) const;

private:
    friend class Layer;
    void applyMask();
    void attachTo(QWidget *container);

    QRectF m_frame;
    QColor m_backgroundColor;
    qreal m_alpha = 1.0;
    int m_tag = 0;
    bool m_hidden = false;
    bool m_opaque = false;
    bool m_userInteraction = true;
    bool m_layoutPending = false;
    bool m_accessibilityElementsHidden = false;
    std::optional<bool> m_accessibilityElement;
    QString m_accessibilityLabel;
    Layer m_layer;
};

} // namespace ui
