// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/view.h"

#include <QPointer>

namespace ui
{

class ImageView;
class Label;

enum class TableViewCellStyle { Default = 0, Value1 = 1, Value2 = 2, Subtitle = 3 };
enum class TableViewCellAccessoryType {
    None = 0,
    DisclosureIndicator = 1,
    DetailDisclosureButton = 2,
    Checkmark = 3,
};
enum class TableViewCellSelectionStyle { None = 0, Blue = 1, Gray = 2 };

// One row of a table: a content view holding the text label, the detail label and the
// image view of its style, an accessory on the right (drawn, or a view of the caller's), and
// the selected and highlighted looks of its selection style. Cells are reused: a cell that
// scrolled out waits in its table's pool under its reuse identifier and is handed out again
// after prepareForReuse, with its tag, texts and subviews as they were.
class TableViewCell : public View
{
    Q_OBJECT

public:
    explicit TableViewCell(TableViewCellStyle style = TableViewCellStyle::Default,
                           const QString &reuseIdentifier = {}, QWidget *parent = nullptr);
    static TableViewCell *initWithStyle(TableViewCellStyle style, const QString &reuseIdentifier)
    {
        return new TableViewCell(style, reuseIdentifier);
    }
    // The height of a freshly made plain row.
    static constexpr qreal kDefaultRowHeight = 44;

    TableViewCellStyle style() const { return m_style; }
    QString reuseIdentifier() const { return m_reuseIdentifier; }
    View *contentView() const { return m_contentView; }
    Label *textLabel() const { return m_textLabel; }
    Label *detailTextLabel() const { return m_detailTextLabel; }
    ImageView *imageView() const { return m_imageView; }

    TableViewCellAccessoryType accessoryType() const { return m_accessoryType; }
    void setAccessoryType(TableViewCellAccessoryType type);
    // Shown instead of the drawn accessory; the cell takes ownership.
    View *accessoryView() const { return m_accessoryView; }
    void setAccessoryView(View *view);
    TableViewCellSelectionStyle selectionStyle() const { return m_selectionStyle; }
    void setSelectionStyle(TableViewCellSelectionStyle style);
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected, bool animated = false);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted, bool animated = false);
    // Set by the table: whether to draw the separator line under the row.
    void setSeparator(bool shown, const QColor &color);

    // Called before a pooled cell is handed out again: clears the selection looks.
    virtual void prepareForReuse();

    // A row of its table's list, named by the texts and pictures it shows, in reading order;
    // its press action is a tap on it.
    QAccessible::Role accessibilityRole() const override { return QAccessible::ListItem; }
    void addAccessibilityStates(QAccessible::State &state) const override;
    bool accessibilityActivate() override;

protected:
    QString shownAccessibilityLabel() const override;
    void paintEvent(QPaintEvent *event) override;
    void layoutSubviews() override;

private:
    qreal accessoryWidth() const;
    void updateLabelHighlight();

    TableViewCellStyle m_style;
    QString m_reuseIdentifier;
    View *m_contentView;
    Label *m_textLabel;
    Label *m_detailTextLabel;
    ImageView *m_imageView;
    QPointer<View> m_accessoryView;
    TableViewCellAccessoryType m_accessoryType = TableViewCellAccessoryType::None;
    TableViewCellSelectionStyle m_selectionStyle = TableViewCellSelectionStyle::Blue;
    QColor m_separatorColor;
    bool m_separator = false;
    bool m_selected = false;
    bool m_highlighted = false;
};

} // namespace ui
