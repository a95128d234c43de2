// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvappoptions.h"

#include "app/rvapplanguage.h"
#include "platform/interfacescale.h"
#include "protocols/rvserviceaddress.h"

#include <QCommandLineParser>
#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace
{
QString &errorText()
{
    static QString text;
    return text;
}

bool &answered()
{
    static bool value = false;
    return value;
}
} // namespace

namespace
{
// What follows an option on a command line, as "--name value" or "--name=value"; the last
// one given counts, as with QCommandLineParser.
std::optional<QString> valueOf(const QStringList &arguments, const QString &name)
{
    std::optional<QString> value;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == name && i + 1 < arguments.size())
            value = arguments.at(++i);
        else if (argument.startsWith(name + u'='))
            value = argument.mid(name.size() + 1);
    }
    return value;
}
} // namespace

std::optional<double> RVAppOptions::scaleBeforeStart(const QStringList &arguments)
{
    const std::optional<QString> value = valueOf(arguments, u"--scale"_s);
    return value ? platform::InterfaceScale::parse(*value) : std::nullopt;
}

bool RVAppOptions::usesTestLocationBeforeStart(const QStringList &arguments)
{
    return arguments.contains(u"--self-test"_s) || valueOf(arguments, u"--screen"_s).has_value();
}

QString RVAppOptions::lastError()
{
    return errorText();
}

bool RVAppOptions::lastWasAnswer()
{
    return answered();
}

std::optional<RVAppOptions> RVAppOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Hospital appointment booking (patient client)"_s);
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption service(
        u"service"_s,
        u"The booking service to talk to: https://host:port, or http://host:port (host:port "
        "alone is http://) (default: build setting)."_s,
        u"URL"_s);
    const QCommandLineOption caFile(
        u"ca-file"_s,
        u"Trust this CA (PEM) for the service, beside the system's, and keep it for later "
        "starts."_s,
        u"FILE"_s);
    const QCommandLineOption allowPlainHttp(
        u"allow-plain-http"_s,
        u"Allow http:// to a host beyond loopback (the password then crosses the network under "
        "the protocol's fixed key)."_s);
    const QCommandLineOption selfTest(u"self-test"_s, u"Build every registered screen and quit."_s);
    const QCommandLineOption noCheck(u"no-update-check"_s,
                                     u"Do not ask the store for a newer version."_s);
    const QCommandLineOption firstPaint(u"quit-after-first-paint"_s,
                                        u"Quit once the home screen has been painted."_s);
    const QCommandLineOption screenshot(
        u"screenshot"_s, u"Save a picture of the window after start and quit."_s, u"file.png"_s);
    const QCommandLineOption screen(
        u"screen"_s, u"With --screenshot: the screen to show, by storyboard identifier."_s,
        u"identifier"_s);
    const QCommandLineOption loggedIn(u"logged-in"_s,
                                      u"With --screen: log in with the demo account first."_s);
    const QCommandLineOption demoBooking(
        u"demo-booking"_s, u"With --screen: book a demo slot for the demo account first."_s);
    const QCommandLineOption language(
        u"lang"_s, u"The interface's language instead of the system's: zh_CN or en."_s,
        u"language"_s);
    const QCommandLineOption scale(
        u"scale"_s,
        u"Draw the interface FACTOR times larger (1.0 to 2.0), text and frames together, "
        "and keep that for later starts."_s,
        u"FACTOR"_s);
    const QCommandLineOption exportCalendar(
        u"export-calendar"_s,
        u"Write the saved user's bookings as a calendar file (iCalendar) and quit."_s,
        u"file.ics"_s);
    const QCommandLineOption exportPasses(
        u"export-passes"_s,
        u"Write a PDF pass for each open booking of the saved user into the folder and quit."_s,
        u"folder"_s);
    parser.addOptions({service, caFile, allowPlainHttp, selfTest, noCheck, firstPaint, screenshot,
                       screen, loggedIn, demoBooking, scale, exportCalendar, exportPasses,
                       language});
    answered() = false;
    if (!parser.parse(arguments)) {
        errorText() = parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet(u"help"_s) || parser.isSet(u"version"_s)) {
        answered() = true;
        errorText() = parser.isSet(u"help"_s) ? parser.helpText()
                                              : QCoreApplication::applicationName() + u' ' +
                                                    QCoreApplication::applicationVersion();
        return std::nullopt;
    }
    if ((parser.isSet(loggedIn) || parser.isSet(demoBooking)) && !parser.isSet(screen)) {
        errorText() = u"--logged-in and --demo-booking go with --screen"_s;
        return std::nullopt;
    }
    if (parser.isSet(screen) && !parser.isSet(screenshot)) {
        errorText() = u"--screen goes with --screenshot"_s;
        return std::nullopt;
    }
    RVAppOptions options;
    options.language = parser.value(language);
    if (!options.language.isEmpty() && !RVAppLanguage::isOffered(options.language)) {
        errorText() = u"--lang wants zh_CN or en, not \"%1\""_s.arg(options.language);
        return std::nullopt;
    }
    if (parser.isSet(scale)) {
        options.scale = platform::InterfaceScale::parse(parser.value(scale));
        if (!options.scale) {
            errorText() =
                u"--scale wants a factor from 1.0 to 2.0, not \"%1\""_s.arg(parser.value(scale));
            return std::nullopt;
        }
    }
    options.exportCalendar = parser.value(exportCalendar);
    options.exportPasses = parser.value(exportPasses);
    options.selfTest = parser.isSet(selfTest);
    options.quitAfterFirstPaint = parser.isSet(firstPaint);
    options.screenshotPath = parser.value(screenshot);
    options.screen = parser.value(screen);
    options.loggedIn = parser.isSet(loggedIn);
    options.demoBooking = parser.isSet(demoBooking);
    options.checkVersion = !parser.isSet(noCheck) && !options.selfTest &&
                           !options.quitAfterFirstPaint && options.screenshotPath.isEmpty();
    options.caFile = parser.value(caFile);
    options.allowPlainHttp = parser.isSet(allowPlainHttp) || RVServiceAddress::allowed();
    if (parser.isSet(service)) {
        QString error;
        const auto url = RVServiceAddress::parse(parser.value(service), &error);
        if (!url) {
            errorText() = u"--service: "_s + error;
            return std::nullopt;
        }
        options.serviceUrl = *url;
    }
    return options;
}
