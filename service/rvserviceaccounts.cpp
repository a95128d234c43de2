// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvserviceaccounts.h"

#include "protocols/rvcipher.h"
#include "protocols/rvpasswordmodificationrequest.h"
#include "protocols/rvservicerefusals.h"
#include "protocols/rvuserlogin.h"
#include "protocols/rvuserregister.h"
#include "service/rvpasswordhasher.h"
#include "service/rvservicedatabase.h"
#include "service/rvservicevalues.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace
{
constexpr int minPasswordLength = 6;
constexpr int maxFieldLength = 200;

QString textOf(const QJsonValue &value)
{
    return RVServiceValues::text(value);
}

// A present field as a bound value; absent stays NULL so that COALESCE keeps the old value.
QVariant presentOrNull(const QJsonValue &value)
{
    return value.isUndefined() ? QVariant() : QVariant(textOf(value));
}

// Sex from the 17th character of an identity number: odd 1 (male), even 2 (female).
int sexFromIdentity(const QString &sfzhm)
{
    return sfzhm.size() == 18 && sfzhm.at(16).isDigit() ? (sfzhm.at(16).digitValue() % 2 ? 1 : 2)
                                                        : 0;
}

QString birthFromIdentity(const QString &sfzhm)
{
    return sfzhm.size() == 18 ? sfzhm.mid(6, 4) + u'-' + sfzhm.mid(10, 2) + u'-' + sfzhm.mid(12, 2)
                              : QString();
}

QString nowText()
{
    return QDateTime::currentDateTime().toString(Qt::ISODate);
}
} // namespace

RVServiceAccounts::RVServiceAccounts(RVServiceDatabase &database) : m_database(database) {}

QString RVServiceAccounts::newKey()
{
    const QByteArray bytes = RVPasswordHasher::randomBytes(RVCipher::keyBytes);
    return bytes.isEmpty() ? QString() : RVCipher::nsdataToHex(bytes);
}

QString RVServiceAccounts::accountNameProblem(const QString &yhm)
{
    if (yhm.trimmed().isEmpty())
        return u"请输入帐户名"_s;
    if (yhm.size() > 64)
        return u"帐户名不能超过64个字符"_s;
    // The name travels unescaped in the form: these characters would split it.
    for (const QChar c : yhm)
        if (c.isSpace() || c.category() == QChar::Other_Control || c == u'&' || c == u'=')
            return u"帐户名不能包含空格、“&”或“=”"_s;
    return {};
}

QString RVServiceAccounts::identityProblem(const QString &sfzhm)
{
    return sfzhm.size() == 18 ? QString() : u"请输入正确的身份证号码"_s;
}

QString RVServiceAccounts::mobileProblem(const QString &sjhm)
{
    bool digits = sjhm.size() == 11;
    for (const QChar c : sjhm)
        digits = digits && c >= u'0' && c <= u'9';
    return digits ? QString() : u"请输入正确的手机号码"_s;
}

std::optional<RVUserInfo> RVServiceAccounts::userRecord(QSqlDatabase &db, qint64 yhid)
{
    auto query = RVServiceDatabase::exec(
        db,
        u"SELECT yhm, xm, sfzhm, xb, csny, ylkh, gddh, sjhm, dz, yb, dzyx, gzmy FROM users"
        " WHERE yhid = ?"_s,
        {yhid});
    if (!query || !query->next())
        return std::nullopt;
    RVUserInfo user;
    const QStringList keys{u"yhm"_s,  u"xm"_s,   u"sfzhm"_s, u"xb"_s, u"csny"_s, u"ylkh"_s,
                           u"gddh"_s, u"sjhm"_s, u"dz"_s,    u"yb"_s, u"dzyx"_s, u"gzmy"_s};
    QJsonObject body{{u"yhid"_s, QString::number(yhid)}};
    for (int i = 0; i < keys.size(); ++i) {
        const QVariant value = query->value(i);
        if (keys.at(i) == u"xb"_s)
            body.insert(keys.at(i), value.toInt());
        else if (!value.isNull())
            body.insert(keys.at(i), value.toString());
    }
    user.bodyWithDictionary(body);
    return user;
}

bool RVServiceAccounts::change(const QString &sql, const QVariantList &values, bool *changedOne)
{
    return m_database.write([&](QSqlDatabase &db) {
        const auto query = RVServiceDatabase::exec(db, sql, values);
        if (query && changedOne)
            *changedOne = query->numRowsAffected() == 1;
        return query.has_value();
    }) == RVServiceDatabase::Write::Committed;
}

RVServiceOutcome RVServiceAccounts::replyWithUser(qint64 yhid, const QString &message)
{
    auto session = m_database.session();
    const auto user = userRecord(session.db(), yhid);
    return user ? RVServiceOutcome::success(message, user->body_dict())
                : RVServiceOutcome::storeFailure();
}

