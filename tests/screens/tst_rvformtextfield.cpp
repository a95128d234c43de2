// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/shared/rvformtextfield.h"

#include "accountscreentesting.h"
#include "screenfixture.h"
#include "toolkit/alertview.h"
#include "toolkit/button.h"
#include "toolkit/color.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/textfield.h"
#include "toolkit/viewcontroller.h"
#include "toolkit/window.h"

#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

class TestRVFormTextField : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void fieldOfARow_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("placeholder");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("secure");
        QTest::newRow("name row, empty, placeholder") << 0 << u"帐户"_s << QString() << false;
        QTest::newRow("name row, pre-filled") << 0 << QString() << u"li"_s << false;
        QTest::newRow("password row: secure") << 1 << u"密码"_s << QString() << true;
        QTest::newRow("a later row keeps what was typed")
            << 6 << u"家庭住址"_s << u"北京"_s << false;
    }

    // What every form row shares: size, tag, keyboard, clear button, colour, and the field as
    // the row's accessory on a white row that cannot be selected.
    void fieldOfARow()
    {
        QFETCH(int, row);
        QFETCH(QString, placeholder);
        QFETCH(QString, text);
        QFETCH(bool, secure);
        auto cell =
            std::make_unique<ui::TableViewCell>(ui::TableViewCellStyle::Default, u"ReuseTabCell"_s);
        ui::TextField *field =
            RVFormTextField::install(cell.get(), {row, placeholder, text, secure}, nullptr);
        QCOMPARE(cell->accessoryView(), field);
        QCOMPARE(cell->selectionStyle(), ui::TableViewCellSelectionStyle::None);
        QCOMPARE(cell->backgroundColor(), ui::Color::whiteColor());
        QCOMPARE(field->frame().size(), QSizeF(280, 31));
        QCOMPARE(field->tag(), row);
        QCOMPARE(field->placeholder(), placeholder);
        QCOMPARE(field->text(), text);
        QCOMPARE(field->isSecureTextEntry(), secure);
        QCOMPARE(field->returnKeyType(), ui::ReturnKeyType::Done);
        QCOMPARE(field->clearButtonMode(), ui::TextFieldViewMode::WhileEditing);
        QCOMPARE(field->contentVerticalAlignment(), ui::ContentVerticalAlignment::Center);
        QCOMPARE(field->backgroundColor(), ui::Color::whiteColor());
    }

    // Every change hands over the whole text with the row's tag; "Done" closes the keyboard
    // and hands over nothing.
    void changesAndDone()
    {
        ui::Window window;
        auto screen = std::make_shared<ui::ViewController>();
        window.setRootViewController(screen);
        QList<std::pair<int, QString>> seen;
        ui::TextField *field = RVFormTextField::make({3, u"身份证号码"_s, QString(), false},
                                                     [&seen](int tag, const QString &text) {
                                                         seen.append({tag, text});
                                                     });
        screen->view()->addSubview(field);
        window.makeKeyAndVisible();
        QVERIFY(field->becomeFirstResponder());
        QTest::keyClicks(field->lineEdit(), u"110"_s);
        QCOMPARE(seen.size(), 3);
        QCOMPARE(seen.last(), std::make_pair(3, u"110"_s));
        QTest::keyClick(field->lineEdit(), Qt::Key_Backspace);
        QCOMPARE(seen.last(), std::make_pair(3, u"11"_s));
        const qsizetype before = seen.size();
        QTest::keyClick(field->lineEdit(), Qt::Key_Return);
        QVERIFY(!field->isFirstResponder());
        QCOMPARE(seen.size(), before);
    }

    void keyboardReachesTheButton_data()
    {
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("alert");
        QTest::newRow("login") << u"login"_s << u"登录"_s << u"请填写用户名"_s;
        QTest::newRow("registration") << u"register"_s << u"注册"_s << u"请把信息填完整"_s;
        QTest::newRow("profile") << u"modifyUserInfo"_s << u"提 交"_s << u"请把信息填完整"_s;
        QTest::newRow("password") << u"modifyPasswd"_s << u"更 改"_s << u"请把信息填完整"_s;
    }
    // Return in a form's last field presses its button; Tab there reaches the button.
    void keyboardReachesTheButton()
    {
        QFETCH(QString, identifier);
        QFETCH(QString, button);
        QFETCH(QString, alert);
        ScreenFixture::forgetLogin();
        ScreenFixture app;
        app.launch();
        auto *table = AccountScreenTesting::push(app.navigation(), identifier)
                          ->view()
                          ->findChild<ui::TableView *>();
        ui::TextField *field =
            AccountScreenTesting::field(table, table->numberOfRowsInSection(0) - 1);
        QTest::keyClick(field->lineEdit(), Qt::Key_Tab);
        auto *focused = qobject_cast<ui::Button *>(field->window()->focusWidget());
        QCOMPARE(focused ? focused->currentTitle() : QString(), button);
        QTest::keyClick(field->lineEdit(), Qt::Key_Return);
        ui::AlertView *shown = ScreenFixture::visibleAlert();
        QCOMPARE(shown ? shown->message() : QString(), alert);
    }
};

QTEST_MAIN(TestRVFormTextField)
#include "tst_rvformtextfield.moc"
