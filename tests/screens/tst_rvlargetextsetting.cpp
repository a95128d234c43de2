// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/interfacescale.h"
#include "platform/userdefaults.h"
#include "screenfixture.h"
#include "screens/account/rvlargetextsetting.h"
#include "toolkit/alertview.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestRVLargeTextSetting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The offer's buttons are "取消", then the factors smallest first.
    void choiceIsKeptAndAnnounced_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<double>("kept");
        QTest::addColumn<QString>("notice");
        QTest::newRow("1.5") << u"1.5倍"_s << 1.5 << u"大字模式改为1.5倍，重新启动后生效。"_s;
        QTest::newRow("cancel") << u"取消"_s << 1.0 << QString();
    }
    void choiceIsKeptAndAnnounced()
    {
        QFETCH(QString, button);
        QFETCH(double, kept);
        QFETCH(QString, notice);
        ScreenFixture app;
        app.launch();
        platform::UserDefaults &defaults = platform::UserDefaults::standardUserDefaults();
        QVERIFY(platform::InterfaceScale::store(defaults, 1.0));
        RVLargeTextSetting setting;
        ui::TableView *table = setting.makeTable(QRectF(0, 0, 320, 44));
        app.navigation()->topViewController()->view()->addSubview(table);
        setting.didSelectRowAtIndexPath(table, {0, 0});
        ui::AlertView *offer = ScreenFixture::visibleAlert();
        QVERIFY(offer != nullptr);
        int index = 0;
        while (index < offer->numberOfButtons() && offer->buttonTitleAtIndex(index) != button)
            ++index;
        offer->clickButtonAtIndex(index);
        QCOMPARE(platform::InterfaceScale::stored(defaults), kept);
        ui::AlertView *shown = ScreenFixture::visibleAlert();
        QCOMPARE(shown ? shown->message() : QString(), notice);
        QCOMPARE(table->cellForRowAtIndexPath({0, 0})->detailTextLabel()->text(),
                 RVLargeTextSetting::factorText(kept));
    }
};

QTEST_MAIN(TestRVLargeTextSetting)
#include "tst_rvlargetextsetting.moc"
