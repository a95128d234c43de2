// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screenfixture.h"
#include "screens/browse/rvdetailinfoviewcontroller.h"
#include "toolkit/font.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/navigationitem.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/textmetrics.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestRVDetailInfoViewController : public QObject
{
    Q_OBJECT

private:
    static std::shared_ptr<RVDetailInfoViewController>
    open(ScreenFixture &app, const std::optional<QString> &introduction)
    {
        app.launch();
        std::optional<RVHospitalInfo> hospital;
        if (introduction) {
            hospital.emplace();
            hospital->setYyjs(*introduction);
        }
        auto screen = RVDetailInfoViewController::instantiateFor(hospital);
        app.navigation()->pushViewController(screen, false);
        screen->mainTableView()->reloadData();
        return screen;
    }
    static qreal oneLine()
    {
        return ui::TextMetrics::sizeWithFont(u" "_s, ui::Font::systemFontOfSize(14),
                                             QSizeF(280, 2000), ui::LineBreakMode::CharacterWrap)
            .height();
    }

private Q_SLOTS:
    void init() { ScreenFixture::forgetLogin(); }

    void rowHeights_data()
    {
        QTest::addColumn<std::optional<QString>>("introduction");
        QTest::addColumn<int>("introductionLines"); // -1: more than ten
        QTest::newRow("no hospital") << std::optional<QString>() << 0;
        QTest::newRow("empty introduction") << std::optional<QString>(QString()) << 0;
        QTest::newRow("one line") << std::optional<QString>(u"三甲医院"_s) << 1;
        QTest::newRow("several hundred characters")
            << std::optional<QString>(
                   QString(u"滨江市第一人民医院创建于一九五零年，"_s).repeated(20))
            << -1;
    }
    void rowHeights()
    {
        QFETCH(std::optional<QString>, introduction);
        QFETCH(int, introductionLines);
        ScreenFixture app;
        auto screen = open(app, introduction);
        ui::TableView *table = screen->mainTableView();
        QCOMPARE(table->rectForRowAtIndexPath({0, 0}).height(), 60.0);
        QCOMPARE(table->rectForRowAtIndexPath({0, 2}).height(), 60.0);
        // The honours row has no text but one line of height.
        QCOMPARE(table->rectForRowAtIndexPath({0, 1}).height(), oneLine() + 5);
        const qreal row3 = table->rectForRowAtIndexPath({0, 3}).height();
        if (introductionLines >= 0)
            QCOMPARE(row3, introductionLines * oneLine() + 5);
        else
            QVERIFY2(row3 > 10 * oneLine() + 5, qPrintable(QString::number(row3)));
        QCOMPARE(row3, RVDetailInfoViewController::textRowHeight(introduction.value_or(QString())));
    }

    void longIntroductionIsShownInFull()
    {
        const QString text =
            QString(u"医院设有内科、外科、妇产科、儿科等临床科室。"_s).repeated(15);
        ScreenFixture app;
        auto screen = open(app, text);
        ui::TableView *table = screen->mainTableView();
        table->scrollToRowAtIndexPath({0, 3}, false);
        ui::TableViewCell *cell = table->cellForRowAtIndexPath({0, 3});
        QVERIFY(cell);
        QCOMPARE(cell->textLabel()->text(), text);
        QCOMPARE(cell->textLabel()->numberOfLines(), 0);
        QCOMPARE(ui::Font::pointSize(cell->textLabel()->font()), 14.0);
        // Every line the label draws fits the row.
        const QStringList lines = cell->textLabel()->displayedLines();
        QCOMPARE(lines.join(QString()).remove(u' '), QString(text).remove(u' '));
        QVERIFY(lines.size() * ui::TextMetrics::lineHeight(cell->textLabel()->font()) <=
                table->rectForRowAtIndexPath({0, 3}).height());
    }

    void texts()
    {
        ScreenFixture app;
        auto screen = open(app, u"简介"_s);
        QCOMPARE(screen->navigationItem()->title(), u"医院荣耀信息"_s);
        const QStringList expected{u"医院荣耀"_s, QString(), u"医院介绍"_s, u"简介"_s};
        const QList<qreal> sizes{16, 14, 16, 14};
        for (int row = 0; row < 4; ++row) {
            ui::Label *label =
                screen->mainTableView()->cellForRowAtIndexPath({0, row})->textLabel();
            QCOMPARE(label->text(), expected.at(row));
            QCOMPARE(ui::Font::pointSize(label->font()), sizes.at(row));
            QCOMPARE(label->textAlignment(), ui::TextAlignment::Left);
        }
        // Tapping does nothing.
        screen->mainTableView()->tapRowAtIndexPath({0, 3});
        QCOMPARE(app.navigation()->topViewController(), screen.get());
    }
};

QTEST_MAIN(TestRVDetailInfoViewController)
#include "tst_rvdetailinfoviewcontroller.moc"
