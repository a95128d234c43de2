// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/indexpath.h"
#include "toolkit/scrollview.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/tableviewdatasource.h"
#include "toolkit/tableviewdelegate.h"

#include <QHash>
#include <QPointer>

#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace ui
{

class Button;
class FocusRing;

enum class TableViewStyle { Plain = 0, Grouped = 1 };
enum class TableViewCellSeparatorStyle { None = 0, SingleLine = 1, SingleLineEtched = 2 };
enum class TableViewRowAnimation {
    Fade = 0,
    Right = 1,
    Left = 2,
    Top = 3,
    Bottom = 4,
    None = 5,
    Middle = 6,
    Automatic = 100,
};

// A one-section list of rows over a scroll view. Only the rows in sight have cell widgets:
// a row that scrolls out gives its cell to a pool keyed by reuse identifier, from which the
// data source takes it again (dequeueReusableCellWithIdentifier). Row heights come from the
// delegate, else rowHeight. From top to bottom the content holds the table header view, the
// section header, the rows, the section footer and the table footer view; the content size
// follows from them. A horizontal swipe over a row that the data source lets edit shows a red
// "删除" button; tapping it commits the deletion through the data source.
// By keyboard the table is one stop of the Tab chain: the arrow keys move a current row
// (ringed, and told to screen readers), Return, Enter or Space open it as a tap does, and
// reaching the last row pulls the list up past its end as a finger asking for more would.
class TableView : public ScrollView
{
    Q_OBJECT

public:
    using CellFactory = std::function<TableViewCell *()>;

    explicit TableView(const QRectF &frame = {}, TableViewStyle style = TableViewStyle::Plain,
                       QWidget *parent = nullptr);
    ~TableView() override;

    TableViewStyle style() const { return m_style; }
    TableViewDataSource *dataSource() const { return m_dataSource.get(); }
    // Held weakly, like the delegate: one that is gone reads as none.
    // Setting either makes the table load its rows when control returns to the event loop
    // (or at the first reloadData), as the phone's table does when it is first laid out.
    void setDataSource(TableViewDataSource *dataSource);
    TableViewDelegate *delegate() const { return m_delegate.get(); }
    void setDelegate(TableViewDelegate *delegate);

    qreal rowHeight() const { return m_rowHeight; }
    void setRowHeight(qreal height) { m_rowHeight = height; }
    TableViewCellSeparatorStyle separatorStyle() const { return m_separatorStyle; }
    void setSeparatorStyle(TableViewCellSeparatorStyle style);
    QColor separatorColor() const { return m_separatorColor; }
    void setSeparatorColor(const QColor &color);
    // Behind the content, filling the table; owned. Null shows the background colour.
    View *backgroundView() const { return m_backgroundView; }
    void setBackgroundView(View *view);
    View *tableHeaderView() const { return m_tableHeaderView; }
    void setTableHeaderView(View *view);
    View *tableFooterView() const { return m_tableFooterView; }
    void setTableFooterView(View *view);

    // Cells made for an identifier when the pool has none (the index-path form of dequeue).
    void registerCellFactory(const QString &identifier, CellFactory factory);
    template <typename Cell> void registerClass(const QString &identifier)
    {
        registerCellFactory(
            identifier, [identifier] { return new Cell(TableViewCellStyle::Default, identifier); });
    }
    // A pooled cell, or null.
    TableViewCell *dequeueReusableCellWithIdentifier(const QString &identifier);
    // A pooled cell, else one made by the registered factory, else a default cell.
    TableViewCell *dequeueReusableCellWithIdentifier(const QString &identifier,
                                                     const IndexPath &indexPath);

    void reloadData();
    // The data source has already dropped the rows; the table drops them without reloading
    // the others. A count that does not match is reported and answered with a full reload.
    void deleteRowsAtIndexPaths(const QList<IndexPath> &indexPaths,
                                TableViewRowAnimation animation);

    int numberOfSections() const { return 1; }
    int numberOfRowsInSection(int section) const { return section == 0 ? m_rowCount : 0; }
    TableViewCell *cellForRowAtIndexPath(const IndexPath &indexPath) const;
    QList<TableViewCell *> visibleCells() const;
    QList<IndexPath> indexPathsForVisibleRows() const;
    std::optional<IndexPath> indexPathForCell(const TableViewCell *cell) const;
    // In content coordinates.
    std::optional<IndexPath> indexPathForRowAtPoint(const QPointF &point) const;
    QRectF rectForRowAtIndexPath(const IndexPath &indexPath) const;
    void scrollToRowAtIndexPath(const IndexPath &indexPath, bool animated);

    std::optional<IndexPath> indexPathForSelectedRow() const;
    // Selects without asking or telling the delegate.
    void selectRowAtIndexPath(const IndexPath &indexPath, bool animated);
    void deselectRowAtIndexPath(const IndexPath &indexPath, bool animated);
    // What a tap on the row does: asks willSelect, selects, tells didSelect.
    void tapRowAtIndexPath(const IndexPath &indexPath);

    bool isEditing() const { return m_editing; }
    // Ending editing also takes away a shown delete button.
    void setEditing(bool editing, bool animated);
    // Swipe-to-delete, as the gesture drives it: show the delete button on a row (false when
    // the data source does not let the row be edited), press it, or take it away.
    bool beginSwipeToDelete(const IndexPath &indexPath);
    bool confirmDelete();
    void cancelSwipeToDelete();
    std::optional<IndexPath> swipedIndexPath() const;
    Button *deleteConfirmationButton() const { return m_deleteButton; }
    // Cells waiting for reuse, for diagnostics and tests.
    int pooledCellCount() const;

    // The row the keyboard is on, if any.
    std::optional<IndexPath> keyboardIndexPath() const;
    void setKeyboardIndexPath(const IndexPath &indexPath);
    // A stop of the Tab chain when it has rows, unless each row in sight holds a text input of
    // its own (a form): then those are the stops.
    bool canBecomeFocused() const override;
    // Brings the next row beyond those in sight into sight (the one before them, backwards),
    // so that the Tab chain can go on into it; false when there is none.
    bool revealNextRow(bool forward);

    QAccessible::Role accessibilityRole() const override { return QAccessible::List; }
    QWidget *accessibilityFocusedElement() const override;

protected:
    void contentOffsetDidChange() override;
    void layoutSubviews() override;
    bool shouldBeginDragging(const QPointF &delta) const override;
    void handleTap(const QPointF &point) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    static constexpr qreal kDeleteButtonWidth = 64;
    static constexpr qreal kDeleteButtonHeight = 30;
    void recomputeRows();
    void replaceSectionViews();
    void layoutTable();
    void layoutVisibleRows();
    void placeCell(int row, TableViewCell *cell);
    void enqueueCell(TableViewCell *cell);
    TableViewCell *makeCellForRow(int row);
    void setHighlightedRow(std::optional<int> row);
    qreal rowTop(int row) const { return m_rowsTop + m_rowOffsets[size_t(row)]; }
    qreal rowHeightAt(int row) const;
    void moveKeyboardRow(int row, bool pullAtEnd);
    void placeFocusRing();
    int rowsInSight() const;

    TableViewStyle m_style;
    WeakDelegate<TableViewDataSource> m_dataSource;
    WeakDelegate<TableViewDelegate> m_delegate;
    qreal m_rowHeight = TableViewCell::kDefaultRowHeight;
    TableViewCellSeparatorStyle m_separatorStyle = TableViewCellSeparatorStyle::SingleLine;
    QColor m_separatorColor;
    QPointer<View> m_backgroundView;
    QPointer<View> m_tableHeaderView;
    QPointer<View> m_tableFooterView;
    QPointer<View> m_sectionHeaderView;
    QPointer<View> m_sectionFooterView;
    qreal m_sectionHeaderHeight = 0;
    qreal m_sectionFooterHeight = 0;
    int m_rowCount = 0;
    qreal m_rowsTop = 0;
    std::vector<qreal> m_rowOffsets{0};
    std::map<int, TableViewCell *> m_visible;
    QHash<QString, QList<TableViewCell *>> m_pool;
    QHash<QString, CellFactory> m_factories;
    std::optional<int> m_selectedRow;
    std::optional<int> m_highlightedRow;
    std::optional<int> m_swipeRow;
    Button *m_deleteButton = nullptr;
    FocusRing *m_focusRing = nullptr;
    std::optional<int> m_keyboardRow;
    QPointF m_pressPos;
    bool m_editing = false;
    bool m_inLayout = false;
    bool m_loaded = false;
    bool m_swipeGesture = false;
    bool m_suppressTap = false;
};

} // namespace ui
