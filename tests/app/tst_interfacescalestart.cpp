// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The scale asked for with --scale is the size of the window, text and frames together, on
// top of what the display asks for, and it is kept for later starts; a factor that cannot be
// drawn is refused and changes nothing.
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
            int width;                  // of the window's picture; 0: the start is refused
            QString displayFactor = {}; // what the environment asks for besides
        };
        const QList<Start> starts{
            {{u"--scale"_s, u"1.5"_s}, 480}, {{}, 480}, {{u"--scale=3"_s}, 0},
            {{u"--scale=nan"_s}, 0},         {{}, 480}, {{u"--scale"_s, u"1.5"_s}, 960, u"2"_s},
            {{u"--scale"_s, u"1"_s}, 320}};
        for (qsizetype i = 0; i < starts.size(); ++i) {
            const Start &start = starts.at(i);
            QProcess app;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char *place : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
                environment.insert(QString::fromLatin1(place),
                                   home.filePath(QString::fromLatin1(place)));
            environment.insert(u"QT_SCALE_FACTOR"_s, start.displayFactor);
            app.setProcessEnvironment(environment);
            app.setProcessChannelMode(QProcess::MergedChannels);
            const QString shot = home.filePath(u"start%1.png"_s.arg(i));
            app.start(QStringLiteral(RV_PATIENT_EXE),
                      start.arguments +
                          QStringList{u"--service"_s, u"127.0.0.1:9"_s, u"--screenshot"_s, shot});
            QVERIFY(app.waitForFinished(30000));
            const QByteArray output = app.readAll();
            QVERIFY2(app.exitCode() == (start.width ? 0 : 2), output.constData());
            QCOMPARE(QImage(shot).width(), start.width);
        }
    }
};

QTEST_GUILESS_MAIN(TestInterfaceScaleStart)
#include "tst_interfacescalestart.moc"
