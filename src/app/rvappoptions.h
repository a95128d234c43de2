// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

// The application's command line: another service (a URL), the hospital's CA and whether plain
// HTTP may leave the machine, the self-test run, whether to ask the store for a newer version
// at start, and the interface's scale.
class RVAppOptions final
{
public:
    // nullopt with a message in error() when the arguments cannot be used.
    static std::optional<RVAppOptions> parse(const QStringList &arguments);

    // The service's base URL from --service (see RVServiceAddress::parse); empty: the build's.
    QUrl serviceUrl;
    // A hospital's CA (PEM) trusted beside the system's; kept for later starts.
    QString caFile;
    bool allowPlainHttp = false;
    bool selfTest = false;
    bool checkVersion = true;
    // For the start-up benchmark: quit once the first screen has been painted.
    bool quitAfterFirstPaint = false;
    // Saves a picture of the window shortly after start, then quits (documentation, checks).
    QString screenshotPath;
    // With the picture: the screen to reach by its storyboard identifier, whether to log in
    // with the demo account first, and whether to book a demo slot first (for the history).
    QString screen;
    bool loggedIn = false;
    bool demoBooking = false;
    // "zh_CN" or "en" from --lang; empty: the system's language decides.
    QString language;
    // Draw the interface this many times larger (and keep it for later starts).
    std::optional<double> scale;
    // Runs that keep their saved values in the test location and read none of the user's.
    bool usesTestLocation() const { return selfTest || !screen.isEmpty(); }

    // The scale asked for on a command line, read before the application object exists (Qt
    // takes its scale factor then): the factor, nullopt when none or an unusable one is given
    // (parse() then reports it). Whether the run uses the test location, alike.
    static std::optional<double> scaleBeforeStart(const QStringList &arguments);
    static bool usesTestLocationBeforeStart(const QStringList &arguments);
    // Exports without a window (RVExportCommand): a calendar file, a folder of passes.
    QString exportCalendar;
    QString exportPasses;

    static QString lastError();
    // True when the last parse ended because --help or --version was answered: lastError()
    // then holds the answer, for the standard output.
    static bool lastWasAnswer();
};
