// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvhttpexchange.h"

#include "platform/mainthread.h"
#include "protocols/rvnetworkforwarder.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <mutex>

using namespace Qt::StringLiterals;

namespace
{

std::atomic<int> timeoutSetting{30000};

// Collects one transfer for a caller that waits for it.
class BlockingSink final : public RVNetworkLayer::Sink
{
public:
    void response(int statusCode, const QString &headers) override
    {
        std::lock_guard lock(m_mutex);
        m_status = statusCode;
        m_headers = headers;
        m_body.clear(); // a later response replaces an earlier one
    }
    void data(const QByteArray &bytes) override
    {
        std::lock_guard lock(m_mutex);
        m_body += bytes;
    }
    void end(const RVNetworkLayer::Failure &failure) override
    {
        std::lock_guard lock(m_mutex);
        m_failure = failure;
        m_done = true;
        m_condition.notify_all();
        if (m_wake)
            m_wake();
    }

    // Runs (on the layer's thread, once) when the transfer ends; set before it starts.
    void setWake(std::function<void()> wake) { m_wake = std::move(wake); }
    bool done()
    {
        std::lock_guard lock(m_mutex);
        return m_done;
    }
    void wait()
    {
        std::unique_lock lock(m_mutex);
        m_condition.wait(lock, [this] { return m_done; });
    }
    RVHttpExchange::Result result()
    {
        std::lock_guard lock(m_mutex);
        RVHttpExchange::Result r;
        r.headers = m_headers;
        if (m_failure || m_status == 0) {
            r.transportError = true;
            const auto kind = m_failure ? m_failure.kind : RVNetworkLayer::FailureKind::Other;
            r.errorDescription = RVNetworkLayer::userMessage(kind);
            r.errorDetail = m_failure ? m_failure.detail : u"no response"_s;
        } else {
            r.statusCode = m_status;
            r.body = m_body;
        }
        return r;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_condition;
    std::function<void()> m_wake;
    bool m_done = false;
    int m_status = 0;
    QString m_headers;
    QByteArray m_body;
    RVNetworkLayer::Failure m_failure;
};

} // namespace

RVHttpExchange::RVHttpExchange(QObject *parent) : QObject(parent) {}

RVHttpExchange::~RVHttpExchange()
{
    cancel();
}

int RVHttpExchange::timeoutMs()
{
    return timeoutSetting.load();
}

void RVHttpExchange::setTimeoutMsForTests(int ms)
{
    timeoutSetting.store(ms > 0 ? ms : 30000);
}

RVNetworkLayer::Request RVHttpExchange::formRequest(const QUrl &url, const QByteArray &body,
                                                    Resend resend)
{
    RVNetworkLayer::Request request;
    request.method = RVNetworkLayer::Method::Post;
    request.url = url;
    request.body = body;
    // The phone platform adds this content type to every posted body; nothing else is ours.
    request.headers = {{"Content-Type", "application/x-www-form-urlencoded"}};
    request.idleTimeoutMs = timeoutMs();
    request.maxBodyBytes = maxReplyBytes;
    request.resend = resend;
    return request;
}

RVHttpExchange::Result RVHttpExchange::postBlocking(const QUrl &url, const QByteArray &body,
                                                    Resend resend, RVNetworkLayer *layer)
{
    if (layer == nullptr)
        layer = RVNetworkLayer::defaultLayer();
    auto sink = std::make_shared<BlockingSink>();
    if (!platform::MainThread::isMainThread()) {
        layer->start(formRequest(url, body, resend), sink);
        sink->wait();
        return sink->result();
    }
    // The main thread keeps its event loop turning: the interface repaints, and a service
    // living on this thread (in tests) can answer.
    QEventLoop loop;
    QObject context;
    sink->setWake([&context, &loop] {
        QMetaObject::invokeMethod(
            &context, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    layer->start(formRequest(url, body, resend), sink);
    while (!sink->done())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return sink->result();
}

bool RVHttpExchange::start(const QUrl &url, const QByteArray &body, Resend resend)
{
    if (isRunning())
        return false;
    RVNetworkForwarder::Handlers handlers;
    m_responseSeen = false;
    handlers.response = [this](int status, const QString &headers) {
        m_responseSeen = true;
        Q_EMIT responseReceived(status, headers);
    };
    handlers.data = [this](const QByteArray &bytes) { Q_EMIT dataReceived(bytes); };
    handlers.end = [this](const RVNetworkLayer::Failure &failure) { onEnd(failure); };
    m_forwarder = std::make_shared<RVNetworkForwarder>(this, std::move(handlers));
    m_runningLayer = m_layer != nullptr ? m_layer : RVNetworkLayer::defaultLayer();
    m_transfer = m_runningLayer->start(formRequest(url, body, resend), m_forwarder);
    return true;
}

void RVHttpExchange::cancel()
{
    if (!isRunning())
        return;
    RVNetworkLayer *layer = m_runningLayer;
    const quint64 transfer = m_transfer;
    release();
    layer->cancel(transfer);
}

void RVHttpExchange::release()
{
    m_forwarder->detach();
    m_forwarder.reset();
    m_runningLayer = nullptr;
    m_transfer = 0;
}

void RVHttpExchange::onEnd(const RVNetworkLayer::Failure &failure)
{
    release();
    if (failure)
        Q_EMIT failed(RVNetworkLayer::userMessage(failure.kind), failure.detail);
    else if (!m_responseSeen)
        Q_EMIT failed(RVNetworkLayer::userMessage(RVNetworkLayer::FailureKind::Other),
                      u"ended without a response"_s);
    else
        Q_EMIT finished();
}
