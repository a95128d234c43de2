// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QMutex>
#include <QString>
#include <QWaitCondition>

#include <deque>
#include <functional>
#include <utility>

class QObject;
class QThread;

namespace platform
{

class UserDefaults;

// The saved password, kept in the desktop's keyring (the Secret Service, through QtKeychain) so
// that no file of the application holds it. Where no keyring answers on the session bus it stays
// in the 0600 key-value store under the same key, as it always was, and where() says so.
//
// Keyring jobs answer asynchronously and need an event loop on the thread that runs them, while
// the password is wanted by workers that wait on the service anyway (the automatic login, the
// renewal of a refused login key). So every job runs, one after the other, on a thread of this
// store's own with its own event loop, and a reader waits (bounded) for that thread's answer:
// nothing ever spins a nested event loop on the interface's thread, and the interface's thread
// never waits, because it only changes the password (queued) and reads where() (never blocks).
// The first read also moves a password still kept in the file into the keyring; the file loses
// it only once the keyring confirmed the write. The password is then kept in memory under a lock;
// a change is seen at once by every reader and reaches the keyring in the order it was made.
class SecretStore final
{
public:
    enum class Where { Unknown, Keyring, File };

    // The application's store: keyring entries under the application's name, the standard
    // key-value store as the fallback. Its thread stops when the application object goes.
    static SecretStore &standard();

    SecretStore(QString service, UserDefaults *fallback);
    ~SecretStore();
    Q_DISABLE_COPY_MOVE(SecretStore)

    // Starts the first read and returns at once; later calls do nothing.
    void open();
    // The saved password, null when there is none. Waits for the first read (at most
    // readWaitMs); meant for workers, never for the interface's thread.
    QString password();
    // Queued; each returns at once.
    void setPassword(const QString &password);
    void removePassword();
    // Where the password is kept; Unknown until the first read has been answered.
    Where where() const;
    // Waits until every queued change is done; false when the time ran out.
    bool flush(int timeoutMs = 5000);
    // Finishes the queued changes (bounded) and stops the thread; later changes are dropped.
    void shutdown();

    static constexpr int readWaitMs = 10000;
    static QString fallbackKey();

private:
    using Done = std::function<void()>;
    using Step = std::function<void(Done)>;

    void enqueue(Step step);
    void runNext();
    void read(const Done &done);
    void moveIntoKeyring(const QString &password, const Done &done);
    void write(const QString &password, const Done &done);
    void erase(const Done &done);
    void settle(Where where, const QString &password);
    void keepInFile(const QString &password);

    const QString m_service;
    UserDefaults *const m_fallback;
    QThread *m_thread = nullptr;
    QObject *m_context = nullptr; // lives on m_thread; the jobs report to it
    std::deque<Step> m_steps;     // on m_thread only

    mutable QMutex m_mutex; // guards what follows
    QWaitCondition m_changed;
    QString m_password;
    bool m_known = false; // m_password holds the saved password
    bool m_opening = false;
    bool m_stopped = false;
    int m_pending = 0;
    Where m_where = Where::Unknown;
};

} // namespace platform
