// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvcurlnetworklayer.h"
#include "protocols/protocolslog.h"
#include "protocols/rvcurllibrary.h"
#include "protocols/rvserviceaddress.h"
#include "protocols/rvtlstrust.h"

#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;
using Clock = std::chrono::steady_clock;

struct RVCurlNetworkLayer::Transfer {
    quint64 id = 0;
    Request request;
    std::shared_ptr<Sink> sink;
    CURL *easy = nullptr;
    curl_slist *headers = nullptr;
    QByteArray url;
    qint64 readOffset = 0;
    int resends = 0;
    bool resendRefused = false;
    qint64 received = 0;
    bool tooLarge = false;
    QByteArray headerBlock;
    Clock::time_point lastActivity = Clock::now();
    curl_off_t lastUp = 0;
    curl_off_t lastDown = 0;
    char error[CURL_ERROR_SIZE] = {};

    ~Transfer();
    void touch() { lastActivity = Clock::now(); }
};

namespace
{

using Transfer = RVCurlNetworkLayer::Transfer;
using FailureKind = RVNetworkLayer::FailureKind;

// Transfers exist only once the layer runs, and it runs only with the library open.
const RVCurlLibrary &curl()
{
    return *RVCurlLibrary::instance();
}

QString headerText(const QByteArray &block)
{
    QStringList fields;
    for (const QByteArray &line : block.split('\n')) {
        const QByteArray field = line.trimmed();
        if (!field.isEmpty() && !field.startsWith("HTTP/"))
            fields << QString::fromLatin1(field);
    }
    return u"{"_s + fields.join(u"; "_s) + u"}"_s;
}

size_t readBody(char *buffer, size_t size, size_t count, void *user)
{
    auto *t = static_cast<Transfer *>(user);
    const qint64 left = t->request.body.size() - t->readOffset;
    const qint64 n = std::min<qint64>(left, qint64(size * count));
    if (n > 0) {
        std::memcpy(buffer, t->request.body.constData() + t->readOffset, size_t(n));
        t->readOffset += n;
        t->touch();
    }
    return size_t(n);
}

// libcurl rewinds the body only to send the request again (its connection broke); this is
// where the request's resend rule is kept.
int seekBody(void *user, curl_off_t offset, int origin)
{
    auto *t = static_cast<Transfer *>(user);
    if (origin != SEEK_SET || offset != 0)
        return CURL_SEEKFUNC_CANTSEEK;
    if (t->readOffset == 0)
        return CURL_SEEKFUNC_OK; // nothing of the body left yet
    if (t->request.resend == RVNetworkLayer::Resend::OnceOnStaleConnection && t->resends == 0 &&
        t->received == 0 && t->headerBlock.isEmpty()) {
        ++t->resends;
        t->readOffset = 0;
        return CURL_SEEKFUNC_OK;
    }
    t->resendRefused = true;
    return CURL_SEEKFUNC_CANTSEEK;
}

size_t onHeader(char *buffer, size_t size, size_t count, void *user)
{
    auto *t = static_cast<Transfer *>(user);
    const size_t n = size * count;
    const QByteArray line(buffer, qsizetype(n));
    t->touch();
    if (line.startsWith("HTTP/"))
        t->headerBlock.clear(); // a new response: an interim one or a redirection came before
    t->headerBlock += line;
    if (line == "\r\n" || line == "\n") {
        long status = 0;
        curl().easyGetinfo(t->easy, CURLINFO_RESPONSE_CODE, &status);
        if (status >= 200)
            t->sink->response(int(status), headerText(t->headerBlock));
    }
    return n;
}

size_t onData(char *buffer, size_t size, size_t count, void *user)
{
    auto *t = static_cast<Transfer *>(user);
    const size_t n = size * count;
    t->touch();
    t->received += qint64(n);
    if (t->received > t->request.maxBodyBytes) {
        t->tooLarge = true;
        return 0; // ends the transfer with a write error
    }
    t->sink->data(QByteArray(buffer, qsizetype(n)));
    return n;
}

int onProgress(void *user, curl_off_t, curl_off_t down, curl_off_t, curl_off_t up)
{
    auto *t = static_cast<Transfer *>(user);
    if (down != t->lastDown || up != t->lastUp) {
        t->lastDown = down;
        t->lastUp = up;
        t->touch();
    }
    return 0;
}

FailureKind kindOf(const Transfer &t, CURLcode code)
{
    if (t.tooLarge || code == CURLE_FILESIZE_EXCEEDED)
        return FailureKind::TooLarge;
    switch (code) {
    case CURLE_COULDNT_CONNECT:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return FailureKind::CannotConnect;
    case CURLE_OPERATION_TIMEDOUT:
        return FailureKind::TimedOut;
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_SEND_FAIL_REWIND:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
        return FailureKind::ConnectionLost;
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
        return FailureKind::BadAddress;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        return FailureKind::Untrusted;
    default:
        return FailureKind::Other;
    }
}

void configure(Transfer &t, long maxIdleSeconds)
{
    CURL *e = t.easy;
    t.url = t.request.url.toEncoded();
    curl().easySetopt(e, CURLOPT_URL, t.url.constData());
    curl().easySetopt(e, CURLOPT_PRIVATE, &t);
    curl().easySetopt(e, CURLOPT_NOSIGNAL, 1L);
    curl().easySetopt(e, CURLOPT_ERRORBUFFER, t.error);
    curl().easySetopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    // A redirection never steps down from HTTPS to plain HTTP.
    curl().easySetopt(e, CURLOPT_REDIR_PROTOCOLS_STR,
                      t.request.url.scheme() == u"https"_s ? "https" : "http,https");
    curl().easySetopt(e, CURLOPT_PROXY, ""); // never a proxy from the environment
    // The defaults, said out loud: the service proves who it is before a byte is sent.
    curl().easySetopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    curl().easySetopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    curl().easySetopt(e, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2));
    curl().easySetopt(e, CURLOPT_HEADERFUNCTION, onHeader);
    curl().easySetopt(e, CURLOPT_HEADERDATA, &t);
    curl().easySetopt(e, CURLOPT_WRITEFUNCTION, onData);
    curl().easySetopt(e, CURLOPT_WRITEDATA, &t);
    curl().easySetopt(e, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl().easySetopt(e, CURLOPT_XFERINFODATA, &t);
    curl().easySetopt(e, CURLOPT_NOPROGRESS, 0L);
    curl().easySetopt(e, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(t.request.maxBodyBytes));
    curl().easySetopt(e, CURLOPT_FOLLOWLOCATION, t.request.followRedirects ? 1L : 0L);
    curl().easySetopt(e, CURLOPT_MAXREDIRS, 5L);
    curl().easySetopt(e, CURLOPT_MAXAGE_CONN, maxIdleSeconds);
    if (t.request.method == RVNetworkLayer::Method::Post) {
        curl().easySetopt(e, CURLOPT_POST, 1L);
        curl().easySetopt(e, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(t.request.body.size()));
        curl().easySetopt(e, CURLOPT_READFUNCTION, readBody);
        curl().easySetopt(e, CURLOPT_READDATA, &t);
        curl().easySetopt(e, CURLOPT_SEEKFUNCTION, seekBody);
        curl().easySetopt(e, CURLOPT_SEEKDATA, &t);
        // No "Expect: 100-continue" pause: the service answers only whole requests.
        t.headers = curl().slistAppend(t.headers, "Expect:");
    }
    for (const auto &[name, value] : std::as_const(t.request.headers))
        t.headers = curl().slistAppend(t.headers, QByteArray(name + ": " + value).constData());
    curl().easySetopt(e, CURLOPT_HTTPHEADER, t.headers);
}

} // namespace

