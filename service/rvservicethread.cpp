// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicethread.h"

#include "service/rvserviceinstance.h"

using namespace Qt::StringLiterals;

RVServiceOptions RVServiceThread::ephemeralOptions()
{
    RVServiceOptions options;
    options.address = QHostAddress::LocalHost;
    options.port = 0;
    options.databasePath = u":memory:"_s;
    options.seed = RVServiceOptions::Seed::On;
    return options;
}

RVServiceThread::RVServiceThread(const RVServiceOptions &options, QObject *parent)
    : QThread(parent), m_options(options)
{
}

RVServiceThread::~RVServiceThread()
{
    quit();
    wait();
}

bool RVServiceThread::startService(QString *error)
{
    start();
    m_ready.acquire();
    if (m_port == 0) {
        *error = m_error;
        wait();
        return false;
    }
    return true;
}

void RVServiceThread::run()
{
    RVServiceInstance instance(m_options);
    QString error;
    if (!instance.start(&error)) {
        m_error = error;
        m_ready.release();
        return;
    }
    m_port = instance.port();
    m_baseUrl = instance.baseUrl();
    m_ready.release();
    exec();
}
