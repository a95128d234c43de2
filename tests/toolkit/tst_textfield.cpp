// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/textfield.h"
#include "toolkit/window.h"

#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

class TestTextField : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void editingChangedCarriesEveryUserChange()
    {
        ui::TextField field(QRectF(0, 0, 280, 31));
        field.setTag(1);
        field.setSecureTextEntry(true);
        field.setReturnKeyType(ui::ReturnKeyType::Done);
        QStringList seen;
        int done = 0;
        field.addTarget(
            [&](ui::Control *sender) {
                QCOMPARE(sender->tag(), 1);
                seen.append(static_cast<ui::TextField *>(sender)->text());
            },
            ui::ControlEvent::EditingChanged);
        field.addTarget([&] { ++done; }, ui::ControlEvent::EditingDidEndOnExit);
        field.setText(u"preset"_s); // not a user edit
        QVERIFY(seen.isEmpty());
        field.lineEdit()->clear();
        QTest::keyClicks(field.lineEdit(), u"ab"_s);
        QCOMPARE(seen, QStringList({u"a"_s, u"ab"_s}));
        QTest::keyClick(field.lineEdit(), Qt::Key_Backspace);
        QCOMPARE(seen.last(), u"a"_s);
        QCOMPARE(done, 0);
        QTest::keyClick(field.lineEdit(), Qt::Key_Return);
        QCOMPARE(done, 1);
        QCOMPARE(field.text(), u"a"_s);
        QCOMPARE(field.lineEdit()->echoMode(), QLineEdit::Password);
    }

    void doneResignsTheKeyboard()
    {
        ui::Window window;
        auto *field = new ui::TextField(QRectF(20, 20, 280, 31));
        field->setParent(&window);
        field->show();
        window.makeKeyAndVisible();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        int began = 0;
        int ended = 0;
        field->addTarget([&] { ++began; }, ui::ControlEvent::EditingDidBegin);
        field->addTarget([&] { ++ended; }, ui::ControlEvent::EditingDidEnd);
        field->addTarget(
            [&](ui::Control *sender) {
                static_cast<ui::TextField *>(sender)->resignFirstResponder();
            },
            ui::ControlEvent::EditingDidEndOnExit);
        QVERIFY(field->becomeFirstResponder());
        QVERIFY(field->isFirstResponder());
        QCOMPARE(began, 1);
        QTest::keyClick(field->lineEdit(), Qt::Key_Return);
        QVERIFY(!field->isFirstResponder());
        QVERIFY(!field->lineEdit()->hasFocus());
        QCOMPARE(ended, 1);
    }
};

QTEST_MAIN(TestTextField)
#include "tst_textfield.moc"
