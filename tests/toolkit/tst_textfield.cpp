// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/textfield.h"
#include "toolkit/window.h"

#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

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

    void verticalAlignmentIsApplied_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("textAlignment");
        QTest::addColumn<int>("expected");
        using V = ui::ContentVerticalAlignment;
        using H = ui::TextAlignment;
        QTest::newRow("centred") << int(V::Center) << int(H::Left)
                                 << int(Qt::AlignLeft | Qt::AlignVCenter);
        QTest::newRow("top") << int(V::Top) << int(H::Left) << int(Qt::AlignLeft | Qt::AlignTop);
        QTest::newRow("bottom, right-aligned text")
            << int(V::Bottom) << int(H::Right) << int(Qt::AlignRight | Qt::AlignBottom);
        QTest::newRow("fill counts as centred")
            << int(V::Fill) << int(H::Center) << int(Qt::AlignHCenter | Qt::AlignVCenter);
    }
    void verticalAlignmentIsApplied()
    {
        QFETCH(int, alignment);
        QFETCH(int, textAlignment);
        QFETCH(int, expected);
        ui::TextField field(QRectF(0, 0, 280, 31));
        // The order of the two settings does not matter: neither undoes the other.
        field.setContentVerticalAlignment(ui::ContentVerticalAlignment::Top);
        field.setTextAlignment(ui::TextAlignment(textAlignment));
        field.setContentVerticalAlignment(ui::ContentVerticalAlignment(alignment));
        QCOMPARE(int(field.lineEdit()->alignment()), expected);
        field.setTextAlignment(ui::TextAlignment(textAlignment));
        QCOMPARE(int(field.lineEdit()->alignment()), expected);
    }

    void clearButtonReportsTheEmptyText_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("reported");
        QTest::newRow("text cleared") << u"13800000000"_s << QStringList{QString()};
        QTest::newRow("already empty: nothing changes") << QString() << QStringList();
    }
    void clearButtonReportsTheEmptyText()
    {
        QFETCH(QString, before);
        QFETCH(QStringList, reported);
        ui::Window window;
        auto *field = new ui::TextField(QRectF(20, 20, 280, 31));
        field->setParent(&window);
        field->show();
        field->setClearButtonMode(ui::TextFieldViewMode::Always);
        field->setText(before);
        window.makeKeyAndVisible();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QStringList seen;
        field->addTarget(
            [&](ui::Control *sender) { seen.append(static_cast<ui::TextField *>(sender)->text()); },
            ui::ControlEvent::EditingChanged);
        // The clear button is the editor's own icon button at its trailing end.
        const auto icons = field->lineEdit()->findChildren<QToolButton *>();
        QCOMPARE(icons.size(), 1);
        QTest::mouseClick(icons.first(), Qt::LeftButton, {}, icons.first()->rect().center());
        QCOMPARE(field->text(), QString());
        QCOMPARE(seen, reported);
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
