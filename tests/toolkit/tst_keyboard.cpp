// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/alertview.h"
#include "toolkit/animation.h"
#include "toolkit/button.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/tableview.h"
#include "toolkit/textfield.h"
#include "toolkit/window.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

// Rows (each with a button when asked); records what is opened, and how far past the end of
// the list each drag went when it ended.
class Rows final : public ui::TableViewDataSource, public ui::TableViewDelegate
{
public:
    int count = 20;
    bool buttons = false;
    QList<int> opened;
    QList<qreal> pulls;

    int numberOfRowsInSection(ui::TableView *, int) override { return count; }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *, const ui::IndexPath &path) override
    {
        auto *cell = new ui::TableViewCell;
        auto *button = new ui::Button(ui::ButtonType::RoundedRect, QRectF(10, 5, 80, 30));
        button->setTitle(QString::number(path.row));
        button->setHidden(!buttons);
        cell->addSubview(button);
        return cell;
    }
    void didSelectRowAtIndexPath(ui::TableView *, const ui::IndexPath &p) override
    {
        opened << p.row;
    }
    void scrollViewDidEndDragging(ui::ScrollView *list, bool) override
    {
        pulls.append(list->contentOffset().y() + list->height() - list->contentSize().height());
    }
};

// Keys by name, each pressed where the focus is.
void press(const QString &keys)
{
    for (const QString &key : keys.split(u' ')) {
        const QKeyCombination combination = QKeySequence::fromString(key)[0];
        QTest::keyClick(QApplication::focusWidget(), combination.key(),
                        combination.keyboardModifiers());
    }
}

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ui::Window> m_window;
    std::shared_ptr<ui::NavigationController> m_navigation;
    Rows m_rows;

    // A second screen on the stack, in an active window that holds the focus.
    ui::View *screen()
    {
        m_navigation = ui::NavigationController::initWithRootViewController(
            ui::ViewController::create<ui::ViewController>());
        m_navigation->pushViewController(ui::ViewController::create<ui::ViewController>(), false);
        m_window = std::make_unique<ui::Window>();
        m_window->setRootViewController(m_navigation);
        m_window->makeKeyAndVisible();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            qWarning("the window is not active");
        m_window->setFocus();
        return m_navigation->topViewController()->view();
    }
    ui::TableView *focusedList()
    {
        auto *list = new ui::TableView(QRectF(0, 0, 320, 400));
        list->setDataSource(&m_rows);
        list->setDelegate(&m_rows);
        screen()->addSubview(list);
        list->reloadData();
        list->setFocus(Qt::TabFocusReason);
        return list;
    }

private Q_SLOTS:
    void initTestCase() { ui::Animation::setDisabledForTests(true); }
    void init() { m_rows = Rows(); }
    void cleanup()
    {
        m_window.reset();
        m_navigation.reset();
    }

    // Reading order, whatever order the views were made in: a form's button made before its
    // fields comes after them, the bar's back button first.
    void tabFollowsReadingOrder()
    {
        ui::View *form = screen();
        auto *button = new ui::Button(ui::ButtonType::RoundedRect, QRectF(10, 200, 300, 40));
        auto *name = new ui::TextField(QRectF(10, 10, 300, 30));
        auto *password = new ui::TextField(QRectF(10, 50, 300, 30));
        for (ui::View *view : QList<ui::View *>{button, password, name})
            form->addSubview(view);
        QWidget *back = m_navigation->navigationBar()->backButton();
        for (QWidget *next :
             QList<QWidget *>{back, name->lineEdit(), password->lineEdit(), button, back}) {
            press(u"Tab"_s);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        press(u"Shift+Tab"_s);
        QCOMPARE(QApplication::focusWidget(), button);
    }

    void escapeGoesBack_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("alert");
        QTest::addColumn<int>("screensLeft");
        QTest::newRow("Escape") << u"Esc"_s << false << 1;
        QTest::newRow("Alt+Left") << u"Alt+Left"_s << false << 1;
        QTest::newRow("Escape answers an alert first") << u"Esc"_s << true << 2;
    }
    void escapeGoesBack()
    {
        QFETCH(QString, key);
        QFETCH(bool, alert);
        QFETCH(int, screensLeft);
        screen();
        if (alert)
            ui::AlertView::initWithTitle({}, u"确定吗"_s, nullptr, u"取消"_s, {u"确定"_s})->show();
        press(key);
        QCOMPARE(m_navigation->viewControllers().size(), screensLeft);
        QVERIFY(ui::AlertView::visibleAlerts().isEmpty());
    }

    // Reaching the last row pulls the list past its end as far as a finger asking for more.
    void tableKeys_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<int>>("opened");
        QTest::addColumn<int>("pulls");
        QTest::newRow("first row on arrival") << u"Return"_s << QList<int>{0} << 0;
        QTest::newRow("down and up") << u"Down Down Up Return"_s << QList<int>{1} << 0;
        QTest::newRow("not above the first") << u"Up Space"_s << QList<int>{0} << 0;
        QTest::newRow("a page down") << u"PgDown Return"_s << QList<int>{9} << 0;
        QTest::newRow("to the end pulls") << u"End Return"_s << QList<int>{19} << 1;
        QTest::newRow("down at the end pulls again") << u"End Down Down"_s << QList<int>{} << 3;
    }
    void tableKeys()
    {
        QFETCH(QString, keys);
        QFETCH(QList<int>, opened);
        QFETCH(int, pulls);
        focusedList();
        press(keys);
        QCOMPARE(m_rows.opened, opened);
        QCOMPARE(m_rows.pulls.size(), pulls);
        QVERIFY(
            std::all_of(m_rows.pulls.begin(), m_rows.pulls.end(), [](qreal p) { return p > 65; }));
    }

    // Tab brings rows beyond those in sight into sight, so it reaches every row's button.
    void tabReachesRowsOutOfSight()
    {
        m_rows.buttons = true;
        focusedList();
        for (int tab = 0; tab < 25; ++tab) {
            press(u"Tab"_s);
            auto *button = qobject_cast<ui::Button *>(QApplication::focusWidget());
            if (button && button->currentTitle() == u"19"_s)
                return;
        }
        QFAIL("Tab never reached the last row's button");
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
