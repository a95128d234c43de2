// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvaccountchecks.h"

using namespace Qt::StringLiterals;

namespace
{
constexpr int kIdentityLength = 18;
constexpr int kMobileLength = 11;
constexpr int kMinimumPasswordLength = 6;
constexpr int kMaximumNameLength = 11;

const QString incomplete = u"请把信息填完整"_s;
const QString mismatch = u"两次输入的密码不同，请重新输入。"_s;

bool sameAsSaved(const QJsonValue &saved, const QString &edited)
{
    const QString text = RVAccountChecks::savedText(saved);
    return !text.isNull() && text == edited;
}
} // namespace

QString RVAccountChecks::registrationProblem(const Registration &form)
{
    for (const QString *value : {&form.username, &form.password, &form.secPassword, &form.name,
                                 &form.idcard, &form.phone, &form.address}) {
        if (value->isEmpty())
            return incomplete;
    }
    if (form.idcard.size() != kIdentityLength)
        return u"请输入正确的身份证号码"_s;
    if (form.phone.size() != kMobileLength || !isPureInt(form.phone))
        return u"请输入正确的手机号码"_s;
    if (form.secPassword != form.password)
        return mismatch;
    if (form.password.size() < kMinimumPasswordLength)
        return u"密码必须6位数以上"_s;
    return QString();
}

bool RVAccountChecks::isPureInt(const QString &string)
{
    qsizetype at = 0;
    while (at < string.size() && string.at(at).isSpace())
        ++at;
    if (at < string.size() && (string.at(at) == u'+' || string.at(at) == u'-'))
        ++at;
    const qsizetype digitsStart = at;
    while (at < string.size() && string.at(at) >= u'0' && string.at(at) <= u'9')
        ++at;
    return at > digitsStart && at == string.size();
}

RVUserRegister RVAccountChecks::registrationRecord(const Registration &form)
{
    // The identity number goes last but one: setting it also fills the sex and birth date.
    RVUserRegister record;
    record.setYhm(form.username);
    record.setXm(form.name);
    record.setMm(form.password);
    record.setSjhm(form.phone);
    record.setSfzhm(form.idcard);
    record.setDz(form.address);
    return record;
}

QString RVAccountChecks::savedText(const QJsonValue &value)
{
    return value.isUndefined() || value.isNull() ? QString() : RVBaseInfo::text(value);
}

RVAccountChecks::Profile RVAccountChecks::savedProfile(const RVUserInfo &saved)
{
    return {savedText(saved.xm()), savedText(saved.sfzhm()), savedText(saved.sjhm()),
            savedText(saved.dz())};
}

QString RVAccountChecks::profileProblem(const Profile &edited)
{
    if (edited.name.isEmpty() || edited.idcard.isEmpty() || edited.phone.isEmpty() ||
        edited.address.isEmpty())
        return incomplete;
    if (edited.name.size() > kMaximumNameLength)
        return u"姓名长度过长"_s;
    return QString();
}

bool RVAccountChecks::profileUnchanged(const RVUserInfo &saved, const Profile &edited)
{
    return sameAsSaved(saved.sjhm(), edited.phone) && sameAsSaved(saved.xm(), edited.name) &&
           sameAsSaved(saved.sfzhm(), edited.idcard) && sameAsSaved(saved.dz(), edited.address);
}

RVUserInfo RVAccountChecks::profileRecord(const RVUserInfo &saved, const Profile &edited)
{
    RVUserInfo info;
    info.setYhid(saved.yhid());
    info.setXm(edited.name);
    info.setSjhm(edited.phone);
    info.setSfzhm(edited.idcard); // also fills the sex and the birth date
    info.setDz(edited.address);
    return info;
}

QString RVAccountChecks::passwordProblem(const PasswordChange &form)
{
    // The confirmation is not tested for emptiness: an empty one differs from the new password.
    if (form.mm.isEmpty() || form.yymm.isEmpty())
        return incomplete;
    if (form.secPassword != form.mm)
        return mismatch;
    return QString();
}

bool RVAccountChecks::passwordUnchanged(const PasswordChange &form)
{
    return form.secPassword == form.yymm;
}
