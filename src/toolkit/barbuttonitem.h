// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace ui
{

enum class BarButtonItemStyle { Plain = 0, Bordered = 1, Done = 2 };

// A button of a navigation bar, as data: title, style and the action it runs. Items are
// shared (std::shared_ptr); the bar keeps the item alive while its action runs, so an action
// may replace the item it belongs to.
class BarButtonItem final
{
public:
    using Action = std::function<void()>;

    BarButtonItem(const QString &title, BarButtonItemStyle style, Action action = {})
        : m_title(title), m_style(style), m_action(std::move(action))
    {
    }
    static std::shared_ptr<BarButtonItem>
    initWithTitle(const QString &title, BarButtonItemStyle style, Action action = {})
    {
        return std::make_shared<BarButtonItem>(title, style, std::move(action));
    }

    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    BarButtonItemStyle style() const { return m_style; }
    void setStyle(BarButtonItemStyle style) { m_style = style; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    void setAction(Action action) { m_action = std::move(action); }
    bool hasAction() const { return bool(m_action); }
    // Runs the action (a copy of it, so that the action may replace itself).
    void trigger() const
    {
        if (!m_enabled || !m_action)
            return;
        const Action action = m_action;
        action();
    }

private:
    QString m_title;
    BarButtonItemStyle m_style;
    Action m_action;
    int m_tag = 0;
    bool m_enabled = true;
};

} // namespace ui
