// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "accountscreentesting.h"
#include "components/ztprogresshud.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvloginvalues.h"
#include "protocols/rvprotocol.h"
#include "screenfixture.h"
#include "screens/account/rvmodifyuserinfocontroller.h"
#include "service/rvservicethread.h"
#include "toolkit/alertview.h"
#include "toolkit/button.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/textfield.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace
{
// What a test types into the four rows; a null text leaves the row as it was loaded.
using Edits = QStringList;

Edits editRow(int row, const QString &text)
{
    Edits edits(4);
    edits[row] = text;
    return edits;
}

const QString password = u"secret1"_s;
} // namespace

class TestRVModifyUserInfoController : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<RVServiceThread> m_service;
    QString m_account;

    // Personal centre, then the profile screen, as the user gets there. The step runs once
    // the home screen's automatic login has ended, before the profile screen loads.
    static RVModifyUserInfoController *open(ScreenFixture &app,
                                            const std::function<void()> &step = {})
    {
        if (!AccountScreenTesting::launchSettled(app))
            return nullptr;
        if (step)
            step();
        AccountScreenTesting::push(app.navigation(), u"personal"_s);
        return qobject_cast<RVModifyUserInfoController *>(
            AccountScreenTesting::push(app.navigation(), u"modifyUserInfo"_s));
    }
    static void apply(RVModifyUserInfoController *screen, const Edits &edits)
    {
        for (int row = 0; row < edits.size(); ++row) {
            if (!edits.at(row).isNull())
                AccountScreenTesting::type(AccountScreenTesting::field(screen->tableView(), row),
                                           edits.at(row));
        }
    }
    static void submit(RVModifyUserInfoController *screen, const Edits &edits)
    {
        apply(screen, edits);
        screen->submitButton()->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
    }
    static QString overlayText(RVModifyUserInfoController *screen)
    {
        const auto huds = ZtProgressHUD::allHUDsForView(screen->view());
        return huds.isEmpty() ? QString() : huds.first()->labelText();
    }

