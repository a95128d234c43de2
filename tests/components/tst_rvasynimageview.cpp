// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvasynimageview.h"
#include "components/rvimageloader.h"
#include "imageserver.h"

#include "protocols/rvhttpexchange.h"
#include "toolkit/application.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>

using namespace Qt::StringLiterals;
using Mode = ImageServer::Mode;

Q_DECLARE_METATYPE(ImageServer::Response)

namespace
{

QByteArray png(const QColor &color)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QColor shownColor(const RVAsynImageView &view)
{
    const QImage image = view.image().toImage();
    return image.isNull() ? QColor() : image.pixelColor(0, 0);
}

QStringList cacheEntries()
{
    return QDir(RVAsynImageView::cacheDirectory())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestRVAsynImageView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void cacheHitMakesNoRequest();
    void downloadFillsTheCacheSharedByLastPiece();
    void sameUrlAgainKeepsThePicture();
    void urlEndingWithSlash();
    void failureThenSuccess_data();
    void failureThenSuccess();
    void interruptedDownloadsLeaveNoFile();
    void refusedBodies_data();
    void refusedBodies();
    void unusableAddresses_data();
    void unusableAddresses();
    void newerUrlDuringDownload();
    void endedConnectionIsAskedOncePerAttempt_data();
    void endedConnectionIsAskedOncePerAttempt();
    void downloadBesideBlockingExchange();
    void oneRequestPerAddress_data();
    void oneRequestPerAddress();
    void picturesKeepTheirProportions_data();
    void picturesKeepTheirProportions();

private:
    std::unique_ptr<RVAsynImageView> makeView();

    std::unique_ptr<ImageServer> m_server;
    const ui::Image m_placeholder = ui::Image::imageWithData(png(Qt::gray));
};

void TestRVAsynImageView::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(RVAsynImageView::cacheDirectory().endsWith(u"/DoctorImage"_s));
}

void TestRVAsynImageView::init()
{
    QDir(RVAsynImageView::cacheDirectory()).removeRecursively();
    RVImageLoader::shared().removeAllCachedImages();
    RVImageLoader::shared().setRestartPolicy({3, std::chrono::milliseconds(10)});
    m_server = std::make_unique<ImageServer>();
    QVERIFY(m_server->listen());
}

void TestRVAsynImageView::cleanup()
{
    m_server.reset();
    QDir(RVAsynImageView::cacheDirectory()).removeRecursively();
}

std::unique_ptr<RVAsynImageView> TestRVAsynImageView::makeView()
{
    auto view = std::make_unique<RVAsynImageView>(QRectF(5, 5, 60, 85));
    view->setPlaceholderImage(m_placeholder);
    return view;
}

void TestRVAsynImageView::cacheHitMakesNoRequest()
{
    QVERIFY(QDir().mkpath(RVAsynImageView::cacheDirectory()));
    QFile file(RVAsynImageView::cacheDirectory() + u"/1234.jpg"_s);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(png(Qt::red));
    file.close();

    auto view = makeView();
    view->setImageURL(m_server->urlFor(u"/any/where/1234.jpg"_s));
    QCOMPARE(view->fileName(), file.fileName());
    QCOMPARE(shownColor(*view), QColor(Qt::red));
    QVERIFY(!view->isLoading());
    QVERIFY(!ui::Application::isNetworkActivityIndicatorVisible());
    QCoreApplication::processEvents();
    QVERIFY(m_server->requests().isEmpty());
}

void TestRVAsynImageView::downloadFillsTheCacheSharedByLastPiece()
{
    const QByteArray body = png(Qt::green);
    m_server->setResponse(u"/photos/7.png"_s, {body});
    auto first = makeView();
    QSignalSpy loaded(first.get(), &RVAsynImageView::imageLoaded);
    first->setImageURL(m_server->urlFor(u"/photos/7.png"_s));
    QVERIFY(first->image() == m_placeholder);
    QVERIFY(first->isLoading());
    QVERIFY(ui::Application::isNetworkActivityIndicatorVisible());

    QVERIFY(loaded.wait());
    QCOMPARE(shownColor(*first), QColor(Qt::green));
    QVERIFY(!first->isLoading());
    QVERIFY(!ui::Application::isNetworkActivityIndicatorVisible());
    QFile file(RVAsynImageView::cacheDirectory() + u"/7.png"_s);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), body);
    QCOMPARE(cacheEntries(), QStringList{u"7.png"_s});

    // Another host and path with the same last piece: the file answers, not the network.
    auto second = makeView();
    second->setImageURL(u"http://127.0.0.1:1/elsewhere/7.png"_s);
    QCOMPARE(shownColor(*second), QColor(Qt::green));
    QVERIFY(!second->isLoading());
    QCOMPARE(m_server->requests(), QStringList{u"/photos/7.png"_s});
}

