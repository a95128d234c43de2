// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvmarkupcomponent.h"

#include <QStringList>

using namespace Qt::StringLiterals;

RVMarkupComponent::RVMarkupComponent(const QString &tagLabel, const Attributes &attributes,
                                     qsizetype position)
    : m_tagLabel(tagLabel), m_attributes(attributes), m_position(position)
{
}

QString RVMarkupComponent::description() const
{
    QString out = u"text: "_s + (m_text ? *m_text : u"(null)"_s) + u", position: "_s +
                  QString::number(m_position);
    if (!m_tagLabel.isEmpty())
        out += u", tag: "_s + m_tagLabel;
    if (!m_attributes.isEmpty()) {
        QStringList pairs;
        for (auto it = m_attributes.cbegin(); it != m_attributes.cend(); ++it)
            pairs << it.key() + u" = "_s + it.value() + u';';
        out += u", attributes: {"_s + pairs.join(u' ') + u'}';
    }
    return out;
}
