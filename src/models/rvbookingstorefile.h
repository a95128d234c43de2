// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <functional>
#include <optional>

// One connection to one user's store file, for the length of one operation. Opening makes
// the file (readable by the user alone) and its tables when there is none, brings a file of the
// first layout up to this one (its bookings are kept), and replaces a file that is not a
// database, is of another layout or belongs to another user. Qt's connections
// belong to the thread that made them, so each operation has its own, on its own thread.
class RVBookingStoreFile final
{
public:
    static constexpr int kSchemaVersion = 2;

    RVBookingStoreFile(QString path, QString yhid);
    ~RVBookingStoreFile();
    Q_DISABLE_COPY_MOVE(RVBookingStoreFile)

    bool isOpen() const { return m_open; }
    // A statement with its values bound, run; none when it failed (logged). A failure that
    // shows the file damaged is remembered, for the caller to rebuild and try again.
    std::optional<QSqlQuery> exec(const QString &sql, const QVariantList &values = {});
    // Runs the work in one transaction: committed when it returns true, else rolled back.
    bool write(const std::function<bool()> &work);
    bool damaged() const { return m_damaged; }
    // Closes the connection, deletes the file and opens a new, empty one.
    bool rebuild();

    // Deletes the file and SQLite's files beside it; true when none is left.
    static bool removeFiles(const QString &path);

private:
    enum class Layout {
        Ready,   // this layout, this user's
        Foreign, // not this layout or not this user's: to be replaced
        Failed,  // could not be read (busy, no room): left alone
    };
    bool open();
    bool connect();
    void close();
    // Makes the tables in an empty file.
    Layout check();
    bool createTables();
    // Adds what the first layout lacked: the reminders already shown and the watches.
    bool upgradeFromFirstLayout();

    QString m_path;
    QString m_yhid;
    QString m_connection;
    bool m_open = false;
    bool m_damaged = false;
};
