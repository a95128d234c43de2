// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The application quit while its automatic login waits on a service that accepted the
// connection and never answers: it must end promptly and cleanly, not wait out the exchange's
// 30-second time-out nor crash while its screens and worker are torn down.
class TestQuitDuringLoad : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void quitWhileTheAutomaticLoginWaits_data()
    {
        QTest::addColumn<bool>("listening");
        QTest::newRow("service accepts and never answers") << true;
        QTest::newRow("no service at all") << false;
    }

    void quitWhileTheAutomaticLoginWaits()
    {
        QFETCH(bool, listening);
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        QList<QTcpSocket *> held; // kept open, never answered
        int connections = 0;
        connect(&silent, &QTcpServer::newConnection, this, [&] {
            while (QTcpSocket *socket = silent.nextPendingConnection()) {
                ++connections;
                held.append(socket);
            }
        });
        const quint16 port = silent.serverPort();
        if (!listening)
            silent.close(); // refused at once: the quick failure path

        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QString configDir = home.filePath(u"rv/rv-patient"_s);
        QVERIFY(QDir().mkpath(configDir));
        QFile store(configDir + u"/userdefaults.json"_s);
        QVERIFY(store.open(QIODevice::WriteOnly));
        const QJsonObject saved{{u"LoginSuccess"_s, true},
                                {u"Password"_s, u"right"_s},
                                {u"UserInfo"_s, QJsonObject{{u"yhm"_s, u"li"_s}}}};
        store.write(QJsonDocument(saved).toJson());
        store.close();

        QProcess app;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_CONFIG_HOME"_s, home.path());
        // No bus: the saved password must never reach the keyring of the user running the tests.
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, u"unix:path=/nonexistent"_s);
        environment.insert(u"XDG_DATA_HOME"_s, home.filePath(u"data"_s));
        environment.insert(u"XDG_CACHE_HOME"_s, home.filePath(u"cache"_s));
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        app.setProcessEnvironment(environment);
        app.setProcessChannelMode(QProcess::MergedChannels);
        QElapsedTimer clock;
        clock.start();
        // The screenshot option quits about a second after start, while the login waits.
        app.start(QStringLiteral(RV_PATIENT_EXE),
                  {u"--service"_s, u"127.0.0.1:%1"_s.arg(port), u"--screenshot"_s,
                   home.filePath(u"shot.png"_s)});
        QVERIFY(app.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(app.state() == QProcess::NotRunning, 20000);
        const QByteArray output = app.readAll();
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QVERIFY2(app.exitCode() == 0, output.constData());
        QVERIFY2(!output.contains("Sanitizer"), output.constData());
        if (listening) {
            QCOMPARE(connections, 1); // the login was still waiting when the application quit
            QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
        }
        qDeleteAll(held);
    }
};

QTEST_GUILESS_MAIN(TestQuitDuringLoad)
#include "tst_quitduringload.moc"
