// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "benchservice.h"

#include "service/rvservicehttplistener.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cstdio>

using namespace Qt::StringLiterals;

BenchService::~BenchService()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10'000))
        m_process.kill();
    m_process.waitForFinished(5'000);
}

void BenchService::start(const QString &program, const QStringList &arguments)
{
    m_log.open();
    m_process.setStandardErrorFile(m_log.fileName());
    m_process.start(program, arguments);
}

void BenchService::startService(const QString &program, const QString &database,
                                const QStringList &options)
{
    start(program, QStringList{u"--listen"_s, u"127.0.0.1:0"_s, u"--db"_s, database} + options);
}

void BenchService::startBare(const QString &benchProgram)
{
    start(benchProgram, {u"--bare-server"_s});
}

bool BenchService::waitForPort()
{
    if (!m_process.waitForStarted(10'000))
        return false;
    static const QRegularExpression listening(u"listening on http://127\\.0\\.0\\.1:(\\d+)"_s);
    while (m_port == 0 && (m_process.canReadLine() || m_process.waitForReadyRead(60'000))) {
        const auto match = listening.match(QString::fromUtf8(m_process.readLine()));
        if (match.hasMatch())
            m_port = match.captured(1).toUShort();
    }
    return m_port != 0;
}

QString BenchService::errorText()
{
    m_log.seek(std::max<qint64>(0, m_log.size() - 2000));
    return QString::fromUtf8(m_log.readAll());
}

int BenchService::runBareServer()
{
    const RVServiceHttpConnection::Handler reply = [](const RVServiceHttpRequest &) {
        RVServiceHttpResponse response;
        response.contentType = "application/json; charset=utf-8";
        response.body = R"({"head":{"succflag":"0","retmsg":"ok"},"body":{}})";
        return response;
    };
    RVServiceHttpListener listener(RVServiceHttpLimits{}, reply);
    if (!listener.listen(QHostAddress::LocalHost, 0))
        return 1;
    std::printf("bare listening on http://127.0.0.1:%d\n", listener.serverPort());
    std::fflush(stdout);
    return QCoreApplication::exec();
}