RVCurlNetworkLayer::Transfer::~Transfer()
{
    if (easy != nullptr)
        curl().easyCleanup(easy);
    curl().slistFreeAll(headers);
}

RVCurlNetworkLayer::RVCurlNetworkLayer() : RVCurlNetworkLayer(Options{}) {}

RVCurlNetworkLayer::RVCurlNetworkLayer(const Options &options) : m_options(options) {}

RVCurlNetworkLayer::~RVCurlNetworkLayer()
{
    if (!m_running.load())
        return; // nothing ever started: no thread, no transfer, no library
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_curl->multiWakeup(m_multi);
    m_thread.join();
    const Failure shutDown{FailureKind::Other, u"the network layer was shut down"_s};
    endAll(shutDown);
    for (Command &command : m_commands) {
        if (command.add)
            command.add->sink->end(shutDown);
    }
    m_commands.clear();
    m_curl->multiCleanup(m_multi);
}

// The library, the connection cache and the thread come with the first transfer, not with the
// layer: the application's layer exists from start, and a run may send nothing at all (or
// quit before it does, when abortAll must not bring them up just to stop them).
bool RVCurlNetworkLayer::ensureRunning()
{
    std::call_once(m_startOnce, [this] {
        m_curl = RVCurlLibrary::instance();
        if (m_curl == nullptr)
            return;
        m_multi = m_curl->multiInit();
        m_curl->multiSetopt(m_multi, CURLMOPT_MAX_HOST_CONNECTIONS, m_options.maxHostConnections);
        m_curl->multiSetopt(m_multi, CURLMOPT_MAXCONNECTS, m_options.maxCachedConnections);
        // Before the thread: a wake-up from now on reaches its next wait.
        m_running.store(true);
        m_thread = std::thread([this] { run(); });
    });
    return m_running.load();
}

