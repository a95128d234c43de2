// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/barbuttonitem.h"

#include <QObject>

#include <memory>

namespace ui
{

// What the navigation bar shows for one controller: its title, its left and right buttons,
// and the back button that the controller above it shows to return here. Every change is
// announced so that the bar redraws.
class NavigationItem final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NavigationItem)

public:
    explicit NavigationItem(QObject *parent = nullptr) : QObject(parent) {}

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    std::shared_ptr<BarButtonItem> leftBarButtonItem() const { return m_left; }
    void setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item);
    std::shared_ptr<BarButtonItem> rightBarButtonItem() const { return m_right; }
    void setRightBarButtonItem(std::shared_ptr<BarButtonItem> item);
    std::shared_ptr<BarButtonItem> backBarButtonItem() const { return m_back; }
    void setBackBarButtonItem(std::shared_ptr<BarButtonItem> item);
    bool hidesBackButton() const { return m_hidesBackButton; }
    void setHidesBackButton(bool hides);

Q_SIGNALS:
    void changed();

private:
    QString m_title;
    std::shared_ptr<BarButtonItem> m_left;
    std::shared_ptr<BarButtonItem> m_right;
    std::shared_ptr<BarButtonItem> m_back;
    bool m_hidesBackButton = false;
};

} // namespace ui
