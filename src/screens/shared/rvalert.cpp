// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/shared/rvalert.h"

#include "screens/shared/rvscreenguard.h"
#include "toolkit/alertview.h"
#include "toolkit/alertviewdelegate.h"
#include "toolkit/viewcontroller.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace
{
// The delegate of one question, owned by its alert: it goes when the alert goes.
class Confirmation final : public QObject, public ui::AlertViewDelegate
{
public:
    Confirmation(std::weak_ptr<ui::ViewController> screen, std::function<void()> action)
        : m_screen(std::move(screen)), m_action(std::move(action))
    {
    }
    void alertViewClickedButtonAtIndex(ui::AlertView *, int buttonIndex) override
    {
        const auto screen = m_screen.lock();
        if (buttonIndex == 1 && screen && RVScreenGuard::isOnTop(screen.get()))
            m_action();
    }

private:
    std::weak_ptr<ui::ViewController> m_screen;
    std::function<void()> m_action;
};
} // namespace

ui::AlertView *RVAlert::show(const QString &message)
{
    return show(QString(), message);
}

ui::AlertView *RVAlert::show(const QString &title, const QString &message)
{
    ui::AlertView *alert = ui::AlertView::initWithTitle(
        title, message, nullptr, QCoreApplication::translate("RVAlert", "确定"));
    alert->show();
    return alert;
}

ui::AlertView *RVAlert::showIfOnTop(ui::ViewController *screen, const QString &message)
{
    return showIfOnTop(screen, QString(), message);
}

ui::AlertView *RVAlert::showIfOnTop(ui::ViewController *screen, const QString &title,
                                    const QString &message)
{
    if (!RVScreenGuard::isOnTop(screen))
        return nullptr;
    return show(title, message);
}

ui::AlertView *RVAlert::confirm(ui::ViewController *screen, const QString &title,
                                const QString &message, const QString &confirmTitle,
                                std::function<void()> action)
{
    auto *confirmation = new Confirmation(screen->weak_from_this(), std::move(action));
    ui::AlertView *alert = ui::AlertView::initWithTitle(
        title, message, confirmation, QCoreApplication::translate("RVAlert", "取消"),
        {confirmTitle});
    confirmation->setParent(alert);
    alert->show();
    return alert;
}
