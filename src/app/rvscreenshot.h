// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "app/rvappoptions.h"
#include "app/rvdemoinputs.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

class RVAppDelegate;

namespace ui
{
class ViewController;
}

// Takes the picture of one screen for the documentation. The screen, named by its storyboard
// identifier, is reached over the home screen through the screens a patient passes on the way,
// each handed the demo inputs; where a screen shows a logged-in user's data, the run logs in
// with the demo account first. The picture is saved once nothing loads or moves any more, and
// the application quits (with 1 when the screen cannot be reached). The run keeps its saved
// values in the test location and starts logged out, so the pictures neither depend on nor
// change the user's own login.
class RVScreenshot final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVScreenshot)

public:
    explicit RVScreenshot(const RVAppOptions &options, QObject *parent = nullptr);
    ~RVScreenshot() override;

    // Before the home screen is built, since it logs in again from the saved values. False,
    // with the reason on the standard error, when the screen is unknown or the login failed.
    bool prepare();
    // After launch: walks to the screen, waits for it to settle, saves the picture and quits.
    void open(RVAppDelegate *delegate);

    // Screens that show a logged-in user's data.
    static bool needsLogin(const QString &identifier);
    // The screens pushed before the named one, first to last.
    static QStringList wayTo(const QString &identifier);

private:
    // On a worker: the inputs asked from the service, the login and the demo booking.
    bool fetchInputs();
    bool logIn();
    void nextStep();
    bool push(const QString &identifier);
    bool tapDoctor();
    std::shared_ptr<ui::ViewController> handOver(const QString &identifier) const;
    bool settled() const;
    void whenSettled(std::function<void()> then);
    void finish(int code, const QString &message = QString());

    RVAppOptions m_options;
    RVDemoInputs m_inputs;
    QStringList m_steps;
    RVAppDelegate *m_delegate = nullptr;
    QTimer m_poll;
    QElapsedTimer m_waited;
    int m_quietPolls = 0;
    std::function<void()> m_then;
};