RVServiceOutcome RVServiceAccounts::registerUser(const QJsonObject &body)
{
    const auto request = RVBaseInfo::fromDictionary<RVUserRegister>(body);
    const QString yhm = textOf(request.yhm());
    const QString mm = textOf(request.mm());
    const QString xm = textOf(request.xm()).trimmed();
    const QString sfzhm = textOf(request.sfzhm());
    const QString sjhm = textOf(request.sjhm());
    QString problem = accountNameProblem(yhm);
    if (problem.isEmpty() && mm.size() < minPasswordLength)
        problem = u"密码必须6位数以上"_s;
    if (problem.isEmpty() && xm.isEmpty())
        problem = u"请输入真实姓名"_s;
    if (problem.isEmpty())
        problem = identityProblem(sfzhm);
    if (problem.isEmpty())
        problem = mobileProblem(sjhm);
    for (const QString &key : body.keys())
        if (problem.isEmpty() && textOf(body.value(key)).size() > maxFieldLength)
            problem = u"字段%1过长"_s.arg(key);
    if (!problem.isEmpty())
        return RVServiceOutcome::refusal(problem);

    const QString hash = RVPasswordHasher::hash(mm);
    const QString key = newKey();
    if (hash.isEmpty() || key.isEmpty())
        return RVServiceOutcome::storeFailure();
    const int xb = request.xb() == 1 || request.xb() == 2 ? request.xb() : sexFromIdentity(sfzhm);
    const QString csny =
        request.csny().isUndefined() ? birthFromIdentity(sfzhm) : textOf(request.csny());
    qint64 yhid = 0;
    {
        auto session = m_database.session();
        bool taken = false;
        auto insert = RVServiceDatabase::exec(
            session.db(),
            u"INSERT INTO users (yhm, password, xm, sfzhm, xb, csny, ylkh, gddh, sjhm, dz, yb,"
            " dzyx, gzmy, created) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING yhid"_s,
            {yhm, hash, xm, sfzhm, xb, csny, presentOrNull(request.ylkh()),
             presentOrNull(request.gddh()), sjhm, presentOrNull(request.dz()),
             presentOrNull(request.yb()), presentOrNull(request.dzyx()), key, nowText()},
            &taken);
        if (!insert)
            return taken ? RVServiceOutcome::refusal(u"该帐户名已被注册"_s)
                         : RVServiceOutcome::storeFailure();
        if (!insert->next())
            return RVServiceOutcome::storeFailure();
        yhid = insert->value(0).toLongLong();
        insert->finish(); // ends SQLite's implicit write transaction
    }
    return replyWithUser(yhid, u"注册成功"_s);
}

RVServiceOutcome RVServiceAccounts::login(const QJsonObject &body)
{
    const auto request = RVBaseInfo::fromDictionary<RVUserLogin>(body);
    const QString yhm = textOf(request.yhm());
    const QString mm = textOf(request.mm());
    if (yhm.isEmpty() || mm.isEmpty())
        return RVServiceOutcome::refusal(u"请输入帐户名和密码"_s);
    qint64 yhid = 0;
    QString stored;
    {
        auto session = m_database.session();
        auto query = RVServiceDatabase::exec(
            session.db(), u"SELECT yhid, password FROM users WHERE yhm = ?"_s, {yhm});
        if (!query)
            return RVServiceOutcome::storeFailure();
        if (query->next()) {
            yhid = query->value(0).toLongLong();
            stored = query->value(1).toString();
        }
    }
    // The same answer for an unknown name and a wrong password: names are not disclosed.
    if (yhid == 0 || !RVPasswordHasher::verify(mm, stored))
        return RVServiceOutcome::refusal(RVServiceRefusals::wrongLogin());
    const QString key = newKey();
    if (key.isEmpty())
        return RVServiceOutcome::storeFailure();
    if (!change(u"UPDATE users SET gzmy = ? WHERE yhid = ?"_s, {key, yhid}))
        return RVServiceOutcome::storeFailure();
    return replyWithUser(yhid, u"登录成功"_s);
}

std::optional<RVServiceAccounts::Caller> RVServiceAccounts::caller(const QString &yhm,
                                                                   bool *storeFailed)
{
    auto session = m_database.session();
    auto query = RVServiceDatabase::exec(
        session.db(), u"SELECT yhid, gzmy FROM users WHERE yhm = ? AND gzmy IS NOT NULL"_s, {yhm});
    if (storeFailed)
        *storeFailed = !query;
    if (!query || !query->next())
        return std::nullopt;
    return Caller{query->value(0).toLongLong(), yhm, query->value(1).toString()};
}