void TestRVAsynImageView::sameUrlAgainKeepsThePicture()
{
    m_server->setResponse(u"/a/8.png"_s, {png(Qt::blue)});
    auto view = makeView();
    QSignalSpy loaded(view.get(), &RVAsynImageView::imageLoaded);
    const QString url = m_server->urlFor(u"/a/8.png"_s);
    view->setImageURL(url);
    // Set again while the download runs: no second connection.
    view->setImageURL(url);
    QVERIFY(loaded.wait());
    view->setImageURL(url);
    QCOMPARE(shownColor(*view), QColor(Qt::blue));
    QCOMPARE(m_server->requestCount(u"/a/8.png"_s), 1);
    QCOMPARE(loaded.count(), 1);
}

void TestRVAsynImageView::urlEndingWithSlash()
{
    auto view = makeView();
    view->setImageURL(m_server->urlFor(u"/photos/"_s));
    // The last piece is empty: the name is the directory itself, which exists, so nothing is
    // downloaded and reading a directory as a picture gives none.
    QCOMPARE(view->fileName(), RVAsynImageView::cacheDirectory() + u"/"_s);
    QVERIFY(!view->isLoading());
    QVERIFY(view->image().isNull());
    QCoreApplication::processEvents();
    QVERIFY(m_server->requests().isEmpty());
    QVERIFY(cacheEntries().isEmpty());
}

void TestRVAsynImageView::failureThenSuccess_data()
{
    QTest::addColumn<ImageServer::Response>("failure");

    QTest::newRow("server error") << ImageServer::Response{"oops", 500};
    QTest::newRow("not found page") << ImageServer::Response{"<html>missing</html>", 404};
    QTest::newRow("connection closed") << ImageServer::Response{{}, 200, Mode::CloseAtOnce};
    QTest::newRow("cut off halfway") << ImageServer::Response{png(Qt::red), 200, Mode::DropHalfway};
}

void TestRVAsynImageView::failureThenSuccess()
{
    QFETCH(ImageServer::Response, failure);
    m_server->setResponses(u"/p/9.png"_s, {failure, failure, {png(Qt::yellow)}});
    auto view = makeView();
    QSignalSpy loaded(view.get(), &RVAsynImageView::imageLoaded);
    QSignalSpy failed(view.get(), &RVAsynImageView::imageLoadFailed);
    view->setImageURL(m_server->urlFor(u"/p/9.png"_s));

    QVERIFY(loaded.wait());
    QCOMPARE(m_server->requestCount(u"/p/9.png"_s), 3);
    QCOMPARE(failed.count(), 0);
    QCOMPARE(shownColor(*view), QColor(Qt::yellow));
    QCOMPARE(cacheEntries(), QStringList{u"9.png"_s});
}

void TestRVAsynImageView::interruptedDownloadsLeaveNoFile()
{
    m_server->setResponse(u"/p/10.png"_s, {png(Qt::red), 200, Mode::DropHalfway});
    auto view = makeView();
    QSignalSpy failed(view.get(), &RVAsynImageView::imageLoadFailed);
    view->setImageURL(m_server->urlFor(u"/p/10.png"_s));

    QVERIFY(failed.wait());
    // The first attempt and three restarts, then the view gives up.
    QCOMPARE(m_server->requestCount(u"/p/10.png"_s), 4);
    QVERIFY(!view->isLoading());
    QVERIFY(!view->isRestartPending());
    QVERIFY(!ui::Application::isNetworkActivityIndicatorVisible());
    QVERIFY(view->image() == m_placeholder);
    QVERIFY(cacheEntries().isEmpty()); // not even a temporary file

    // Asking again later makes a fresh round of attempts.
    m_server->setResponse(u"/p/10.png"_s, {png(Qt::cyan)});
    QSignalSpy loaded(view.get(), &RVAsynImageView::imageLoaded);
    view->setImageURL(view->imageURL());
    QVERIFY(loaded.wait());
    QCOMPARE(shownColor(*view), QColor(Qt::cyan));
}

void TestRVAsynImageView::refusedBodies_data()
{
    QTest::addColumn<ImageServer::Response>("response");

    const QByteArray huge(RVImageDownload::kMaxDownloadBytes + 1, 'x');
    QTest::newRow("not a picture") << ImageServer::Response{"<html>hello</html>"};
    QTest::newRow("empty body") << ImageServer::Response{""};
    QTest::newRow("cut picture, no length")
        << ImageServer::Response{png(Qt::red).left(40), 200, Mode::NoContentLength};
    QTest::newRow("over 8 MiB announced") << ImageServer::Response{huge};
    QTest::newRow("over 8 MiB unannounced")
        << ImageServer::Response{huge, 200, Mode::NoContentLength};
}

