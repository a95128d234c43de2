// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvtlstrust.h"

#include <QFile>
#include <QMutex>

using namespace Qt::StringLiterals;

namespace
{

// A CA file is a few KiB; anything past this is not one.
constexpr qint64 maxCaFileBytes = 4 * 1024 * 1024;

QMutex settingLock;
QString extraFile;

std::optional<QByteArray> readPem(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = u"cannot read the CA file %1: %2"_s.arg(path, file.errorString());
        return std::nullopt;
    }
    QByteArray pem = file.read(maxCaFileBytes + 1);
    if (pem.size() > maxCaFileBytes || !pem.contains("-----BEGIN CERTIFICATE-----")) {
        *error = u"the CA file %1 holds no PEM certificate"_s.arg(path);
        return std::nullopt;
    }
    return pem;
}

} // namespace

void RVTlsTrust::setExtraCaFile(const QString &path)
{
    QMutexLocker lock(&settingLock);
    extraFile = path;
}

QString RVTlsTrust::extraCaFile()
{
    QMutexLocker lock(&settingLock);
    return extraFile;
}

bool RVTlsTrust::checkCaFile(const QString &path, QString *error)
{
    return readPem(path, error).has_value();
}

std::optional<QByteArray> RVTlsTrust::joinedBundle(const QString &systemBundle, QString *error)
{
    const std::optional<QByteArray> extra = readPem(extraCaFile(), error);
    if (!extra)
        return std::nullopt;
    QByteArray bundle;
    if (QFile system(systemBundle); !systemBundle.isEmpty() && system.open(QIODevice::ReadOnly))
        bundle = system.readAll() + '\n';
    return bundle + *extra;
}
