// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicedatabase.h"
#include "service/rvserviceinstance.h"
#include "service/rvserviceoptions.h"

#include <QCoreApplication>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

using namespace Qt::StringLiterals;

namespace
{
// Every open connection is a descriptor: take all the system allows this process, so that
// the connection cap, not the default soft limit, decides how many clients are held.
void raiseDescriptorLimit()
{
#ifdef Q_OS_UNIX
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
#endif
}
} // namespace

int main(int argc, char *argv[])
{
    raiseDescriptorLimit();
    // With thousands of connections open at a rush, GLib's main loop spent most of the
    // service's time registering and polling socket notifiers; Qt's own dispatcher is leaner.
    // The service needs nothing of GLib's, so it uses Qt's unless told otherwise.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"rv-service"_s);
    QCoreApplication::setOrganizationName(u"rv"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(RV_APP_VERSION));

    QString error;
    const auto options = RVServiceOptions::parse(QCoreApplication::arguments(), &error);
    if (!options) {
        std::fprintf(stderr, "rv-service: %s\n", qPrintable(error));
        return 2;
    }
    RVServiceInstance service(*options);
    if (!service.start(&error)) {
        std::fprintf(stderr, "rv-service: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("rv-service listening on %s (database %s)\n", qPrintable(service.baseUrl()),
                qPrintable(service.database().shown()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
