// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The scale asked for with --scale is the size of the window, text and frames together, and
// it is kept for later starts; a factor that cannot be drawn is refused and changes nothing.
class TestInterfaceScaleStart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keptAcrossStarts()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        struct Start {
            QStringList arguments;
            int width; // of the window's picture; 0: the start is refused
        };
        const QList<Start> starts{{{u"--scale"_s, u"1.5"_s}, 480},
                                  {{}, 480},
                                  {{u"--scale=3"_s}, 0},
                                  {{}, 480},
                                  {{u"--scale"_s, u"1"_s}, 320}};
        for (const Start &start : starts) {
            QProcess app;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(u"XDG_CONFIG_HOME"_s, home.path());
            environment.insert(u"XDG_DATA_HOME"_s, home.filePath(u"data"_s));
            environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
            environment.remove(u"QT_SCALE_FACTOR"_s);
            app.setProcessEnvironment(environment);
            app.setProcessChannelMode(QProcess::MergedChannels);
            const QString shot = home.filePath(u"shot.png"_s);
            QFile::remove(shot);
            app.start(QStringLiteral(RV_PATIENT_EXE),
                      start.arguments +
                          QStringList{u"--service"_s, u"127.0.0.1:9"_s, u"--screenshot"_s, shot});
            QVERIFY(app.waitForFinished(30000));
            const QString step = start.arguments.join(u' ');
            const QByteArray output = app.readAll();
            if (start.width == 0) {
                QVERIFY2(app.exitCode() == 2 && output.contains("--scale"), qPrintable(step));
                continue;
            }
            QVERIFY2(app.exitCode() == 0, output.constData());
            QCOMPARE(QImage(shot).width(), start.width);
        }
    }
};

QTEST_GUILESS_MAIN(TestInterfaceScaleStart)
#include "tst_interfacescalestart.moc"
