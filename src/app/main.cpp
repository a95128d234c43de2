// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvappdelegate.h"
#include "app/rvapplanguage.h"
#include "app/rvappoptions.h"
#include "app/rvappservicesetup.h"
#include "app/rvappwatches.h"
#include "app/rvexportcommand.h"
#include "app/rvmainstoryboard.h"
#include "app/rvscreenshot.h"
#include "models/rvaccount.h"
#include "platform/interfacescale.h"
#include "platform/secretstore.h"
#include "platform/userdefaults.h"
#include "platform/workpool.h"
#include "protocols/rvnetworklayer.h"
#include "protocols/rvprotocol.h"
#include "screens/home/rvmainviewcontroller.h"
#include "toolkit/storyboard.h"
#include "toolkit/viewcontroller.h"
#include "toolkit/window.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLocale>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace
{

int selfTest()
{
    // Screens start their first load when their view is built. The pool is stopped and the
    // finishes it queued are let go while the application still exists: a screen released
    // from the application's own teardown would hang it.
    platform::WorkPool workPool;
    const QStringList identifiers = RVMainStoryboard::identifiers();
    int failures = 0;
    for (const QString &identifier : identifiers) {
        auto screen = ui::Storyboard::storyboardWithName(u"MainStoryboard"_s)
                          ->instantiateViewControllerWithIdentifier(identifier);
        if (!screen || screen->view() == nullptr) {
            std::fprintf(stderr, "screen %s could not be built\n", qPrintable(identifier));
            ++failures;
        }
    }
    workPool.shutdown();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::printf("%lld passed, %d failed\n", qlonglong(identifiers.size() - failures), failures);
    return failures == 0 ? 0 : 1;
}

// The font database (fontconfig's configuration and the list of installed fonts) is read on
// the first text drawn, in the middle of the first paint. Read on another core while this one
// builds the home screen, it is ready, or nearly, when the paint needs it; Qt serialises the
// two threads' font look-ups.
void readFontsInBackground()
{
    platform::WorkPool::current().start([] { QFontDatabase::families(); });
}

// Quits once the window has painted itself (and so the home screen) for the first time.
class FirstPaintWatcher final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

void quitAfterFirstPaint(QWidget *window)
{
    window->installEventFilter(new FirstPaintWatcher(window));
}

QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// The interface's scale is the window's scale factor, which Qt takes when the application
// object is made: the one asked for with --scale, else the one kept from an earlier start (not
// in a run that keeps its values in the test location). Returns what the environment held, to
// be put back once the application exists, so that programs it opens are not scaled.
std::optional<QByteArray> applyInterfaceScale(const QStringList &arguments)
{
    double scale = RVAppOptions::scaleBeforeStart(arguments).value_or(0);
    if (scale == 0 && !RVAppOptions::usesTestLocationBeforeStart(arguments))
        scale = platform::InterfaceScale::stored(
            platform::UserDefaults(platform::UserDefaults::standardFilePath()));
    if (scale <= platform::InterfaceScale::kMinimum)
        return std::nullopt;
    const QByteArray before = qgetenv("QT_SCALE_FACTOR");
    qputenv("QT_SCALE_FACTOR", platform::InterfaceScale::scaleFactorVariable(scale, before));
    return before;
}

void restoreEnvironment(const std::optional<QByteArray> &scaleFactor)
{
    if (!scaleFactor)
        return;
    if (scaleFactor->isEmpty())
        qunsetenv("QT_SCALE_FACTOR");
    else
        qputenv("QT_SCALE_FACTOR", *scaleFactor);
}

// The names the saved values and the kept bookings are found under.
void identify()
{
    QCoreApplication::setApplicationName(u"rv-patient"_s);
    // The name before a language is chosen; main() sets it again in that language.
    QGuiApplication::setApplicationDisplayName(u"预约挂号"_s); // untranslated: set again
    QCoreApplication::setOrganizationName(u"rv"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(RV_APP_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(RV_APP_ID));
}

// The options, or none with the status to end with (--help and --version end with 0).
std::optional<RVAppOptions> parseOptions(int *status)
{
    auto options = RVAppOptions::parse(QCoreApplication::arguments());
    if (!options) {
        const bool answer = RVAppOptions::lastWasAnswer();
        std::fprintf(answer ? stdout : stderr, "%s\n", qPrintable(RVAppOptions::lastError()));
        *status = answer ? 0 : 2;
    }
    return options;
}

// The exports draw their documents off screen: they need no display, nor open a window.
int exportWithoutWindow(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    identify();
    int status = 0;
    const auto options = parseOptions(&status);
    platform::WorkPool workPool;
    return options ? RVExportCommand::run(*options) : status;
}

} // namespace

int main(int argc, char *argv[])
{
    if (RVExportCommand::requested(argc, argv))
        return exportWithoutWindow(argc, argv);
    // Named first: the kept scale is read from the application's configuration.
    QCoreApplication::setApplicationName(u"rv-patient"_s);
    QCoreApplication::setOrganizationName(u"rv"_s);
    const std::optional<QByteArray> scaleFactor = applyInterfaceScale(argumentList(argc, argv));
    QApplication app(argc, argv);
    restoreEnvironment(scaleFactor);
    identify();
    int status = 0;
    const auto options = parseOptions(&status);
    if (!options)
        return status;
    const QString language =
        RVAppLanguage::choose(options->language, QLocale::system().uiLanguages());
    if (!RVAppLanguage::install(language))
        qWarning("the English translation could not be loaded; the interface stays Chinese");
    QGuiApplication::setApplicationDisplayName(QCoreApplication::translate("main", "预约挂号"));
    // The self-test builds screens that read saved values: keep it out of the user's files.
    if (options->selfTest)
        QStandardPaths::setTestModeEnabled(true);
    if (QString error; !RVAppServiceSetup::apply(*options, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    if (options->scale && !options->usesTestLocation())
        platform::InterfaceScale::store(platform::UserDefaults::standardUserDefaults(),
                                        *options->scale);
    RVMainStoryboard::registerScreens();
    if (options->selfTest)
        return selfTest();
    // The saved password is read from the keyring while the window is built, so that it is
    // there when the automatic login asks; a refused saved login logs out as the button does.
    platform::SecretStore::standard().open();
    RVAccount::handleRefusedLogins();

    // The threads of the screens' service work belong to the application: made before the
    // first screen, stopped before the screens go. At the stop, every transfer they may be
    // waiting on ends at once (and every later one as it starts), so the join is prompt.
    platform::WorkPool workPool;
    workPool.setStopHandler([] { RVNetworkLayer::defaultLayer()->abortAll(); });
    readFontsInBackground();
    RVScreenshot screenshot(*options);
    if (!options->screen.isEmpty() && !screenshot.prepare())
        return 1;
    RVAppDelegate delegate;
    delegate.didFinishLaunchingWithOptions();
    if (options->quitAfterFirstPaint)
        quitAfterFirstPaint(delegate.window());
    // A run that only takes a picture shows no reminders and asks after no watch.
    const bool onlyPicture = !options->screen.isEmpty() || !options->screenshotPath.isEmpty() ||
                             options->quitAfterFirstPaint;
    if (!onlyPicture)
        delegate.startReminders();
    // Watches on fully booked half-days are asked after while the application runs.
    RVAppWatches watches(delegate.navigationController(), delegate.desktopNotifier());
    if (!onlyPicture)
        watches.start();
    if (!options->screen.isEmpty()) {
        screenshot.open(&delegate);
    } else if (!options->screenshotPath.isEmpty()) {
        QTimer::singleShot(1000, &delegate, [&delegate, path = options->screenshotPath] {
            if (!delegate.window()->grab().save(path))
                std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
            QCoreApplication::quit();
        });
    }
    if (options->checkVersion) {
        // After the first paint: the check waits for the store's answer.
        QTimer::singleShot(500, &delegate, [&delegate] {
            if (auto *home = dynamic_cast<RVMainViewController *>(delegate.viewController().get()))
                home->onCheckVersion(QApplication::applicationVersion());
        });
    }
    const int code = QApplication::exec();
    watches.stop();
    // Work still waiting on the service is told to stop and joined (bounded); the clean-ups
    // it handed to the main thread then run, without their finishes, while the window is
    // still there, so each screen is released here on the main thread.
    workPool.shutdown();
    QCoreApplication::sendPostedEvents();
    delegate.applicationWillTerminate();
    return code;
}
