// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/userdefaults.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
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
    void leftoversOfInterruptedSaves_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("ageSeconds");
        QTest::addColumn<bool>("removed");
        QTest::newRow("temporary of a killed save") << u"store.json.a1B2c3"_s << 3600 << true;
        QTest::newRow("just past the age limit") << u"store.json.XyZ0Q9"_s << 11 << true;
        QTest::newRow("young: a save of another instance may be running")
            << u"store.json.Qw3rTy"_s << 0 << false;
        QTest::newRow("other suffix length is not ours") << u"store.json.bak"_s << 3600 << false;
        QTest::newRow("another store's temporary") << u"other.json.a1B2c3"_s << 3600 << false;
    }

    // A save killed between writing its temporary file and renaming it leaves the temporary
    // beside the store; the next open removes it and still reads the store.
    void leftoversOfInterruptedSaves()
    {
        QFETCH(QString, name);
        QFETCH(int, ageSeconds);
        QFETCH(bool, removed);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"store.json"_s);
        {
            UserDefaults store(path);
            store.setObject(u"LoginSuccess"_s, true);
            QVERIFY(store.synchronize());
        }
        QFile leftover(dir.filePath(name));
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.write(R"({"LoginSuccess": fa)");
        leftover.close();
        QVERIFY(leftover.open(QIODevice::ReadWrite));
        QVERIFY(leftover.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-ageSeconds),
                                     QFileDevice::FileModificationTime));
        leftover.close();

        UserDefaults reopened(path);
        QCOMPARE(!QFile::exists(dir.filePath(name)), removed);
        QVERIFY(reopened.boolForKey(u"LoginSuccess"_s));
        QVERIFY(QFile::exists(path));
    }

    // Several keys land in the file in one write: a reader of the file never sees some of them
    // without the others, and a failed write is reported.
    void severalKeysInOneWrite()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"store.json"_s);
        UserDefaults store(path);
        std::atomic_bool stop{false};
        std::atomic<int> torn{0};
        std::thread reader([&] {
            while (!stop) {
                UserDefaults snapshot(path);
                const QJsonValue a = snapshot.objectForKey(u"a"_s);
                if (a != snapshot.objectForKey(u"b"_s) || a != snapshot.objectForKey(u"c"_s))
                    ++torn;
            }
        });
        std::thread other([&] {
            for (int i = 0; i < 200; ++i) {
                store.setObject(u"unrelated"_s, i);
                store.synchronize();
            }
        });
        for (int i = 1; i <= 200; ++i) {
            QVERIFY(store.setObjectsAndSynchronize({{u"a"_s, i}, {u"b"_s, i}, {u"c"_s, i}}));
        }
        other.join();
        stop = true;
        reader.join();
        QCOMPARE(torn.load(), 0);
        QCOMPARE(UserDefaults(path).objectForKey(u"c"_s).toInt(), 200);

        UserDefaults unwritable(u"/proc/no-such-dir/store.json"_s);
        QVERIFY(!unwritable.setObjectsAndSynchronize({{u"a"_s, 1}}));
        QCOMPARE(unwritable.objectForKey(u"a"_s).toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestUserDefaults)
#include "tst_userdefaults.moc"
