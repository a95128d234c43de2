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
    // A factor chosen is kept, announced and shown in the row.
    void choiceIsKeptAndAnnounced()
    {
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
        while (index < offer->numberOfButtons() && offer->buttonTitleAtIndex(index) != u"1.5倍"_s)
            ++index;
        offer->clickButtonAtIndex(index);
        QCOMPARE(platform::InterfaceScale::stored(defaults), 1.5);
        ui::AlertView *shown = ScreenFixture::visibleAlert();
        QCOMPARE(shown ? shown->message() : QString(), u"大字模式改为1.5倍，重新启动后生效。"_s);
        QCOMPARE(table->cellForRowAtIndexPath({0, 0})->detailTextLabel()->text(),
                 RVLargeTextSetting::factorText(1.5));
    }
};

QTEST_MAIN(TestRVLargeTextSetting)
#include "tst_rvlargetextsetting.moc"
