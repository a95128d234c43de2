// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/image.h"

#include <QTest>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace
{
// Stands for the English catalogue: one picture title translated.
class TitleTranslator final : public QTranslator
{
public:
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (qstrcmp(context, ui::Image::kTitleContext) == 0 &&
            QString::fromUtf8(source) == u"用户头像")
            return u"User picture"_s;
        return {};
    }
    bool isEmpty() const override { return false; }
};
} // namespace

class TestImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { ui::Image::setLanguage({}); }

    void pictureOfTheLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("advert with words, English")
            << u"en"_s << u"main_ad1.png"_s << u":/images/main_ad1_en.svg"_s;
        QTest::newRow("advert with words, Chinese")
            << QString() << u"main_ad1.png"_s << u":/images/main_ad1.svg"_s;
        QTest::newRow("asked by its own name, English")
            << u"en"_s << u"yuyue_tingzhen_btn_nor.svg"_s
            << u":/images/yuyue_tingzhen_btn_nor_en.svg"_s;
        QTest::newRow("no words, so no English drawing")
            << u"en"_s << u"blueArrow.png"_s << u":/images/blueArrow.svg"_s;
        QTest::newRow("missing picture") << u"en"_s << u"nothing.png"_s << QString();
    }
    void pictureOfTheLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, name);
        QFETCH(QString, path);
        ui::Image::setLanguage(language);
        QCOMPARE(ui::Image::pathNamed(name), path);
        QCOMPARE(ui::Image::imageNamed(name).isNull(), path.isEmpty());
    }

    // A picture handed out before the language changed is not handed out after.
    void languageChangeDropsCachedPictures()
    {
        const ui::Image chinese = ui::Image::imageNamed(u"user_unlogin_bg.png"_s);
        ui::Image::setLanguage(u"en"_s);
        const ui::Image english = ui::Image::imageNamed(u"user_unlogin_bg.png"_s);
        QVERIFY(!(english == chinese));
        QCOMPARE(english.accessibilityLabel(), u"Tap to log in"_s);
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
