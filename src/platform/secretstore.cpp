// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/secretstore.h"
#include "platform/platformlog.h"
#include "platform/userdefaults.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonObject>
#include <QStandardPaths>
#include <QThread>

#include <qt6keychain/keychain.h>

namespace platform
{

using namespace Qt::StringLiterals;

namespace
{
// The keyring entry; one saved login at a time, as in the file.
const QString entryKey = u"password"_s;

SecretStore *standardStore = nullptr;

void stopStandardStore()
{
    if (standardStore != nullptr)
        standardStore->shutdown();
}

// No keyring to be reached at all; a refusal (a locked keyring the user would not open) is
// not a reason to write the password into a file.
bool keyringMissing(QKeychain::Error error)
{
    return error == QKeychain::NoBackendAvailable || error == QKeychain::NotImplemented ||
           error == QKeychain::OtherError;
}

// A run in the test location leaves the user's own keyring alone, unless its launcher gave it
// a private one.
bool keyringWanted()
{
    return !QStandardPaths::isTestModeEnabled() || qEnvironmentVariableIsSet("RV_TEST_KEYRING");
}

template <class Job> Job *makeJob(const QString &service)
{
    auto *job = new Job(service);
    job->setAutoDelete(true);
    job->setKey(entryKey);
    return job;
}
} // namespace

QString SecretStore::fallbackKey()
{
    return u"Password"_s;
}

SecretStore &SecretStore::standard()
{
    static SecretStore store(QCoreApplication::applicationName(),
                             &UserDefaults::standardUserDefaults());
    if (standardStore == nullptr) {
        standardStore = &store;
        // The thread and its bus connection must end while the application object exists.
        qAddPostRoutine(stopStandardStore);
    }
    return store;
}

SecretStore::SecretStore(QString service, UserDefaults *fallback)
    : m_service(std::move(service)), m_fallback(fallback), m_thread(new QThread),
      m_context(new QObject)
{
    m_thread->setObjectName(u"keyring"_s);
    m_context->moveToThread(m_thread);
    m_thread->start();
}

SecretStore::~SecretStore()
{
    shutdown();
    delete m_context;
    delete m_thread;
}

void SecretStore::shutdown()
{
    {
        QMutexLocker lock(&m_mutex);
        if (m_stopped)
            return;
    }
    if (!flush())
        qCWarning(lcSecrets) << "the keyring did not finish in time; a change may be lost";
    QMutexLocker lock(&m_mutex);
    m_stopped = true;
    lock.unlock();
    m_thread->quit();
    m_thread->wait(5000);
}

void SecretStore::open()
{
    {
        QMutexLocker lock(&m_mutex);
        if (std::exchange(m_opening, true))
            return;
    }
    enqueue([this](const Done &done) {
        if (!keyringWanted()) {
            const QJsonValue kept = m_fallback->objectForKey(fallbackKey());
            settle(Where::File, kept.isString() ? kept.toString() : QString());
            done();
            return;
        }
        const QJsonValue kept = m_fallback->objectForKey(fallbackKey());
        if (kept.isString())
            moveIntoKeyring(kept.toString(), done);
        else
            read(done);
    });
}

QString SecretStore::password()
{
    open();
    QMutexLocker lock(&m_mutex);
    const QDeadlineTimer deadline(readWaitMs);
    while (!m_known && !m_stopped) {
        if (!m_changed.wait(&m_mutex, deadline)) {
            qCWarning(lcSecrets) << "the keyring did not answer in time; no saved password";
            break;
        }
    }
    return m_password;
}

void SecretStore::setPassword(const QString &password)
{
    {
        QMutexLocker lock(&m_mutex);
        m_password = password;
        m_known = true;
    }
    open();
    enqueue([this, password](const Done &done) { write(password, done); });
}

void SecretStore::removePassword()
{
    {
        QMutexLocker lock(&m_mutex);
        m_password = QString();
        m_known = true;
    }
    open();
    enqueue([this](const Done &done) { erase(done); });
}

SecretStore::Where SecretStore::where() const
{
    QMutexLocker lock(&m_mutex);
    return m_where;
}

bool SecretStore::flush(int timeoutMs)
{
    QMutexLocker lock(&m_mutex);
    const QDeadlineTimer deadline(timeoutMs);
    while (m_pending > 0) {
        if (!m_changed.wait(&m_mutex, deadline))
            return false;
    }
    return true;
}

// Steps run one at a time on the store's thread, each ending with its done().
void SecretStore::enqueue(Step step)
{
    {
        QMutexLocker lock(&m_mutex);
        if (m_stopped)
            return;
        ++m_pending;
    }
    QMetaObject::invokeMethod(
        m_context,
        [this, step = std::move(step)]() mutable {
            m_steps.push_back(std::move(step));
            if (m_steps.size() == 1)
                runNext();
        },
        Qt::QueuedConnection);
}

void SecretStore::runNext()
{
    if (m_steps.empty())
        return;
    m_steps.front()([this] {
        m_steps.pop_front();
        {
            QMutexLocker lock(&m_mutex);
            --m_pending;
            m_changed.wakeAll();
        }
        runNext();
    });
}

void SecretStore::read(const Done &done)
{
    auto *job = makeJob<QKeychain::ReadPasswordJob>(m_service);
    QObject::connect(job, &QKeychain::Job::finished, m_context, [this, job, done] {
        const QKeychain::Error error = job->error();
        if (error == QKeychain::NoError)
            settle(Where::Keyring, job->textData());
        else
            settle(keyringMissing(error) ? Where::File : Where::Keyring, QString());
        if (error != QKeychain::NoError && error != QKeychain::EntryNotFound)
            qCInfo(lcSecrets) << "keyring read failed:" << job->errorString();
        done();
    });
    job->start();
}

void SecretStore::moveIntoKeyring(const QString &password, const Done &done)
{
    auto *job = makeJob<QKeychain::WritePasswordJob>(m_service);
    job->setTextData(password);
    QObject::connect(job, &QKeychain::Job::finished, m_context, [this, job, password, done] {
        if (job->error() == QKeychain::NoError) {
            // Only now that the keyring holds it may the file let it go.
            m_fallback->removeObjectForKey(fallbackKey());
            if (m_fallback->synchronize())
                qCInfo(lcSecrets) << "the saved password moved from the file into the keyring";
            settle(Where::Keyring, password);
        } else {
            qCInfo(lcSecrets) << "keyring write failed:" << job->errorString();
            settle(keyringMissing(job->error()) ? Where::File : Where::Keyring, password);
        }
        done();
    });
    job->start();
}

void SecretStore::write(const QString &password, const Done &done)
{
    if (where() == Where::File) {
        keepInFile(password);
        done();
        return;
    }
    auto *job = makeJob<QKeychain::WritePasswordJob>(m_service);
    job->setTextData(password);
    QObject::connect(job, &QKeychain::Job::finished, m_context, [this, job, password, done] {
        if (job->error() != QKeychain::NoError) {
            qCInfo(lcSecrets) << "keyring write failed:" << job->errorString();
            if (keyringMissing(job->error())) {
                settle(Where::File, password);
                keepInFile(password);
            }
        }
        done();
    });
    job->start();
}

void SecretStore::erase(const Done &done)
{
    // Whatever a run without a keyring left in the file goes as well.
    if (m_fallback->objectForKey(fallbackKey()).isString()) {
        m_fallback->removeObjectForKey(fallbackKey());
        if (!m_fallback->synchronize())
            qCWarning(lcSecrets) << "the password could not be removed from the file";
    }
    if (where() == Where::File) {
        done();
        return;
    }
    auto *job = makeJob<QKeychain::DeletePasswordJob>(m_service);
    QObject::connect(job, &QKeychain::Job::finished, m_context, [job, done] {
        const QKeychain::Error error = job->error();
        if (error != QKeychain::NoError && error != QKeychain::EntryNotFound)
            qCWarning(lcSecrets) << "keyring delete failed:" << job->errorString();
        done();
    });
    job->start();
}

void SecretStore::settle(Where where, const QString &password)
{
    QMutexLocker lock(&m_mutex);
    if (where == Where::File && m_where != Where::File)
        qCInfo(lcSecrets) << "no keyring on the session bus; the password stays in the"
                          << "configuration file, readable by this user alone";
    m_where = where;
    // A change made while the first read ran is newer than what it found.
    if (!m_known)
        m_password = password;
    m_known = true;
    m_changed.wakeAll();
}

void SecretStore::keepInFile(const QString &password)
{
    if (!m_fallback->setObjectsAndSynchronize({{fallbackKey(), password}}))
        qCWarning(lcSecrets) << "the password could not be kept in the file";
}

} // namespace platform