void RVCurlNetworkLayer::wakeUp()
{
    if (m_running.load())
        m_curl->multiWakeup(m_multi);
}

quint64 RVCurlNetworkLayer::start(const Request &request, std::shared_ptr<Sink> sink)
{
    if (!ensureRunning()) {
        sink->end({FailureKind::Other, u"libcurl could not be opened"_s});
        return m_nextId.fetch_add(1);
    }
    if (const QString refusal = RVServiceAddress::plainHttpRefusal(request.url);
        !refusal.isEmpty()) {
        qCWarning(lcNetwork).noquote() << refusal;
        sink->end({FailureKind::Unencrypted, refusal});
        return m_nextId.fetch_add(1);
    }
    auto transfer = std::make_unique<Transfer>();
    transfer->id = m_nextId.fetch_add(1);
    transfer->request = request;
    transfer->sink = std::move(sink);
    const quint64 id = transfer->id;
    {
        std::lock_guard lock(m_mutex);
        m_commands.push_back({id, std::move(transfer)});
    }
    wakeUp();
    return id;
}

void RVCurlNetworkLayer::cancel(quint64 transfer)
{
    {
        std::lock_guard lock(m_mutex);
        m_commands.push_back({transfer, nullptr});
    }
    wakeUp();
}

void RVCurlNetworkLayer::run()
{
    for (;;) {
        takeCommands();
        {
            std::lock_guard lock(m_mutex);
            if (m_stopping)
                return;
        }
        int running = 0;
        m_curl->multiPerform(m_multi, &running);
        readMessages();
        expireIdle();
        m_curl->multiPoll(m_multi, nullptr, 0, pollTimeoutMs(), nullptr);
    }
}

void RVCurlNetworkLayer::abortAll()
{
    {
        std::lock_guard lock(m_mutex);
        m_aborting = true;
        m_commands.push_back({0, nullptr});
    }
    wakeUp();
}

void RVCurlNetworkLayer::takeCommands()
{
    std::deque<Command> commands;
    bool aborting = false;
    {
        std::lock_guard lock(m_mutex);
        commands.swap(m_commands);
        aborting = m_aborting;
    }
    const Failure aborted{FailureKind::Other, u"aborted: the application is quitting"_s};
    for (Command &command : commands) {
        if (command.add && aborting)
            command.add->sink->end(aborted);
        else if (command.add)
            add(std::move(command.add));
        else if (command.id == 0)
            endAll(aborted);
        else
            remove(command.id);
    }
}

void RVCurlNetworkLayer::add(std::unique_ptr<Transfer> transfer)
{
    transfer->easy = m_curl->easyInit();
    configure(*transfer, m_options.maxIdleSecondsBeforeReuse);
    if (QString error; !trustExtraCa(transfer->easy, &error)) {
        qCWarning(lcNetwork).noquote() << error;
        transfer->sink->end({FailureKind::Untrusted, error});
        return;
    }
    transfer->touch();
    m_curl->multiAddHandle(m_multi, transfer->easy);
    m_transfers.emplace(transfer->id, std::move(transfer));
}