void TestRVAsynImageView::refusedBodies()
{
    QFETCH(ImageServer::Response, response);
    m_server->setResponse(u"/p/11.png"_s, response);
    auto view = makeView();
    QSignalSpy failed(view.get(), &RVAsynImageView::imageLoadFailed);
    view->setImageURL(m_server->urlFor(u"/p/11.png"_s));

    QVERIFY(failed.wait());
    QCOMPARE(m_server->requestCount(u"/p/11.png"_s), 1); // refused, not restarted
    QVERIFY(!view->isLoading());
    QVERIFY(!view->isRestartPending());
    QVERIFY(view->image() == m_placeholder);
    QVERIFY(cacheEntries().isEmpty());
}

void TestRVAsynImageView::unusableAddresses_data()
{
    QTest::addColumn<QString>("url");

    QTest::newRow("local file") << u"file:///etc/hosts.png"_s;
    QTest::newRow("other scheme") << u"ftp://127.0.0.1/12.png"_s;
    QTest::newRow("no host") << u"http:///12.png"_s;
}

void TestRVAsynImageView::unusableAddresses()
{
    QFETCH(QString, url);
    auto view = makeView();
    QSignalSpy failed(view.get(), &RVAsynImageView::imageLoadFailed);
    view->setImageURL(url);
    QCOMPARE(failed.count(), 1);
    QVERIFY(!view->isLoading());
    QVERIFY(view->image() == m_placeholder);
    QVERIFY(cacheEntries().isEmpty());
}

void TestRVAsynImageView::newerUrlDuringDownload()
{
    m_server->setResponse(u"/slow/a.png"_s, {png(Qt::red), 200, Mode::StallHalfway, 0, 400});
    m_server->setResponse(u"/fast/b.png"_s, {png(Qt::green)});
    auto view = makeView();
    QSignalSpy loaded(view.get(), &RVAsynImageView::imageLoaded);
    QSignalSpy requested(m_server.get(), &ImageServer::requestReceived);
    view->setImageURL(m_server->urlFor(u"/slow/a.png"_s));
    QVERIFY(requested.wait());

    view->setImageURL(m_server->urlFor(u"/fast/b.png"_s));
    QVERIFY(view->image() == m_placeholder);
    QVERIFY(loaded.wait());
    QCOMPARE(shownColor(*view), QColor(Qt::green));
    // The older download is no longer this view's: it ends in its own file only.
    QTRY_COMPARE(cacheEntries(), QStringList({u"a.png"_s, u"b.png"_s}));
    QCOMPARE(loaded.count(), 1);
    QCOMPARE(shownColor(*view), QColor(Qt::green));
}

void TestRVAsynImageView::endedConnectionIsAskedOncePerAttempt_data()
{
    QTest::addColumn<ImageServer::Response>("response");
    QTest::addColumn<bool>("loaded");

    // Each attempt is one request: the network layer never asks again by itself, so the
    // number of requests is the view's own count of attempts.
    QTest::newRow("closed without an answer")
        << ImageServer::Response{{}, 200, Mode::CloseAtOnce} << false;
    QTest::newRow("cut picture, no length")
        << ImageServer::Response{png(Qt::red).left(40), 200, Mode::NoContentLength} << false;
    QTest::newRow("whole picture, no length")
        << ImageServer::Response{png(Qt::red), 200, Mode::NoContentLength} << true;
    QTest::newRow("cut off halfway")
        << ImageServer::Response{png(Qt::red), 200, Mode::DropHalfway} << false;
}

void TestRVAsynImageView::endedConnectionIsAskedOncePerAttempt()
{
    QFETCH(ImageServer::Response, response);
    QFETCH(bool, loaded);
    m_server->setResponse(u"/p/13.png"_s, response);
    auto view = makeView();
    RVImageLoader::shared().setRestartPolicy({0, std::chrono::milliseconds(0)});
    QSignalSpy succeeded(view.get(), &RVAsynImageView::imageLoaded);
    QSignalSpy failed(view.get(), &RVAsynImageView::imageLoadFailed);
    view->setImageURL(m_server->urlFor(u"/p/13.png"_s));
    QTRY_COMPARE(succeeded.count() + failed.count(), 1);
    QCOMPARE(succeeded.count(), loaded ? 1 : 0);
    QTest::qWait(100); // a request sent again would arrive now
    QCOMPARE(m_server->requestCount(u"/p/13.png"_s), 1);
    QCOMPARE(view->image() == m_placeholder, !loaded);
}

