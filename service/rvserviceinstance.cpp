// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvserviceinstance.h"

#include "service/rvservicedatabase.h"
#include "service/rvservicelog.h"
#include "service/rvserviceseeder.h"
#include "service/rvserviceserver.h"
#include "service/rvservicetls.h"

#include <QTimer>

using namespace Qt::StringLiterals;

RVServiceInstance::RVServiceInstance(const RVServiceOptions &options) : m_options(options) {}

RVServiceInstance::~RVServiceInstance()
{
    m_dayTimer.reset();
    m_server.reset(); // before the database its handlers use
    m_database.reset();
}

bool RVServiceInstance::start(QString *error)
{
    // The certificate first: a start that cannot serve HTTPS touches no database.
    std::optional<QSslConfiguration> tls;
    if (!m_options.tlsCertificateFile.isEmpty() &&
        !(tls = RVServiceTls::load(m_options.tlsCertificateFile, m_options.tlsKeyFile, error)))
        return false;
    m_database = std::make_unique<RVServiceDatabase>(m_options.databasePath);
    if (!m_database->open(error))
        return false;
    RVServiceSeeder seeder(*m_database);
    const bool seed =
        m_options.seed == RVServiceOptions::Seed::On ||
        (m_options.seed == RVServiceOptions::Seed::Default && m_database->wasCreated());
    m_refreshedFor = QDate::currentDate();
    if (seed ? !seeder.seed(m_refreshedFor) : !seeder.refreshSchedules(m_refreshedFor)) {
        *error = u"cannot write the demo data set"_s;
        return false;
    }
    m_server = std::make_unique<RVServiceServer>(*m_database, m_options.latestVersion,
                                                 m_options.limits, m_options.workers,
                                                 m_options.replyCacheMiB * qsizetype(1024 * 1024));
    if (tls)
        m_server->setTls(*tls);
    m_port = m_server->listen(m_options.address, m_options.port);
    if (m_port == 0) {
        *error = u"cannot listen on %1:%2"_s.arg(m_options.address.toString()).arg(m_options.port);
        return false;
    }
    m_dayTimer = std::make_unique<QTimer>();
    m_dayTimer->setInterval(60 * 1000);
    QObject::connect(m_dayTimer.get(), &QTimer::timeout, m_dayTimer.get(),
                     [this] { refreshIfNewDay(); });
    m_dayTimer->start();
    return true;
}

QString RVServiceInstance::baseUrl() const
{
    return m_server ? m_server->baseUrl() : QString();
}

void RVServiceInstance::refreshIfNewDay()
{
    const QDate today = QDate::currentDate();
    if (today == m_refreshedFor)
        return;
    RVServiceSeeder seeder(*m_database);
    if (seeder.refreshSchedules(today))
        m_refreshedFor = today;
}
