// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QString>
#include <QStringList>

// The interface's language. The texts are written in Chinese, which shows when no translation
// is installed; English is the one translation. A system whose first language is Chinese, or
// that names none (the "C" locale), gets Chinese; any other language gets English, which a
// patient from abroad is likelier to read.
namespace RVAppLanguage
{
// "zh_CN" or "en".
bool isOffered(const QString &language);
// The language to use: the one asked for, else the first of the system's languages decides.
QString choose(const QString &asked, const QStringList &systemLanguages);
// Installs the translation for the language in the running application; false when English
// was chosen and its translation could not be loaded (the interface stays Chinese).
bool install(const QString &language);
} // namespace RVAppLanguage
