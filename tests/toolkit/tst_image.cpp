// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/image.h"

#include <QTest>
#include <QTranslator>

using namespace Qt::StringLiterals;

// Stands for the English catalogue: one picture title translated.
class TitleTranslator final : public QTranslator
{
public:
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        const bool known = qstrcmp(context, ui::Image::kTitleContext) == 0 &&
                           QString::fromUtf8(source) == u"用户头像";
        return known ? u"User picture"_s : QString();
    }
    bool isEmpty() const override { return false; }
};

class TestImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One picture in both languages in a row: a change of language drops the cached one.
    void pictureOfTheLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("words, English")
            << u"en"_s << u"main_ad1.png"_s << u":/images/main_ad1_en.svg"_s;
        QTest::newRow("words, Chinese")
            << QString() << u"main_ad1.png"_s << u":/images/main_ad1.svg"_s;
        QTest::newRow("asked by its own name") << u"en"_s << u"yuyue_tingzhen_btn_nor.svg"_s
                                               << u":/images/yuyue_tingzhen_btn_nor_en.svg"_s;
        QTest::newRow("no words: the one drawing")
            << u"en"_s << u"blueArrow.png"_s << u":/images/blueArrow.svg"_s;
        QTest::newRow("missing") << u"en"_s << u"nothing.png"_s << QString();
    }
    void pictureOfTheLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, name);
        QFETCH(QString, path);
        ui::Image::setLanguage(language);
        QCOMPARE(ui::Image::pathNamed(name), path);
        const ui::Image image = ui::Image::imageNamed(name);
        QCOMPARE(image.isNull(), path.isEmpty());
        QCOMPARE(image.accessibilityLabel(),
                 ui::Image::imageWithContentsOfFile(path).accessibilityLabel());
    }

    void titleReadsThroughTheTranslation()
    {
        TitleTranslator translator;
        QCoreApplication::installTranslator(&translator);
        const QString name =
            ui::Image::imageNamed(u"user_setting_select.png"_s).accessibilityLabel();
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(name, u"User picture"_s);
    }
};

QTEST_MAIN(TestImage)
#include "tst_image.moc"
