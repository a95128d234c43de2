// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/userdefaults.h"
#include "platform/platformlog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

namespace platform
{

using namespace Qt::StringLiterals;

UserDefaults &UserDefaults::standardUserDefaults()
{
    // The path is taken once: tests switch the standard paths to test mode before first use.
    static UserDefaults store(standardFilePath());
    return store;
}

QString UserDefaults::standardFilePath()
{
    const QString location = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (!QStandardPaths::isTestModeEnabled())
        return location + u"/userdefaults.json"_s;
    // The test location is shared by every run of the same test binary on the machine (one per
    // checkout); each process keeps its store in a folder of its own there, removed when the
    // process ends, so that simultaneous runs never read each other's saved login.
    static const std::unique_ptr<QTemporaryDir> folder = [&location] {
        QDir().mkpath(location);
        return std::make_unique<QTemporaryDir>(location + u"/run-XXXXXX"_s);
    }();
    return folder->filePath(u"userdefaults.json"_s);
}

UserDefaults::UserDefaults(QString filePath) : m_filePath(std::move(filePath))
{
    QMutexLocker lock(&m_mutex);
    removeLeftoversLocked();
    loadLocked();
}

void UserDefaults::removeLeftoversLocked()
{
    const QFileInfo store(m_filePath);
    // The atomic save writes "<name>.XXXXXX" and renames it over the store.
    const QString pattern = store.fileName() + u".??????"_s;
    const QDateTime oldEnough = QDateTime::currentDateTimeUtc().addSecs(-leftoverAgeSeconds);
    const QFileInfoList leftovers =
        store.absoluteDir().entryInfoList({pattern}, QDir::Files | QDir::Hidden);
    for (const QFileInfo &leftover : leftovers) {
        if (leftover.lastModified().toUTC() > oldEnough)
            continue;
        if (QFile::remove(leftover.absoluteFilePath()))
            qCInfo(lcDefaults) << "removed the leftover of an interrupted save"
                               << leftover.fileName();
        else
            qCWarning(lcDefaults) << "cannot remove the leftover" << leftover.absoluteFilePath();
    }
}

void UserDefaults::loadLocked()
{
    m_values = {};
    QFile file(m_filePath);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcDefaults) << "cannot read" << m_filePath << file.errorString();
        return;
    }
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (!doc.isObject()) {
        qCWarning(lcDefaults) << "ignoring unreadable store" << m_filePath << error.errorString();
        return;
    }
    m_values = doc.object();
}

QJsonValue UserDefaults::objectForKey(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    return m_values.value(key);
}

bool UserDefaults::boolForKey(const QString &key) const
{
    const QJsonValue value = objectForKey(key);
    if (value.isDouble())
        return value.toDouble() != 0;
    return value.toBool(false);
}

void UserDefaults::setObject(const QString &key, const QJsonValue &value)
{
    QMutexLocker lock(&m_mutex);
    if (value.isUndefined())
        m_values.remove(key);
    else
        m_values.insert(key, value);
}

void UserDefaults::removeObjectForKey(const QString &key)
{
    setObject(key, QJsonValue(QJsonValue::Undefined));
}

bool UserDefaults::synchronize()
{
    QMutexLocker lock(&m_mutex);
    return writeLocked();
}

bool UserDefaults::setObjectsAndSynchronize(const QJsonObject &values)
{
    QMutexLocker lock(&m_mutex);
    for (auto it = values.begin(); it != values.end(); ++it)
        m_values.insert(it.key(), it.value());
    return writeLocked();
}

bool UserDefaults::writeLocked()
{
    const QFileInfo info(m_filePath);
    if (!QDir().mkpath(info.absolutePath())) {
        qCWarning(lcDefaults) << "cannot create" << info.absolutePath();
        return false;
    }
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lcDefaults) << "cannot write" << m_filePath << file.errorString();
        return false;
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(QJsonDocument(m_values).toJson(QJsonDocument::Indented));
    if (!file.commit()) {
        qCWarning(lcDefaults) << "cannot save" << m_filePath << file.errorString();
        return false;
    }
    return true;
}

void UserDefaults::reload()
{
    QMutexLocker lock(&m_mutex);
    loadLocked();
}

} // namespace platform
