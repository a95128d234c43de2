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
    void init()
    {
        ScreenFixture::prepareOnce();
        QVERIFY(
            platform::InterfaceScale::store(platform::UserDefaults::standardUserDefaults(), 1.0));
    }

    // The alert's buttons are the cancel button, then the factors smallest first.
    void choiceIsKeptAndAnnounced_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<double>("kept");
        QTest::addColumn<QString>("notice");
        QTest::newRow("1.5") << u"1.5倍"_s << 1.5 << u"大字模式改为1.5倍，重新启动后生效。"_s;
        QTest::newRow("largest") << u"2.0倍"_s << 2.0 << u"大字模式改为2.0倍，重新启动后生效。"_s;
        QTest::newRow("the kept factor again") << u"1.0倍"_s << 1.0 << QString();
        QTest::newRow("cancel") << u"取消"_s << 1.0 << QString();
    }
    void choiceIsKeptAndAnnounced()
    {
        QFETCH(QString, button);
        QFETCH(double, kept);
        QFETCH(QString, notice);
        ScreenFixture app;
        app.launch();
        RVLargeTextSetting setting;
        ui::TableView *table = setting.makeTable(QRectF(0, 0, 320, 44));
        app.navigation()->topViewController()->view()->addSubview(table);
        setting.didSelectRowAtIndexPath(table, {0, 0});
        ui::AlertView *offer = ScreenFixture::visibleAlert();
        QVERIFY(offer != nullptr);
        int index = -1;
        for (int i = 0; i < offer->numberOfButtons(); ++i)
            index = offer->buttonTitleAtIndex(i) == button ? i : index;
        QVERIFY(index >= 0);
        offer->clickButtonAtIndex(index);
        QCOMPARE(platform::InterfaceScale::stored(platform::UserDefaults::standardUserDefaults()),
                 kept);
        ui::AlertView *shown = ScreenFixture::visibleAlert();
        QCOMPARE(shown ? shown->message() : QString(), notice);
        QCOMPARE(table->cellForRowAtIndexPath({0, 0})->detailTextLabel()->text(),
                 RVLargeTextSetting::factorText(kept));
    }
};

QTEST_MAIN(TestRVLargeTextSetting)
#include "tst_rvlargetextsetting.moc"
