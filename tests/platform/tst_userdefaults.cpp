// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/userdefaults.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

using namespace Qt::StringLiterals;
using platform::UserDefaults;

class TestUserDefaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void standardStoreStaysOutOfUserFiles()
    {
        QVERIFY(UserDefaults::standardFilePath().contains(u"qttest"_s));
    }

    void valuesSurviveReopening()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"sub/store.json"_s);
        {
            UserDefaults store(path);
            store.setObject(u"LoginSuccess"_s, true);
            store.setObject(u"UserInfo"_s, QJsonObject{{u"yhm"_s, u"张三"_s}});
            QVERIFY(store.synchronize());
        }
        UserDefaults reopened(path);
        QVERIFY(reopened.boolForKey(u"LoginSuccess"_s));
        QCOMPARE(reopened.objectForKey(u"UserInfo"_s).toObject().value(u"yhm"_s).toString(),
                 u"张三"_s);
        QVERIFY(reopened.objectForKey(u"Password"_s).isUndefined());
        QVERIFY(!reopened.boolForKey(u"Password"_s));
    }

    void unreadableFileIsIgnored_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("garbage") << QByteArray("\x00\x01{not json", 11);
        QTest::newRow("array") << QByteArray("[1,2]");
        QTest::newRow("truncated") << QByteArray(R"({"LoginSuccess": tr)");
    }
    void unreadableFileIsIgnored()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"store.json"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        UserDefaults store(path);
        QVERIFY(!store.boolForKey(u"LoginSuccess"_s));
        store.setObject(u"k"_s, 1);
        QVERIFY(store.synchronize());
        QCOMPARE(UserDefaults(path).objectForKey(u"k"_s).toInt(), 1);
    }

    void unwritableLocationFailsCleanly()
    {
        UserDefaults store(u"/proc/no-such-dir/store.json"_s);
        store.setObject(u"k"_s, 1);
        QVERIFY(!store.synchronize());
        QCOMPARE(store.objectForKey(u"k"_s).toInt(), 1); // nothing lost in memory
    }

    void manyThreadsWriteWholeFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"store.json"_s);
        UserDefaults store(path);
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&store, t] {
                for (int i = 0; i < 50; ++i) {
                    store.setObject(u"key%1"_s.arg(t), i);
                    store.synchronize();
                }
            });
        }
        for (auto &thread : threads)
            thread.join();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject saved = QJsonDocument::fromJson(file.readAll()).object();
        QCOMPARE(saved.size(), 4);
        for (int t = 0; t < 4; ++t)
            QCOMPARE(saved.value(u"key%1"_s.arg(t)).toInt(), 49);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1); // no temporary left over
    }
};

QTEST_GUILESS_MAIN(TestUserDefaults)
#include "tst_userdefaults.moc"
