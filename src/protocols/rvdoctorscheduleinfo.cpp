// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvdoctorscheduleinfo.h"

using namespace Qt::StringLiterals;

const QStringList &RVDoctorScheduleInfo::keys()
{
    static const QStringList k{
        u"hospid"_s, u"yydm"_s,   u"yylb"_s, u"jzrq"_s, u"cc"_s,   u"etbz"_s, u"pbid"_s, u"pblb"_s,
        u"bzksdm"_s, u"bzksmc"_s, u"ghf"_s,  u"zlf"_s,  u"ghje"_s, u"ysdm"_s, u"ysmc"_s, u"yszc"_s,
        u"ysfy"_s,   u"swyh"_s,   u"xwyh"_s, u"jlzt"_s, u"bcbm"_s, u"bcmc"_s, u"kyrs"_s};
    return k;
}

void RVDoctorScheduleInfo::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    readKeys(body, keys());
}

QJsonObject RVDoctorScheduleInfo::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    writeKeys(body, keys());
    return body;
}