void TestRVAsynImageView::downloadBesideBlockingExchange()
{
    // A slow photograph must not hold up a service exchange made meanwhile on a worker.
    m_server->setResponse(u"/slow/14.png"_s, {png(Qt::blue), 200, Mode::StallHalfway, 0, 1500});
    m_server->setResponse(u"/service"_s, {"answer"});
    auto view = makeView();
    QSignalSpy loaded(view.get(), &RVAsynImageView::imageLoaded);
    QSignalSpy requested(m_server.get(), &ImageServer::requestReceived);
    view->setImageURL(m_server->urlFor(u"/slow/14.png"_s));
    QVERIFY(requested.wait());

    std::atomic<bool> finished{false};
    RVHttpExchange::Result result;
    std::thread worker([&] {
        result = RVHttpExchange::postBlocking(QUrl(m_server->urlFor(u"/service"_s)), "form");
        finished = true;
    });
    QTRY_VERIFY(finished.load());
    worker.join();
    QVERIFY(view->isLoading()); // the photograph is still on its way
    QVERIFY(!result.transportError);
    QCOMPARE(result.statusCode, 200);
    QCOMPARE(result.body, QByteArray("answer"));

    QVERIFY(loaded.wait());
    QCOMPARE(shownColor(*view), QColor(Qt::blue));
}

void TestRVAsynImageView::oneRequestPerAddress_data()
{
    QTest::addColumn<bool>("rebuilt");
    QTest::newRow("views at once") << false;
    QTest::newRow("each view gone before the next asks") << true;
}

void TestRVAsynImageView::oneRequestPerAddress()
{
    QFETCH(bool, rebuilt);
    const QString url = m_server->urlFor(u"/p/15.png"_s);
    m_server->setResponse(u"/p/15.png"_s, {png(Qt::magenta), 200, Mode::Normal, 400});
    std::vector<std::unique_ptr<RVAsynImageView>> views;
    for (int i = 0; i < 4; ++i) {
        if (rebuilt)
            views.clear();
        views.push_back(makeView());
        views.back()->setImageURL(url);
        QTest::qWait(50); // time for a request of its own to reach the service
    }
    for (const auto &view : views)
        QTRY_COMPARE(shownColor(*view), QColor(Qt::magenta));
    QCOMPARE(m_server->requestCount(u"/p/15.png"_s), 1);
    // Later views are served from memory, even with the file gone.
    QDir(RVAsynImageView::cacheDirectory()).removeRecursively();
    auto later = makeView();
    later->setImageURL(url);
    QCOMPARE(shownColor(*later), QColor(Qt::magenta));
    QCOMPARE(m_server->requestCount(u"/p/15.png"_s), 1);
}

void TestRVAsynImageView::picturesKeepTheirProportions_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::newRow("wide") << QSize(200, 100);
    QTest::newRow("tall") << QSize(100, 300);
    QTest::newRow("the frame's proportion") << QSize(120, 170);
}

void TestRVAsynImageView::picturesKeepTheirProportions()
{
    // A green square in the middle of a red picture: it stays square, and the picture covers
    // the whole frame (no grey bands).
    QFETCH(QSize, picture);
    QImage image(picture, QImage::Format_RGB32);
    image.fill(Qt::red);
    const int side = std::min(picture.width(), picture.height()) / 2;
    QPainter(&image).fillRect(
        QRect(QPoint(), QSize(side, side))
            .translated((picture.width() - side) / 2, (picture.height() - side) / 2),
        Qt::green);
    QVERIFY(QDir().mkpath(RVAsynImageView::cacheDirectory()));
    QVERIFY(image.save(RVAsynImageView::cacheDirectory() + u"/16.png"_s));
    auto view = makeView();
    view->setImageURL(u"http://127.0.0.1:1/16.png"_s);
    const QImage shot = view->grab().toImage();
    const auto green = [&shot](int x, int y) { return shot.pixelColor(x, y).green() > 200; };
    int width = 0, height = 0;
    for (int x = 0; x < shot.width(); ++x)
        width += green(x, shot.height() / 2);
    for (int y = 0; y < shot.height(); ++y)
        height += green(shot.width() / 2, y);
    QVERIFY2(std::abs(width - height) <= 2, qPrintable(u"%1 x %2"_s.arg(width).arg(height)));
    const int inside = int(4 * shot.devicePixelRatio());
    QCOMPARE(shot.pixelColor(inside, inside), QColor(Qt::red));
}

QTEST_MAIN(TestRVAsynImageView)
#include "tst_rvasynimageview.moc"
