// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QString>

// The login values every client shares for the run of the program: the name that goes in the
// "yhm" form field and the key of the logged-in user's transactions. They are read and written
// as one pair under a lock, so that no reader ever sees the name of one login with the key of
// another. A null text means none.
class RVLoginValues final
{
public:
    struct Pair {
        QString username;
        QString dynamicKey;
    };

    static Pair current();
    static QString username();
    static QString dynamicKey();
    static void set(const QString &username, const QString &dynamicKey);
    static void clear();
};
