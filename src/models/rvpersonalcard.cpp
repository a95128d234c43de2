// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvpersonalcard.h"

using namespace Qt::StringLiterals;

namespace
{
const QString cardFormat = u"<p align=left><font size=20>姓名：</font><font size=%3 "
                           "color=blue>%1</font></p>\n<p align=left><font size=20>电话：</"
                           "font><font size=20 color=blue>%2</font></p>"_s;

// "<" and ">" as the entities the markup turns back into them.
QString markupSafe(QString text)
{
    text.replace(u'<', u"&lt;"_s);
    text.replace(u'>', u"&gt;"_s);
    return text;
}
} // namespace

RVPersonalCard::RVPersonalCard(const RVUserInfo &user)
    : m_name(RVBaseInfo::text(user.xm())), m_phone(RVBaseInfo::text(user.sjhm()))
{
}

QString RVPersonalCard::nameCaption()
{
    return u"姓名："_s;
}

int RVPersonalCard::nameSize(const std::function<bool(int size)> &fits)
{
    int size = kFontSize;
    while (size > kSmallestNameSize && !fits(size))
        --size;
    return size;
}

QString RVPersonalCard::markup(const QString &shownName, int nameSize) const
{
    // One pass, so that a "%3" inside a value stays as typed.
    return cardFormat.arg(markupSafe(shownName), markupSafe(m_phone), QString::number(nameSize));
}
