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
const QString identity = u"请输入正确的身份证号码"_s;
const QString mobile = u"请输入正确的手机号码"_s;

// A form of n rows with the given rows replaced: from a valid registration (account,
// password, confirmation, name, identity, mobile, address) when n is 7, else all null.
QStringList form(int n, const QList<std::pair<int, QString>> &rows = {})
{
    QStringList texts = n == 7 ? QStringList{u"acct"_s,
                                             u"secret1"_s,
                                             u"secret1"_s,
                                             u"赵六"_s,
                                             u"110101199003071234"_s,
                                             u"13800000000"_s,
                                             u"上海"_s}
                               : QStringList(n);
    for (const auto &[row, text] : rows)
        texts[row] = text;
    return texts;
}

// The saved profile the profile rows edit.
RVUserInfo saved()
{
    return RVBaseInfo::fromDictionary<RVUserInfo>(QJsonObject{{u"xm"_s, u"王五"_s},
                                                              {u"sfzhm"_s, u"110101199003071234"_s},
                                                              {u"sjhm"_s, u"13800000000"_s},
                                                              {u"dz"_s, u"北京市东城区"_s}});
}
} // namespace

class TestRVAccountChecks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each form's first failed check, or null; sent tells whether a form that passes is sent
    // (the profile and the password change are not when nothing changes).
    void checksInOrder_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("sent");
        const QString twelve = u"一二三四五六七八九十百千"_s, pw = u"secret1"_s;
        QTest::newRow("registration: nothing typed") << QStringList(7) << incomplete << true;
        QTest::newRow("registration: address missing") << form(7, {{6, {}}}) << incomplete << true;
        QTest::newRow("registration: account missing") << form(7, {{0, {}}}) << incomplete << true;
        QTest::newRow("registration: confirmation missing, identity wrong too")
            << form(7, {{2, {}}, {4, u"1"_s}}) << incomplete << true;
        QTest::newRow("registration: identity of 15")
            << form(7, {{4, u"110101900307123"_s}}) << identity << true;
        QTest::newRow("registration: identity of 19")
            << form(7, {{4, u"1101011990030712345"_s}}) << identity << true;
        QTest::newRow("registration: identity and mobile wrong")
            << form(7, {{4, u"1"_s}, {5, u"2"_s}}) << identity << true;
        QTest::newRow("registration: mobile of 10")
            << form(7, {{5, u"1380000000"_s}}) << mobile << true;
        QTest::newRow("registration: mobile of 10 and a letter")
            << form(7, {{5, u"1380000000a"_s}}) << mobile << true;
        QTest::newRow("registration: mobile of 12")
            << form(7, {{5, u"138000000000"_s}}) << mobile << true;
        QTest::newRow("registration: mobile with a blank inside")
            << form(7, {{5, u"138 0000000"_s}}) << mobile << true;
        QTest::newRow("registration: mobile wrong and passwords differ")
            << form(7, {{5, u"1"_s}, {2, u"other1"_s}}) << mobile << true;
        QTest::newRow("registration: short passwords that differ")
            << form(7, {{1, u"abc"_s}, {2, u"abd"_s}}) << mismatch << true;
        QTest::newRow("registration: passwords differ in case")
            << form(7, {{2, u"SECRET1"_s}}) << mismatch << true;
        QTest::newRow("registration: equal passwords of 5")
            << form(7, {{1, u"12345"_s}, {2, u"12345"_s}}) << u"密码必须6位数以上"_s << true;
        QTest::newRow("registration: equal passwords of 6")
            << form(7, {{1, u"123456"_s}, {2, u"123456"_s}}) << QString() << true;
        QTest::newRow("registration: identity ending in a letter")
            << form(7, {{4, u"11010119900307123X"_s}}) << QString() << true;
        QTest::newRow("registration: mobile with a leading blank")
            << form(7, {{5, u" 1380000000"_s}}) << QString() << true;
        QTest::newRow("profile: nothing changed") << form(4) << QString() << false;
        QTest::newRow("profile: saved values typed again")
            << QStringList{u"王五"_s, u"110101199003071234"_s, u"13800000000"_s, u"北京市东城区"_s}
            << QString() << false;
        QTest::newRow("profile: mobile cleared") << form(4, {{2, u""_s}}) << incomplete << false;
        QTest::newRow("profile: mobile cleared beside a long name")
            << form(4, {{0, twelve}, {2, u""_s}}) << incomplete << false;
        QTest::newRow("profile: address cleared") << form(4, {{3, u""_s}}) << incomplete << false;
        QTest::newRow("profile: name of 12")
            << form(4, {{0, twelve}}) << u"姓名长度过长"_s << false;
        QTest::newRow("profile: name of 11")
            << form(4, {{0, twelve.chopped(1)}}) << QString() << true;
        QTest::newRow("profile: address changed")
            << form(4, {{3, u"西城区"_s}}) << QString() << true;
        QTest::newRow("profile: mobile form not checked")
            << form(4, {{2, u"12ab"_s}}) << QString() << true;
        QTest::newRow("password: nothing typed") << QStringList(3) << incomplete << false;
        QTest::newRow("password: new empty")
            << QStringList{pw, u""_s, u"x"_s} << incomplete << false;
        QTest::newRow("password: old empty")
            << QStringList{u""_s, u"s2"_s, u"s2"_s} << incomplete << false;
        QTest::newRow("password: confirmation empty")
            << QStringList{pw, u"s2"_s, u""_s} << mismatch << false;
        QTest::newRow("password: confirmation differs")
            << QStringList{pw, u"s2"_s, u"s3"_s} << mismatch << false;
        QTest::newRow("password: new is the old one")
            << QStringList{pw, pw, pw} << QString() << false;
        QTest::newRow("password: one character")
            << QStringList{pw, u"z"_s, u"z"_s} << QString() << true;
    }
    void checksInOrder()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        QFETCH(bool, sent);
        if (typed.size() == 7) {
            QCOMPARE(registrationProblem(
                         {typed[0], typed[1], typed[2], typed[3], typed[4], typed[5], typed[6]}),
                     message);
        } else if (typed.size() == 3) {
            const PasswordChange change{typed[0], typed[1], typed[2]};
            QCOMPARE(passwordProblem(change), message);
            QCOMPARE(message.isNull() && !passwordUnchanged(change), sent);
        } else {
            // A null text keeps the saved value.
            const Profile was = savedProfile(saved());
            const Profile edited{typed[0].isNull() ? was.name : typed[0],
                                 typed[1].isNull() ? was.idcard : typed[1],
                                 typed[2].isNull() ? was.phone : typed[2],
                                 typed[3].isNull() ? was.address : typed[3]};
            QCOMPARE(profileProblem(edited), message);
            QCOMPARE(message.isNull() && !profileUnchanged(saved(), edited), sent);
        }
    }

    void absentSavedValueIsIncompleteAndNeverUnchanged()
    {
        RVUserInfo without = saved();
        without.setDz(QJsonValue(QJsonValue::Undefined));
        const Profile loaded = savedProfile(without);
        QCOMPARE(profileProblem(loaded), incomplete);
        QVERIFY(!profileUnchanged(without, loaded));
    }
};

QTEST_APPLESS_MAIN(TestRVAccountChecks)
#include "tst_rvaccountchecks.moc"
