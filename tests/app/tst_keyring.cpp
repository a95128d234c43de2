// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/userdefaults.h"
#include "service/rvserviceseeder.h"
#include "service/rvservicethread.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// rv-patient on a private bus (with_private_bus.sh): with a keyring no file holds the password
// after a login, not even the one left by an earlier version; without, it stays in the file.
class TestKeyring : public QObject
{
    Q_OBJECT
    QTemporaryDir m_home;
    RVServiceThread m_service;
    const bool m_keyring = qgetenv("RV_EXPECT_KEYRING") == "1";
    const QString m_name = RVServiceSeeder::demoAccountName();
    const QString m_password = RVServiceSeeder::demoAccountPassword();
    const QString m_config = m_home.filePath(u"config/rv/rv-patient/userdefaults.json"_s);

    // The session key the automatic login saved, once it differs from the previous one (and,
    // with a keyring, the file let the password go); null when that did not come.
    QString startUntilLoggedIn(const QString &previousKey, QByteArray *output)
    {
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &place : {u"config"_s, u"data"_s, u"cache"_s})
            env.insert(u"XDG_%1_HOME"_s.arg(place.toUpper()), m_home.filePath(place));
        app.setProcessEnvironment(env);
        app.setProcessChannelMode(QProcess::MergedChannels);
        app.start(
            QStringLiteral(RV_PATIENT_EXE),
            {u"--service"_s, u"127.0.0.1:%1"_s.arg(m_service.port()), u"--no-update-check"_s});
        const auto key = [&] {
            const platform::UserDefaults saved(m_config);
            const QString now = saved.objectForKey(u"UserInfo"_s)[u"gzmy"_s].toString();
            const bool done = !now.isEmpty() && now != previousKey &&
                              (!m_keyring || saved.objectForKey(u"Password"_s).isUndefined());
            return done ? now : QString();
        };
        app.waitForStarted(10000);
        for (int wait = 0; wait < 600 && app.state() == QProcess::Running && key().isNull(); ++wait)
            QTest::qWait(100);
        app.terminate();
        app.waitForFinished(10000); // or killed as it goes
        *output = app.readAll();
        return key();
    }
    bool anyFileHoldsThePassword() const
    {
        return QProcess::execute(u"grep"_s, {u"-rqaF"_s, m_password, m_home.path()}) == 0;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(qEnvironmentVariableIsSet("RV_EXPECT_KEYRING"), "run by with_private_bus.sh");
        QString error;
        QVERIFY2(m_service.startService(&error), qPrintable(error));
    }

    void passwordLeavesTheFilesAndLogsInAgain()
    {
        QVERIFY(platform::UserDefaults(m_config).setObjectsAndSynchronize(
            {{u"LoginSuccess"_s, true},
             {u"Password"_s, m_password},
             {u"UserInfo"_s, QJsonObject{{u"yhm"_s, m_name}}}}));
        QByteArray output;
        const QString first = startUntilLoggedIn({}, &output);
        QVERIFY2(!first.isNull(), output.constData());
        QCOMPARE(anyFileHoldsThePassword(), !m_keyring);
        QCOMPARE(output.count("no keyring on the session bus"), m_keyring ? 0 : 1);
        QVERIFY2(!startUntilLoggedIn(first, &output).isNull(), output.constData());
        QCOMPARE(anyFileHoldsThePassword(), !m_keyring);
    }
};

QTEST_GUILESS_MAIN(TestKeyring)
#include "tst_keyring.moc"
