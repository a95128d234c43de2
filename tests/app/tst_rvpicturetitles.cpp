// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvpicturetitles.h"
#include "toolkit/image.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRVPictureTitles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A picture named for a screen reader is named in English too only if its title is
    // listed for the translation; an English drawing stands beside a Chinese one.
    void everyTitleIsListed()
    {
        const QStringList listed = RVPictureTitles::all();
        const QDir pictures(u":/images"_s);
        const QStringList files = pictures.entryList({u"*.svg"_s});
        QVERIFY(files.size() > 10);
        for (const QString &file : files) {
            if (file.endsWith(u"_en.svg")) {
                QVERIFY2(files.contains(file.chopped(7) + u".svg"_s), qPrintable(file));
                continue;
            }
            const QString title =
                ui::Image::imageWithContentsOfFile(pictures.filePath(file)).accessibilityLabel();
            QVERIFY2(title.isEmpty() || listed.contains(title), qPrintable(file + u' ' + title));
        }
    }
};

QTEST_MAIN(TestRVPictureTitles)
#include "tst_rvpicturetitles.moc"
