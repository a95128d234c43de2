// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvexportcommand.h"
#include "app/rvappservicesetup.h"

#include "models/rvbookingcalendar.h"
#include "models/rvbookingpass.h"
#include "models/rvuserstore.h"
#include "platform/background.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvnetworklayer.h"
#include "protocols/rvprotocol.h"
#include "screens/booking/rvpasspdfwriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace
{
void tell(const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
}
} // namespace

bool RVExportCommand::requested(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument.startsWith("--export-calendar") || argument.startsWith("--export-passes"))
            return true;
    }
    return false;
}

std::optional<RVSavedBookings::Outcome> RVExportCommand::savedBookings()
{
    RVUserInfo user;
    QString password;
    bool saved = false;
    {
        const RVAppConfigInfo config;
        user = config.userInfo();
        password = config.password();
        saved = config.lastLoginSuccess();
    }
    const QString yhm = RVBaseInfo::text(user.yhm());
    if (saved && !yhm.isEmpty() && password.isNull()) {
        // A keyring that stays locked (no desktop session to ask for its password) hides it.
        tell(u"the saved password could not be read from the keyring; unlock it, or log in with "
             "rv-patient again"_s);
        return std::nullopt;
    }
    if (!saved || yhm.isEmpty()) {
        tell(u"nobody is logged in: log in with rv-patient first"_s);
        return std::nullopt;
    }
    RVProtocol protocol;
    const auto answered = protocol.login(yhm, password);
    RVSavedBookings::Outcome outcome;
    if (protocol.lastRepuestStats() && answered) {
        outcome = RVSavedBookings::fetch(RVUserStore::of(*answered));
    } else if (protocol.outcome().answerLost()) {
        outcome = RVSavedBookings::kept(RVUserStore::of(user));
        outcome.message = protocol.lastErrorMsg();
    } else {
        tell(u"the service refused the saved login: %1"_s.arg(protocol.lastErrorMsg()));
        return std::nullopt;
    }
    if (!outcome.ok) {
        tell(outcome.offline
                 ? u"the service cannot be reached (%1) and no bookings are kept on this device"_s
                       .arg(outcome.message)
                 : u"the bookings could not be read: %1"_s.arg(outcome.message));
        return std::nullopt;
    }
    if (outcome.offline)
        tell(u"the service cannot be reached: the bookings as kept on %1"_s.arg(
            outcome.refreshed->toString(u"yyyy-MM-dd HH:mm"_s)));
    return outcome;
}

bool RVExportCommand::exportCalendar(const RVSavedBookings::Entries &entries, const QString &path)
{
    int written = 0;
    const QByteArray text = RVBookingCalendar::write(entries, RVProtocol::serviceHost(), &written);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        tell(u"cannot write %1: %2"_s.arg(QFileInfo(path).absoluteFilePath(), file.errorString()));
        return false;
    }
    std::printf("%d\n", written);
    return true;
}

bool RVExportCommand::exportPasses(const RVSavedBookings::Entries &entries, const QString &folder)
{
    if (!QDir().mkpath(folder)) {
        tell(u"cannot make the folder %1"_s.arg(QFileInfo(folder).absoluteFilePath()));
        return false;
    }
    int written = 0;
    for (const RVBookingCalendar::Entry &entry : RVSavedBookings::openOnly(entries)) {
        const RVBookingPass pass(entry.booking);
        QString error;
        if (!RVPassPdfWriter::write(pass, QDir(folder).filePath(pass.fileName()), &error)) {
            tell(error);
            return false;
        }
        ++written;
    }
    std::printf("%d\n", written);
    return true;
}

int RVExportCommand::run(const RVAppOptions &options)
{
    if (QString error; !RVAppServiceSetup::apply(options, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    // No window, but this is still a GUI application's thread: the service and the device store
    // are asked on a worker, as everywhere else, while this thread waits for the answer.
    RVNetworkLayer::defaultLayer(); // set up on this thread, not on the worker
    const auto bookings = platform::Background::runAndWait(&savedBookings).value_or(std::nullopt);
    if (!bookings)
        return 1;
    if (!options.exportCalendar.isEmpty() &&
        !exportCalendar(bookings->entries, options.exportCalendar))
        return 1;
    if (!options.exportPasses.isEmpty() && !exportPasses(bookings->entries, options.exportPasses))
        return 1;
    return 0;
}