RVServiceOutcome RVServiceAccounts::logout(const Caller &caller)
{
    // Only the key this request came with: a newer login is not undone by an old logout.
    if (!change(u"UPDATE users SET gzmy = NULL WHERE yhid = ? AND gzmy = ?"_s,
                {caller.yhid, caller.key}))
        return RVServiceOutcome::storeFailure();
    return RVServiceOutcome::success(u"已退出登录"_s);
}

RVServiceOutcome RVServiceAccounts::modifyProfile(const Caller &caller, const QJsonObject &body)
{
    const auto request = RVBaseInfo::fromDictionary<RVUserInfo>(body);
    if (!request.yhid().isUndefined() && textOf(request.yhid()) != QString::number(caller.yhid))
        return RVServiceOutcome::refusal(u"只能修改本人的资料"_s);
    if (!request.yhm().isUndefined() && textOf(request.yhm()) != caller.yhm)
        return RVServiceOutcome::refusal(u"帐户名不能修改"_s);
    QString problem;
    if (!request.xm().isUndefined() && textOf(request.xm()).trimmed().isEmpty())
        problem = u"请输入真实姓名"_s;
    const QString sfzhm = textOf(request.sfzhm());
    if (problem.isEmpty() && !request.sfzhm().isUndefined())
        problem = identityProblem(sfzhm);
    if (problem.isEmpty() && !request.sjhm().isUndefined())
        problem = mobileProblem(textOf(request.sjhm()));
    for (const QString &key : body.keys())
        if (problem.isEmpty() && textOf(body.value(key)).size() > maxFieldLength)
            problem = u"字段%1过长"_s.arg(key);
    if (!problem.isEmpty())
        return RVServiceOutcome::refusal(problem);

    QVariant xb = request.xb() == 1 || request.xb() == 2 ? QVariant(request.xb()) : QVariant();
    QVariant csny = presentOrNull(request.csny());
    if (!request.sfzhm().isUndefined()) {
        if (xb.isNull())
            xb = sexFromIdentity(sfzhm);
        if (csny.isNull())
            csny = birthFromIdentity(sfzhm);
    }
    if (!change(u"UPDATE users SET xm = COALESCE(?, xm), sfzhm = COALESCE(?, sfzhm),"
                " xb = COALESCE(?, xb), csny = COALESCE(?, csny), ylkh = COALESCE(?, ylkh),"
                " gddh = COALESCE(?, gddh), sjhm = COALESCE(?, sjhm), dz = COALESCE(?, dz),"
                " yb = COALESCE(?, yb), dzyx = COALESCE(?, dzyx) WHERE yhid = ?"_s,
                {presentOrNull(request.xm()), presentOrNull(request.sfzhm()), xb, csny,
                 presentOrNull(request.ylkh()), presentOrNull(request.gddh()),
                 presentOrNull(request.sjhm()), presentOrNull(request.dz()),
                 presentOrNull(request.yb()), presentOrNull(request.dzyx()), caller.yhid}))
        return RVServiceOutcome::storeFailure();
    return replyWithUser(caller.yhid, u"个人资料修改成功"_s);
}

RVServiceOutcome RVServiceAccounts::changePassword(const Caller &caller, const QJsonObject &body)
{
    const auto request = RVBaseInfo::fromDictionary<RVPasswordModificationRequest>(body);
    if (!request.yhid().isUndefined() && textOf(request.yhid()) != QString::number(caller.yhid))
        return RVServiceOutcome::refusal(u"只能修改本人的密码"_s);
    if (request.yymm().isUndefined())
        return RVServiceOutcome::missing(u"yymm"_s);
    if (request.mm().isUndefined())
        return RVServiceOutcome::missing(u"mm"_s);
    const QString newPassword = textOf(request.mm());
    if (newPassword.size() < minPasswordLength || newPassword.size() > maxFieldLength)
        return RVServiceOutcome::refusal(u"新密码必须6位数以上"_s);
    QString stored;
    {
        auto session = m_database.session();
        auto query = RVServiceDatabase::exec(
            session.db(), u"SELECT password FROM users WHERE yhid = ?"_s, {caller.yhid});
        if (!query || !query->next())
            return RVServiceOutcome::storeFailure();
        stored = query->value(0).toString();
    }
    if (!RVPasswordHasher::verify(textOf(request.yymm()), stored))
        return RVServiceOutcome::refusal(u"原密码不正确"_s);
    const QString hash = RVPasswordHasher::hash(newPassword);
    if (hash.isEmpty())
        return RVServiceOutcome::storeFailure();
    // Only if no other change slipped in since the old password was checked.
    bool changed = false;
    if (!change(u"UPDATE users SET password = ? WHERE yhid = ? AND password = ?"_s,
                {hash, caller.yhid, stored}, &changed))
        return RVServiceOutcome::storeFailure();
    if (!changed)
        return RVServiceOutcome::refusal(u"密码已被修改，请重试"_s);
    return RVServiceOutcome::success(u"密码修改成功"_s);
}
