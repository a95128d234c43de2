// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/alertview.h"
#include "toolkit/alertviewdelegate.h"
#include "toolkit/button.h"
#include "toolkit/window.h"

#include <QApplication>
#include <QPointer>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{
class Listener final : public ui::AlertViewDelegate
{
public:
    QList<int> clicked;
    void alertViewClickedButtonAtIndex(ui::AlertView *, int index) override
    {
        clicked.append(index);
    }
};
} // namespace

class TestAlertView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void buttonIndexReachesTheDelegate_data()
    {
        QTest::addColumn<QString>("cancel");
        QTest::addColumn<QStringList>("others");
        QTest::addColumn<QString>("tapped");
        QTest::addColumn<int>("index");
        QTest::newRow("cancel of two") << u"关闭"_s << QStringList{u"更新"_s} << u"关闭"_s << 0;
        QTest::newRow("other of two") << u"关闭"_s << QStringList{u"更新"_s} << u"更新"_s << 1;
        QTest::newRow("single") << u"确定"_s << QStringList() << u"确定"_s << 0;
        QTest::newRow("no cancel") << QString() << QStringList{u"甲"_s, u"乙"_s} << u"乙"_s << 1;
        QTest::newRow("three") << u"取消"_s << QStringList{u"甲"_s, u"乙"_s} << u"乙"_s << 2;
    }
    void buttonIndexReachesTheDelegate()
    {
        QFETCH(QString, cancel);
        QFETCH(QStringList, others);
        QFETCH(QString, tapped);
        QFETCH(int, index);
        ui::Window window;
        window.makeKeyAndVisible();
        Listener listener;
        auto *alert = ui::AlertView::initWithTitle(u"更新"_s, u"有新的版本更新，是否前往更新"_s,
                                                   &listener, cancel, others);
        alert->show();
        QCOMPARE(ui::AlertView::visibleAlerts(), QList<ui::AlertView *>({alert}));
        QCOMPARE(alert->parentWidget(), &window);
        QCOMPARE(alert->frame(), QRectF(0, 0, 320, 568));
        ui::Button *button = nullptr;
        for (ui::Button *candidate : alert->buttons()) {
            if (candidate->currentTitle() == tapped)
                button = candidate;
        }
        QVERIFY(button);
        QVERIFY(button->isVisibleTo(&window));
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        QCOMPARE(listener.clicked, QList<int>({index}));
        QVERIFY(ui::AlertView::visibleAlerts().isEmpty());
        QPointer<ui::AlertView> gone(alert);
        QTRY_VERIFY(!gone);
    }

    // Enter presses the default button (the first other one, else cancel), Escape the cancel
    // button; an alert without a cancel button ignores Escape.
    void keysPressTheButtons_data()
    {
        QTest::addColumn<QString>("cancel");
        QTest::addColumn<QStringList>("others");
        QTest::addColumn<int>("key");
        QTest::addColumn<QList<int>>("clicked");
        const QStringList update{u"更新"_s};
        QTest::newRow("enter, cancel and other")
            << u"关闭"_s << update << int(Qt::Key_Return) << QList<int>{1};
        QTest::newRow("keypad enter") << u"关闭"_s << update << int(Qt::Key_Enter) << QList<int>{1};
        QTest::newRow("escape, cancel and other")
            << u"关闭"_s << update << int(Qt::Key_Escape) << QList<int>{0};
        QTest::newRow("enter, single button")
            << u"确定"_s << QStringList() << int(Qt::Key_Return) << QList<int>{0};
        QTest::newRow("escape, single button")
            << u"确定"_s << QStringList() << int(Qt::Key_Escape) << QList<int>{0};
        QTest::newRow("escape without cancel")
            << QString() << QStringList{u"甲"_s, u"乙"_s} << int(Qt::Key_Escape) << QList<int>{};
        QTest::newRow("another key") << u"关闭"_s << update << int(Qt::Key_A) << QList<int>{};
    }
    void keysPressTheButtons()
    {
        QFETCH(QString, cancel);
        QFETCH(QStringList, others);
        QFETCH(int, key);
        QFETCH(QList<int>, clicked);
        ui::Window window;
        window.makeKeyAndVisible();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        Listener listener;
        auto *alert = ui::AlertView::initWithTitle(u"t"_s, u"m"_s, &listener, cancel, others);
        QPointer<ui::AlertView> watch(alert);
        alert->show();
        QTRY_VERIFY(alert->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(listener.clicked, clicked);
        QCOMPARE(ui::AlertView::visibleAlerts().isEmpty(), !clicked.isEmpty());
        if (watch)
            watch->dismissWithClickedButtonIndex(0, false);
    }

    // The screen beneath never shows through the box or its buttons.
    void boxAndButtonsAreOpaque()
    {
        QList<QImage> shots;
        for (const QColor &beneath : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::white)}) {
            ui::Window window;
            auto *screen = new ui::View(QRectF(0, 0, 320, 568), &window);
            screen->setBackgroundColor(beneath);
            window.makeKeyAndVisible();
            auto *alert = ui::AlertView::initWithTitle(QString(), QString(), nullptr, u"确定"_s);
            alert->show();
            // Only the box: the backdrop outside it is dimmed on purpose.
            ui::Button *button = alert->buttons().value(0);
            QVERIFY(button);
            const QRect box = button->geometry().adjusted(-8, -8, 8, 8);
            shots.append(window.grab(box).toImage());
            alert->dismissWithClickedButtonIndex(0, false);
        }
        QCOMPARE(shots.at(0), shots.at(1));
        QCOMPARE(shots.at(0), shots.at(2));
    }

    void goneDelegateIsNotCalled()
    {
        ui::Window window;
        window.makeKeyAndVisible();
        auto listener = std::make_unique<Listener>();
        auto *alert = new ui::AlertView(QString(), u"请先登录"_s, listener.get(), u"确定"_s);
        alert->show();
        listener.reset(); // the screen went away while the alert was up
        alert->clickButtonAtIndex(0);
        QVERIFY(ui::AlertView::visibleAlerts().isEmpty());
    }

    void dismissWithoutClick()
    {
        Listener listener;
        auto *alert = new ui::AlertView(QString(), u"m"_s, &listener, u"确定"_s);
        alert->show(); // no window: listed but not drawn
        QCOMPARE(ui::AlertView::visibleAlerts().size(), 1);
        alert->dismissWithClickedButtonIndex(0, false);
        QVERIFY(listener.clicked.isEmpty());
        QVERIFY(ui::AlertView::visibleAlerts().isEmpty());
    }
};

QTEST_MAIN(TestAlertView)
#include "tst_alertview.moc"