// With a hospital's CA, the transfer trusts the system's bundle and that CA together (see
// RVTlsTrust); the joined bundle is read once for each CA file named.
bool RVCurlNetworkLayer::trustExtraCa(void *easy, QString *error)
{
    const QString extra = RVTlsTrust::extraCaFile();
    if (extra.isEmpty())
        return true;
    if (extra != m_caBundleFor) {
        char *systemBundle = nullptr;
        m_curl->easyGetinfo(easy, CURLINFO_CAINFO, &systemBundle);
        const auto bundle = RVTlsTrust::joinedBundle(
            systemBundle != nullptr ? QString::fromLocal8Bit(systemBundle) : QString(), error);
        if (!bundle)
            return false;
        m_caBundle = *bundle;
        m_caBundleFor = extra;
    }
    curl_blob blob{m_caBundle.data(), size_t(m_caBundle.size()), CURL_BLOB_COPY};
    if (m_curl->easySetopt(easy, CURLOPT_CAINFO_BLOB, &blob) == CURLE_OK)
        return true;
    *error = u"this libcurl cannot take a CA bundle in memory"_s;
    return false;
}

void RVCurlNetworkLayer::remove(quint64 id)
{
    const auto it = m_transfers.find(id);
    if (it == m_transfers.end())
        return;
    // A transfer stopped halfway leaves its connection unusable; libcurl closes it.
    m_curl->multiRemoveHandle(m_multi, it->second->easy);
    m_transfers.erase(it);
}

void RVCurlNetworkLayer::readMessages()
{
    int left = 0;
    while (CURLMsg *message = m_curl->multiInfoRead(m_multi, &left)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        Transfer *t = nullptr;
        curl().easyGetinfo(message->easy_handle, CURLINFO_PRIVATE, &t);
        const CURLcode code = message->data.result;
        long connects = 0;
        curl().easyGetinfo(t->easy, CURLINFO_NUM_CONNECTS, &connects);
        m_connectionsOpened.fetch_add(connects);
        Failure failure;
        if (code != CURLE_OK) {
            failure.kind = kindOf(*t, code);
            failure.detail =
                QString::fromUtf8(t->error[0] != 0 ? t->error : curl().easyStrerror(code));
            if (t->resendRefused)
                failure.detail += u" (not sent again: the service may have received it)"_s;
            qCInfo(lcNetwork).noquote()
                << t->request.url.toString() << u"failed:"_s << failure.detail;
        }
        qCDebug(lcNetwork) << "transfer" << t->id << "ended, code" << code << "new connections"
                           << connects << "resends" << t->resends;
        endTransfer(t->id, failure);
    }
}

void RVCurlNetworkLayer::endTransfer(quint64 id, const Failure &failure)
{
    const auto it = m_transfers.find(id);
    if (it == m_transfers.end())
        return;
    std::unique_ptr<Transfer> transfer = std::move(it->second);
    m_transfers.erase(it);
    m_curl->multiRemoveHandle(m_multi, transfer->easy);
    transfer->sink->end(failure);
}

void RVCurlNetworkLayer::endAll(const Failure &failure)
{
    std::vector<quint64> ids;
    ids.reserve(m_transfers.size());
    for (const auto &entry : m_transfers)
        ids.push_back(entry.first);
    for (const quint64 id : ids)
        endTransfer(id, failure);
}

void RVCurlNetworkLayer::expireIdle()
{
    const Clock::time_point now = Clock::now();
    std::vector<quint64> expired;
    for (const auto &[id, t] : m_transfers) {
        if (now - t->lastActivity >= std::chrono::milliseconds(t->request.idleTimeoutMs))
            expired.push_back(id);
    }
    for (const quint64 id : expired) {
        qCInfo(lcNetwork) << "transfer" << id << "timed out";
        endTransfer(id, {FailureKind::TimedOut, u"no data within the time-out"_s});
    }
}

int RVCurlNetworkLayer::pollTimeoutMs() const
{
    long curlWants = -1;
    m_curl->multiTimeout(m_multi, &curlWants);
    qint64 wait = curlWants >= 0 ? curlWants : 1000;
    const Clock::time_point now = Clock::now();
    for (const auto &[id, t] : m_transfers) {
        const auto due = t->lastActivity + std::chrono::milliseconds(t->request.idleTimeoutMs);
        const qint64 left =
            std::chrono::duration_cast<std::chrono::milliseconds>(due - now).count() + 1;
        wait = std::min(wait, std::max<qint64>(left, 0));
    }
    return int(std::clamp<qint64>(wait, 0, 1000));
}