private Q_SLOTS:
    void initTestCase()
    {
        ScreenFixture::prepareOnce();
        QString error;
        m_service = AccountScreenTesting::startService(&error);
        QVERIFY2(m_service, qPrintable(error));
    }
    // Every test starts with a fresh account logged in (saved name 王五, mobile 13800000000,
    // identity 110101199003071234, address 北京市东城区).
    void init()
    {
        ScreenFixture::forgetLogin();
        m_account = AccountScreenTesting::freshAccountName();
        QVERIFY(AccountScreenTesting::registerAndLogin(m_account, password).state());
    }

    void rowsStartFromTheSavedRecord()
    {
        ScreenFixture app;
        RVModifyUserInfoController *screen = open(app);
        QVERIFY(screen);
        const QStringList captions{u"真实姓名:"_s, u"身份证号:"_s, u"手机号码:"_s,
                                   u"住       址:"_s};
        const QStringList values{u"王五"_s, u"110101199003071234"_s, u"13800000000"_s,
                                 u"北京市东城区"_s};
        for (int row = 0; row < 4; ++row) {
            ui::TextField *field = AccountScreenTesting::field(screen->tableView(), row);
            QVERIFY(field);
            QCOMPARE(field->tag(), row);
            QCOMPARE(field->text(), values.at(row));
            ui::TableViewCell *cell = screen->tableView()->cellForRowAtIndexPath({0, row});
            ui::Label *caption = nullptr;
            for (ui::Label *label : cell->contentView()->findChildren<ui::Label *>(
                     QString(), Qt::FindDirectChildrenOnly)) {
                if (label != cell->textLabel() && label != cell->detailTextLabel())
                    caption = label;
            }
            QVERIFY(caption);
            QCOMPARE(caption->text(), captions.at(row));
            QCOMPARE(caption->frame().topLeft(), QPointF(15, 10));
            // The field follows its caption, as high as it.
            QCOMPARE(field->frame().left(), caption->frame().width() + 20);
            QCOMPARE(field->frame().height(), caption->frame().height());
            QCOMPARE(field->frame().width(), 220.0);
        }
        QCOMPARE(screen->submitButton()->titleForState(ui::ControlState::Normal), u"提 交"_s);
    }

    void checksInOrder_data()
    {
        QTest::addColumn<Edits>("edits");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("sent");
        const QString incomplete = u"请把信息填完整"_s;
        // Checks and their order: tst_rvaccountchecks; here what the screen shows of them.
        QTest::newRow("nothing changed: silent") << Edits(4) << QString() << false;
        QTest::newRow("mobile cleared") << editRow(2, u""_s) << incomplete << false;
        QTest::newRow("address changed") << editRow(3, u"北京市西城区"_s) << QString() << true;
    }
    void checksInOrder()
    {
        QFETCH(Edits, edits);
        QFETCH(QString, message);
        QFETCH(bool, sent);
        ScreenFixture app;
        RVModifyUserInfoController *screen = open(app);
        QVERIFY(screen);
        submit(screen, edits);
        ui::AlertView *alert = ScreenFixture::visibleAlert();
        QCOMPARE(alert ? alert->message() : QString(), message);
        if (alert) {
            QCOMPARE(alert->title(), QString());
            QCOMPARE(alert->buttonTitleAtIndex(0), u"确定"_s);
        }
        QCOMPARE(overlayText(screen), sent ? u"加载中"_s : QString());
        if (sent)
            QTRY_VERIFY(ScreenFixture::visibleAlert() != nullptr);
    }

    void missingSavedValueIsIncomplete()
    {
        ScreenFixture app;
        RVModifyUserInfoController *screen = open(app, [] {
            RVUserInfo saved = RVAppConfigInfo().userInfo();
            saved.setDz(QJsonValue(QJsonValue::Undefined));
            RVAppConfigInfo().setUserInfo(saved);
        });
        QVERIFY(screen);
        submit(screen, Edits(4));
        QVERIFY(ScreenFixture::visibleAlert());
        QCOMPARE(ScreenFixture::visibleAlert()->message(), u"请把信息填完整"_s);
    }

    void changeReachesTheService()
    {
        ScreenFixture app;
        RVModifyUserInfoController *screen = open(app);
        QVERIFY(screen);
        submit(screen, editRow(3, u"北京市西城区"_s));
        QTRY_VERIFY(ScreenFixture::visibleAlert() != nullptr);
        QCOMPARE(ScreenFixture::visibleAlert()->message(), u"信息修改成功"_s);
        QCOMPARE(app.topIdentifier(), u"personal"_s);

        // The service holds all four values, the untouched ones as they were.
        const std::optional<RVUserInfo> stored = RVProtocol().login(m_account, password);
        QVERIFY(stored && stored->state());
        QCOMPARE(RVBaseInfo::text(stored->dz()), u"北京市西城区"_s);
        QCOMPARE(RVBaseInfo::text(stored->xm()), u"王五"_s);
        QCOMPARE(RVBaseInfo::text(stored->sjhm()), u"13800000000"_s);
        QCOMPARE(RVBaseInfo::text(stored->sfzhm()), u"110101199003071234"_s);
    }

    void savedRecordIsLeftAsItWas()
    {
        ScreenFixture app;
        RVModifyUserInfoController *screen = open(app);
        QVERIFY(screen);
        submit(screen, editRow(0, u"王六"_s));
        QTRY_VERIFY(ScreenFixture::visibleAlert() != nullptr);
        QCOMPARE(ScreenFixture::visibleAlert()->message(), u"信息修改成功"_s);
        QCOMPARE(RVBaseInfo::text(RVAppConfigInfo().userInfo().xm()), u"王五"_s);
    }

    void refusalShowsTheClientMessageAndStays()
    {
        ScreenFixture app;
        // Without a login key nothing can be sent for the user.
        RVModifyUserInfoController *screen = open(app, [] { RVLoginValues::clear(); });
        QVERIFY(screen);
        submit(screen, editRow(3, u"别处"_s));
        QTRY_VERIFY(ScreenFixture::visibleAlert() != nullptr);
        QVERIFY(!ScreenFixture::visibleAlert()->message().isEmpty());
        QVERIFY(ScreenFixture::visibleAlert()->message() != u"信息修改成功");
        QCOMPARE(app.navigation()->topViewController(), screen);
        QCOMPARE(AccountScreenTesting::field(screen->tableView(), 3)->text(), u"别处"_s);
    }
};

QTEST_MAIN(TestRVModifyUserInfoController)
#include "tst_rvmodifyuserinfocontroller.moc"
