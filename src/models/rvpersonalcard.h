// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvuserinfo.h"

#include <QString>

#include <functional>

// The personal centre's card: the saved user's full name and mobile number as two lines of
// markup, the values in blue. An absent value shows as empty. Both values are typed by people,
// so their angle brackets become the entities the markup decodes and show as typed. A long
// name keeps one line: it is drawn smaller, down to a least size, and only past that
// shortened; how wide it draws is the view's to measure.
class RVPersonalCard final
{
public:
    static constexpr int kFontSize = 20;
    static constexpr int kSmallestNameSize = 12;

    explicit RVPersonalCard(const RVUserInfo &user);

    const QString &name() const { return m_name; }
    const QString &phone() const { return m_phone; }
    // What stands before the name on its line.
    static QString nameCaption();
    // The largest size from kFontSize down to kSmallestNameSize at which the name fits; the
    // least size when it fits at none.
    static int nameSize(const std::function<bool(int size)> &fits);
    // The card's markup with the name as it is shown (shortened or not) at that size.
    QString markup(const QString &shownName, int nameSize) const;
    QString markup() const { return markup(m_name, kFontSize); }

private:
    QString m_name;
    QString m_phone;
};
