// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/view.h"

namespace ui
{

// One item of a grid: a content view for the caller's subviews, a reuse identifier, and the
// selected and highlighted states. Like table cells, grid cells are pooled and handed out again.
class CollectionViewCell : public View
{
    Q_OBJECT

public:
    explicit CollectionViewCell(const QString &reuseIdentifier = {}, QWidget *parent = nullptr);

    QString reuseIdentifier() const { return m_reuseIdentifier; }
    View *contentView() const { return m_contentView; }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);
    virtual void prepareForReuse();

    // An entry of its grid's list, read as one: named by its texts (else by its buttons),
    // its press action selects it as a tap does.
    QAccessible::Role accessibilityRole() const override { return QAccessible::ListItem; }
    void addAccessibilityStates(QAccessible::State &state) const override;
    bool accessibilityActivate() override;

protected:
    QString shownAccessibilityLabel() const override;
    void layoutSubviews() override;

private:
    QString m_reuseIdentifier;
    View *m_contentView;
    bool m_selected = false;
    bool m_highlighted = false;
};

} // namespace ui
