// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvapplanguage.h"

#include "toolkit/image.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

bool RVAppLanguage::isOffered(const QString &language)
{
    return language == u"zh_CN"_s || language == u"en"_s;
}

QString RVAppLanguage::choose(const QString &asked, const QStringList &systemLanguages)
{
    if (isOffered(asked))
        return asked;
    const QString first = systemLanguages.value(0);
    if (first.isEmpty() || first == u"C"_s || first == u"POSIX"_s || first.startsWith(u"zh"_s))
        return u"zh_CN"_s;
    return u"en"_s;
}

bool RVAppLanguage::install(const QString &language)
{
    if (language != u"en"_s)
        return true;
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(u":/i18n/rv-patient_en.qm"_s)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    // Pictures with words in them have an English drawing beside the Chinese one.
    ui::Image::setLanguage(u"en"_s);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    return true;
}
