// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvappservicesetup.h"

#include "app/rvappoptions.h"
#include "platform/userdefaults.h"
#include "protocols/rvprotocol.h"
#include "protocols/rvserviceaddress.h"
#include "protocols/rvtlstrust.h"

#include <QFileInfo>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace
{

// The CA file to trust: the one given (kept for later), else the one kept from before. A kept
// file that has gone is dropped with a warning: the system's store still stands.
bool chooseCaFile(const RVAppOptions &options, QString *error)
{
    const bool keeps = !options.usesTestLocation();
    if (!options.caFile.isEmpty()) {
        const QString path = QFileInfo(options.caFile).absoluteFilePath();
        if (!RVTlsTrust::checkCaFile(path, error)) {
            *error = u"--ca-file: "_s + *error;
            return false;
        }
        if (keeps && !platform::UserDefaults::standardUserDefaults().setObjectsAndSynchronize(
                         {{RVAppServiceSetup::kCaFileKey.toString(), path}}))
            std::fprintf(stderr, "the CA file could not be kept for later starts\n");
        RVTlsTrust::setExtraCaFile(path);
        return true;
    }
    if (!keeps)
        return true;
    const QString kept = platform::UserDefaults::standardUserDefaults()
                             .objectForKey(RVAppServiceSetup::kCaFileKey.toString())
                             .toString();
    if (kept.isEmpty())
        return true;
    if (QString unusable; !RVTlsTrust::checkCaFile(kept, &unusable)) {
        std::fprintf(stderr, "%s; trusting the system's CAs alone\n", qPrintable(unusable));
        return true;
    }
    RVTlsTrust::setExtraCaFile(kept);
    return true;
}

} // namespace

bool RVAppServiceSetup::apply(const RVAppOptions &options, QString *error)
{
    RVServiceAddress::setPlainHttpAllowed(options.allowPlainHttp);
    if (!options.serviceUrl.isEmpty())
        RVProtocol::setServiceEndpoint(options.serviceUrl);
    *error = RVServiceAddress::plainHttpRefusal(RVProtocol::serviceEndpoint());
    return error->isEmpty() && chooseCaFile(options, error);
}
