// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// Prints the cost of the service client beside the bare libraries it stands on:
//  1. one synchronous enciphered user transaction with a 2 KB reply, beside a bare
//     QNetworkAccessManager POST of the same bytes to the same loopback service over a
//     connection it keeps open, plus bare EVP enciphering the request and deciphering the
//     reply (the work any client of this service must do);
//  2. enciphering 4 KB messages to hexadecimal, beside a bare OpenSSL EVP loop.
#include "fakeservice.h"
#include "protocols/rvcipher.h"
#include "protocols/rvhttpexchange.h"
#include "protocols/rvloginvalues.h"
#include "protocols/rvprotocol.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>

#include <openssl/evp.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace
{

const QString key = u"00112233445566778899aabbccddeeff0011223344556677"_s;

// Bare Triple-DES over the given bytes, as the client must run it once per direction.
void bareCipher(const QByteArray &keyBytes, const QByteArray &in, bool encrypt)
{
    std::vector<unsigned char> out(size_t(in.size()) + 16);
    EVP_CIPHER_CTX *ctx = EVP_CIPHER_CTX_new();
    int n = 0;
    int tail = 0;
    EVP_CipherInit_ex(ctx, EVP_des_ede3_ecb(), nullptr,
                      reinterpret_cast<const unsigned char *>(keyBytes.constData()), nullptr,
                      encrypt ? 1 : 0);
    EVP_CipherUpdate(ctx, out.data(), &n, reinterpret_cast<const unsigned char *>(in.constData()),
                     int(in.size()));
    EVP_CipherFinal_ex(ctx, out.data() + n, &tail);
    EVP_CIPHER_CTX_free(ctx);
}

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

template <class F> std::vector<double> sample(int count, F &&work)
{
    std::vector<double> out;
    out.reserve(count);
    for (int i = 0; i < count; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        out.push_back(double(timer.nsecsElapsed()) / 1000.0);
    }
    return out;
}

QByteArray twoKilobyteReply()
{
    QJsonArray list;
    // About 2 KB of reply text before enciphering.
    while (QJsonDocument(list).toJson(QJsonDocument::Compact).size() < 1900)
        list.append(QJsonObject{{u"yymc"_s, u"第一人民医院"_s}, {u"yylsh"_s, u"20261207001"_s}});
    const QJsonObject reply{{u"head"_s, QJsonObject{{u"succflag"_s, u"0"_s}}},
                            {u"body"_s, QJsonObject{{u"list"_s, list}}}};
    return RVCipher::encipherToHex(
               QString::fromUtf8(QJsonDocument(reply).toJson(QJsonDocument::Compact)), key)
        ->toLatin1();
}

void transactionBenchmark()
{
    const QByteArray reply = twoKilobyteReply();
    FakeService service([&](const FakeService::Request &) {
        return FakeService::Response{200, reply};
    });
    const quint16 port = service.startThreaded();
    RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, port);
    RVLoginValues::set(u"bench"_s, key);

    // The same form bytes the client sends, for the bare POST.
    RVProtocol probe;
    probe.reserationHistoryListWithTime({}, u"1"_s, u"13800000000"_s);
    const QByteArray form = service.lastRequest().body;

    const QUrl url = RVProtocol::serviceEndpoint();
    const QByteArray keyBytes = *RVCipher::keyToBytes(key);
    const QString sentHex = QString::fromUtf8(form.mid(form.indexOf("&bwnr=") + 6));
    const QByteArray requestPlain = RVCipher::decipherFromHex(sentHex, key)->toUtf8();
    const QByteArray replyCipher = QByteArray::fromHex(reply);
    auto clientCall = [] {
        RVProtocol().reserationHistoryListWithTime({}, u"1"_s, u"13800000000"_s);
    };
    QNetworkAccessManager manager; // kept: the bare side reuses its connection too
    auto barePost = [&] {
        bareCipher(keyBytes, requestPlain, true);
        QNetworkRequest request(url);
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          QByteArrayLiteral("application/x-www-form-urlencoded"));
        QEventLoop loop;
        QNetworkReply *r = manager.post(request, form);
        QObject::connect(r, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        r->readAll();
        delete r;
        bareCipher(keyBytes, replyCipher, false);
    };
    auto exchangeOnly = [&] { RVHttpExchange::postBlocking(url, form); };

    // Interleaved, so that drifting load on the machine weighs on all three alike.
    const int rounds = 600;
    std::vector<double> clientTimes;
    std::vector<double> bareTimes;
    std::vector<double> exchangeTimes;
    sample(20, clientCall);
    sample(20, barePost);
    for (int i = 0; i < rounds; ++i) {
        clientTimes.push_back(sample(1, clientCall).front());
        bareTimes.push_back(sample(1, barePost).front());
        exchangeTimes.push_back(sample(1, exchangeOnly).front());
    }
    const double client = median(clientTimes);
    const double bare = median(bareTimes);
    const double exchange = median(exchangeTimes);
    std::printf("transaction C002 (2 KB reply): client %.1f us, bare reused-connection QNAM POST "
                "+ EVP both ways %.1f us, ratio %.3f (goal <= 1.15); the client's HTTP exchange "
                "alone %.1f us\n",
                client, bare, client / bare, exchange);
}

void cipherBenchmark()
{
    QString message;
    while (message.toUtf8().size() < 4096)
        message += u"{\"yhm\":\"张三\",\"mm\":\"secret\"},"_s;
    message.truncate(message.size() - (message.toUtf8().size() - 4096));
    const QByteArray bytes = message.toUtf8();
    const QByteArray keyBytes = *RVCipher::keyToBytes(key);
    const int rounds = 3000;

    const double ours =
        median(sample(rounds, [&] { (void)RVCipher::encipherToHex(message, key); }));
    std::vector<unsigned char> out(bytes.size() + 16);
    const double bare = median(sample(rounds, [&] {
        EVP_CIPHER_CTX *ctx = EVP_CIPHER_CTX_new();
        int n = 0;
        int tail = 0;
        EVP_EncryptInit_ex(ctx, EVP_des_ede3_ecb(), nullptr,
                           reinterpret_cast<const unsigned char *>(keyBytes.constData()), nullptr);
        EVP_EncryptUpdate(ctx, out.data(), &n,
                          reinterpret_cast<const unsigned char *>(bytes.constData()),
                          int(bytes.size()));
        EVP_EncryptFinal_ex(ctx, out.data() + n, &tail);
        EVP_CIPHER_CTX_free(ctx);
    }));
    std::printf("encipher 4 KB to hex: ours %.1f us (%.1f MB/s), bare EVP %.1f us (%.1f MB/s), "
                "throughput ratio %.3f (goal >= 0.8)\n",
                ours, bytes.size() / ours, bare, bytes.size() / bare, bare / ours);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    transactionBenchmark();
    cipherBenchmark();
    return 0;
}
