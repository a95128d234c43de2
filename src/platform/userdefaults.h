// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QMutex>
#include <QString>

namespace platform
{

// The per-application key-value store: one JSON object kept in a file in the application's
// config location. Every change is held in memory; synchronize() writes the whole object
// atomically (write to a temporary file, then rename) with mode 0600, because it may hold a
// password. All members may be called from any thread.
class UserDefaults final
{
public:
    static UserDefaults &standardUserDefaults();

    // A store on an explicit file; the standard store uses the config location.
    explicit UserDefaults(QString filePath);
    Q_DISABLE_COPY_MOVE(UserDefaults)

    QJsonValue objectForKey(const QString &key) const;
    bool boolForKey(const QString &key) const;
    void setObject(const QString &key, const QJsonValue &value);
    void removeObjectForKey(const QString &key);

    // Writes the store through to its file; false (with a warning logged) when it cannot.
    bool synchronize();
    // Sets the values and writes the store through as one step: no other thread's change
    // lands between them. False (with a warning logged) when the write failed.
    [[nodiscard]] bool setObjectsAndSynchronize(const QJsonObject &values);
    // Drops what is in memory and reads the file again.
    void reload();

    QString filePath() const { return m_filePath; }
    // A save cut short (the process killed between writing and renaming) leaves its temporary
    // file beside the store; such files older than this are removed when the store opens.
    // Younger ones may belong to a save of another instance still running.
    static constexpr int leftoverAgeSeconds = 10;
    static QString standardFilePath();

private:
    void loadLocked();
    [[nodiscard]] bool writeLocked();
    void removeLeftoversLocked();

    mutable QMutex m_mutex;
    QString m_filePath;
    QJsonObject m_values;
};

} // namespace platform
