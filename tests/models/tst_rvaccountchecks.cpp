// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvaccountchecks.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace RVAccountChecks;

namespace
{
const QString incomplete = u"请把信息填完整"_s;
const QString mismatch = u"两次输入的密码不同，请重新输入。"_s;

// The seven registration rows in order: account, password, confirmation, name, identity,
// mobile, address.
const QStringList valid{
    u"checks"_s,      u"secret1"_s,     u"secret1"_s, u"赵六"_s, u"110101199003071234"_s,
    u"13800000000"_s, u"上海市黄浦区"_s};

QStringList with(QStringList form, int row, const QString &text, int row2 = -1,
                 const QString &text2 = {})
{
    form[row] = text;
    if (row2 >= 0)
        form[row2] = text2;
    return form;
}

RVUserInfo savedUser()
{
    return RVBaseInfo::fromDictionary<RVUserInfo>(QJsonObject{{u"yhid"_s, u"9"_s},
                                                              {u"xm"_s, u"王五"_s},
                                                              {u"sfzhm"_s, u"110101199003071234"_s},
                                                              {u"sjhm"_s, u"13800000000"_s},
                                                              {u"dz"_s, u"北京市东城区"_s}});
}
} // namespace

class TestRVAccountChecks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void isPureInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("whole");
        QTest::newRow("eleven digits, beyond any int") << u"13800000000"_s << true;
        QTest::newRow("twenty digits") << u"99999999999999999999"_s << true;
        QTest::newRow("leading blank and ten digits") << u" 1234567890"_s << true;
        QTest::newRow("leading tab and line feed") << u"\t\n42"_s << true;
        QTest::newRow("plus sign") << u"+5"_s << true;
        QTest::newRow("minus sign") << u"-5"_s << true;
        QTest::newRow("single zero") << u"0"_s << true;
        QTest::newRow("ten digits and a letter") << u"1234567890a"_s << false;
        QTest::newRow("trailing blank") << u"123 "_s << false;
        QTest::newRow("blank inside") << u"12 34"_s << false;
        QTest::newRow("sign alone") << u"+"_s << false;
        QTest::newRow("two signs") << u"+-5"_s << false;
        QTest::newRow("blank after the sign") << u"- 5"_s << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("blanks only") << u"   "_s << false;
        QTest::newRow("decimal point") << u"1.5"_s << false;
        QTest::newRow("full-width digits") << u"１２３"_s << false;
    }
    void isPureInt()
    {
        QFETCH(QString, text);
        QFETCH(bool, whole);
        QCOMPARE(RVAccountChecks::isPureInt(text), whole);
    }

    void registrationChecksInOrder_data()
    {
        QTest::addColumn<QStringList>("form");
        QTest::addColumn<QString>("message");
        const QString identity = u"请输入正确的身份证号码"_s;
        const QString mobile = u"请输入正确的手机号码"_s;
        QTest::newRow("nothing typed") << QStringList(7) << incomplete;
        QTest::newRow("address missing") << with(valid, 6, {}) << incomplete;
        QTest::newRow("account missing") << with(valid, 0, {}) << incomplete;
        QTest::newRow("confirmation missing, identity wrong too")
            << with(valid, 2, {}, 4, u"123"_s) << incomplete;
        QTest::newRow("identity of 15 characters")
            << with(valid, 4, u"110101900307123"_s) << identity;
        QTest::newRow("identity of 19 characters")
            << with(valid, 4, u"1101011990030712345"_s) << identity;
        QTest::newRow("identity and mobile wrong: identity first")
            << with(valid, 4, u"1"_s, 5, u"2"_s) << identity;
        QTest::newRow("mobile of 10 digits") << with(valid, 5, u"1380000000"_s) << mobile;
        QTest::newRow("mobile of 10 digits and a letter")
            << with(valid, 5, u"1380000000a"_s) << mobile;
        QTest::newRow("mobile of 12 digits") << with(valid, 5, u"138000000000"_s) << mobile;
        QTest::newRow("mobile with a blank inside") << with(valid, 5, u"138 0000000"_s) << mobile;
        QTest::newRow("mobile wrong and passwords differ: mobile first")
            << with(valid, 5, u"1"_s, 2, u"other1"_s) << mobile;
        QTest::newRow("short passwords that differ: mismatch first")
            << with(valid, 1, u"abc"_s, 2, u"abd"_s) << mismatch;
        QTest::newRow("passwords differ in case") << with(valid, 2, u"SECRET1"_s) << mismatch;
        QTest::newRow("equal passwords of 5")
            << with(valid, 1, u"12345"_s, 2, u"12345"_s) << u"密码必须6位数以上"_s;
        QTest::newRow("equal passwords of 6")
            << with(valid, 1, u"123456"_s, 2, u"123456"_s) << QString();
        QTest::newRow("identity ending in a letter")
            << with(valid, 4, u"11010119900307123X"_s) << QString();
        QTest::newRow("mobile with a leading blank")
            << with(valid, 5, u" 1380000000"_s) << QString();
    }
    void registrationChecksInOrder()
    {
        QFETCH(QStringList, form);
        QFETCH(QString, message);
        const Registration typed{form[0], form[1], form[2], form[3], form[4], form[5], form[6]};
        QCOMPARE(registrationProblem(typed), message);
    }

    // Columns: the four values as edited from the saved 王五 (a null text keeps the saved
    // one), the message shown, and whether anything is sent after the checks.
    void profileChecksInOrder_data()
    {
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("sent");
        const QString twelve = u"一二三四五六七八九十百千"_s;
        QTest::newRow("nothing changed: silent") << QStringList(4) << QString() << false;
        QTest::newRow("saved values typed again: silent")
            << QStringList{u"王五"_s, u"110101199003071234"_s, u"13800000000"_s, u"北京市东城区"_s}
            << QString() << false;
        QTest::newRow("mobile cleared") << with(QStringList(4), 2, u""_s) << incomplete << false;
        QTest::newRow("mobile cleared beside a long name: incomplete first")
            << with(QStringList(4), 0, twelve, 2, u""_s) << incomplete << false;
        QTest::newRow("address cleared") << with(QStringList(4), 3, u""_s) << incomplete << false;
        QTest::newRow("name of 12 characters")
            << with(QStringList(4), 0, twelve) << u"姓名长度过长"_s << false;
        QTest::newRow("name of 11 characters")
            << with(QStringList(4), 0, twelve.chopped(1)) << QString() << true;
        QTest::newRow("address changed")
            << with(QStringList(4), 3, u"北京市西城区"_s) << QString() << true;
        QTest::newRow("mobile form not checked here")
            << with(QStringList(4), 2, u"12ab"_s) << QString() << true;
    }
    void profileChecksInOrder()
    {
        QFETCH(QStringList, edits);
        QFETCH(QString, message);
        QFETCH(bool, sent);
        const RVUserInfo saved = savedUser();
        Profile edited = savedProfile(saved);
        QString *fields[] = {&edited.name, &edited.idcard, &edited.phone, &edited.address};
        for (int row = 0; row < 4; ++row) {
            if (!edits.at(row).isNull())
                *fields[row] = edits.at(row);
        }
        QCOMPARE(profileProblem(edited), message);
        QCOMPARE(message.isNull() && !profileUnchanged(saved, edited), sent);
    }

    void absentSavedValueIsIncompleteAndNeverUnchanged()
    {
        RVUserInfo saved = savedUser();
        saved.setDz(QJsonValue(QJsonValue::Undefined));
        const Profile loaded = savedProfile(saved);
        QVERIFY(loaded.address.isNull());
        QCOMPARE(profileProblem(loaded), incomplete);
        QVERIFY(!profileUnchanged(saved, loaded));
    }

    // Columns: old, new and confirmation as typed; the message; whether it is sent.
    void passwordChecksInOrder_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("sent");
        const QString old = u"secret1"_s;
        QTest::newRow("nothing typed") << QStringList(3) << incomplete << false;
        QTest::newRow("old filled, new empty")
            << QStringList{old, u""_s, u"x"_s} << incomplete << false;
        QTest::newRow("new filled, old empty")
            << QStringList{u""_s, u"secret2"_s, u"secret2"_s} << incomplete << false;
        QTest::newRow("confirmation empty")
            << QStringList{old, u"secret2"_s, u""_s} << mismatch << false;
        QTest::newRow("confirmation differs")
            << QStringList{old, u"secret2"_s, u"secret3"_s} << mismatch << false;
        QTest::newRow("new password is the old one: silent")
            << QStringList{old, old, old} << QString() << false;
        QTest::newRow("one character is sent")
            << QStringList{old, u"z"_s, u"z"_s} << QString() << true;
    }
    void passwordChecksInOrder()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        QFETCH(bool, sent);
        const PasswordChange change{typed[0], typed[1], typed[2]};
        QCOMPARE(passwordProblem(change), message);
        QCOMPARE(message.isNull() && !passwordUnchanged(change), sent);
    }
};

QTEST_APPLESS_MAIN(TestRVAccountChecks)
#include "tst_rvaccountchecks.moc"
