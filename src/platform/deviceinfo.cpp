// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/deviceinfo.h"

#include <QSysInfo>

namespace platform
{

QString DeviceInfo::model()
{
    return QSysInfo::currentCpuArchitecture();
}

QString DeviceInfo::localizedModel()
{
    // The host name would identify the person; the kernel describes the device well enough.
    return QSysInfo::kernelType() + u' ' + QSysInfo::kernelVersion();
}

QString DeviceInfo::systemName()
{
    return QSysInfo::productType();
}

QString DeviceInfo::systemVersion()
{
    return QSysInfo::productVersion();
}

} // namespace platform
