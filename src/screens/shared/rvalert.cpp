// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/shared/rvalert.h"

#include "components/rvprogress.h"
#include "screens/shared/rvscreen.h"
#include "screens/shared/rvscreenguard.h"
#include "toolkit/alertview.h"
#include "toolkit/alertviewdelegate.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/viewcontroller.h"

#include <QCoreApplication>

#include <optional>

using namespace Qt::StringLiterals;

namespace
{
// The delegate of one question, owned by its alert: it goes when the alert goes.
class Question final : public QObject, public ui::AlertViewDelegate
{
public:
    Question(std::optional<std::weak_ptr<const void>> asker, RVAlert::Answer answer)
        : m_asker(std::move(asker)), m_answer(std::move(answer))
    {
    }
    void alertViewClickedButtonAtIndex(ui::AlertView *, int buttonIndex) override
    {
        if (!m_asker || !m_asker->expired())
            m_answer(buttonIndex);
    }

private:
    std::optional<std::weak_ptr<const void>> m_asker;
    RVAlert::Answer m_answer;
};

ui::AlertView *askGuarded(std::optional<std::weak_ptr<const void>> asker, const QString &title,
                          const QString &message, const QString &cancel, const QStringList &choices,
                          RVAlert::Answer answer)
{
    auto *question = new Question(std::move(asker), std::move(answer));
    ui::AlertView *alert = ui::AlertView::initWithTitle(title, message, question, cancel, choices);
    question->setParent(alert);
    alert->show();
    return alert;
}
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

ui::AlertView *RVAlert::ask(std::weak_ptr<const void> asker, const QString &title,
                            const QString &message, const QString &cancel,
                            const QStringList &choices, Answer answer)
{
    return askGuarded(std::move(asker), title, message, cancel, choices, std::move(answer));
}

ui::AlertView *RVAlert::ask(const QString &title, const QString &message, const QString &cancel,
                            const QStringList &choices, Answer answer)
{
    return askGuarded(std::nullopt, title, message, cancel, choices, std::move(answer));
}

ui::AlertView *RVAlert::confirm(ui::ViewController *screen, const QString &title,
                                const QString &message, const QString &confirmTitle,
                                std::function<void()> action)
{
    // The answer runs only while the screen exists, so the pointer is good when it runs.
    return ask(screen->weak_from_this(), title, message,
               QCoreApplication::translate("RVAlert", "取消"), {confirmTitle},
               [screen, action = std::move(action)](int buttonIndex) {
                   if (buttonIndex == 1 && RVScreenGuard::isOnTop(screen))
                       action();
               });
}

ui::AlertView *RVAlert::offerLogin(ui::ViewController *screen)
{
    return confirm(screen, QString(), QCoreApplication::translate("RVAlert", "还未登陆，现在登陆"),
                   QCoreApplication::translate("RVAlert", "确定"), [screen] {
                       if (auto login = RVScreen::fromStoryboard(u"login"_s))
                           screen->navigationController()->pushViewController(login, true);
                   });
}

void RVAlert::tip(const QString &message, ui::View *over)
{
    RVProgress::tipMessage(message, over);
}
