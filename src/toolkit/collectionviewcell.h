// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "view.h"

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

protected:
    void layoutSubviews() override;

private:
    QString m_reuseIdentifier;
    View *m_contentView;
    bool m_selected = false;
    bool m_highlighted = false;
};

} // namespace ui
