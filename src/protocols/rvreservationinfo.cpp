// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvreservationinfo.h"

using namespace Qt::StringLiterals;

const QStringList &RVReservationInfo::keys()
{
    static const QStringList k{
        u"yzhm"_s,  u"brxb"_s, u"xm"_s,     u"userid"_s, u"yhid"_s,   u"hospid"_s, u"brxm"_s,
        u"sfzhm"_s, u"xb"_s,   u"csny"_s,   u"ylkh"_s,   u"sjhm"_s,   u"yydm"_s,   u"pbid"_s,
        u"yylb"_s,  u"jzrq"_s, u"etbz"_s,   u"cc"_s,     u"bzksdm"_s, u"ysdm"_s,   u"yyid"_s,
        u"yysj"_s,  u"yymc"_s, u"bzksmc"_s, u"ysmc"_s,   u"fzxh"_s,   u"yyzt"_s,   u"yylsh"_s,
        u"bcbm"_s,  u"ksbm"_s, u"lxdz"_s,   u"yyzh"_s};
    return k;
}

void RVReservationInfo::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    readKeys(body, keys());
}

QJsonObject RVReservationInfo::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    writeKeys(body, keys());
    return body;
}

bool RVReservationInfo::isOpen() const
{
    return yyzt().isString() && yyzt().toString() == u"0";
}
