// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/alertview.h"
#include "toolkit/animation.h"
#include "toolkit/button.h"
#include "toolkit/collectionview.h"
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

// Numbered rows (each with a button when asked) and grid entries; records what is opened and
// every drag's end with how far it went past the end of the list.
class Rows final : public ui::TableViewDataSource,
                   public ui::TableViewDelegate,
                   public ui::CollectionViewDataSource,
                   public ui::CollectionViewDelegate
{
public:
    int count = 20;
    bool buttons = false;
    QList<int> opened;
    QList<qreal> pulls;

    int numberOfRowsInSection(ui::TableView *, int) override { return count; }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *table,
                                             const ui::IndexPath &path) override
    {
        ui::TableViewCell *cell = table->dequeueReusableCellWithIdentifier(u"row"_s, path);
        for (ui::View *old : cell->contentView()->subviews())
            old->removeFromSuperview();
        if (buttons) {
            auto *button = new ui::Button(ui::ButtonType::RoundedRect, QRectF(10, 5, 80, 30));
            button->setTitle(QString::number(path.row));
            cell->contentView()->addSubview(button);
        }
        return cell;
    }
    void didSelectRowAtIndexPath(ui::TableView *, const ui::IndexPath &path) override
    {
        opened.append(path.row);
    }
    void scrollViewDidEndDragging(ui::ScrollView *scroll, bool) override
    {
        pulls.append(scroll->contentOffset().y() + scroll->height() -
                     scroll->contentSize().height());
    }
    int numberOfItemsInSection(ui::CollectionView *, int) override { return count; }
    ui::CollectionViewCell *cellForItemAtIndexPath(ui::CollectionView *grid,
                                                   const ui::IndexPath &path) override
    {
        return grid->dequeueReusableCellWithReuseIdentifier(u"entry"_s, path);
    }
    void didSelectItemAtIndexPath(ui::CollectionView *, const ui::IndexPath &path) override
    {
        opened.append(path.row);
    }
};

void press(const QString &keys)
{
    for (const QString &key : keys.split(u' ', Qt::SkipEmptyParts)) {
        QWidget *target = QApplication::focusWidget();
        QVERIFY(target);
        if (key == u"Backtab")
            QTest::keyClick(target, Qt::Key_Tab, Qt::ShiftModifier);
        else
            QTest::keyClick(target, Qt::Key(QKeySequence::fromString(key)[0].key()));
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

    // A screen pushed over a root screen, shown in an active window.
    ui::View *screen()
    {
        m_navigation = ui::NavigationController::initWithRootViewController(
            ui::ViewController::create<ui::ViewController>());
        m_navigation->pushViewController(ui::ViewController::create<ui::ViewController>(), false);
        m_window = std::make_unique<ui::Window>();
        m_window->setRootViewController(m_navigation);
        m_window->makeKeyAndVisible();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            qWarning("the window did not become active");
        m_window->setFocus();
        return m_navigation->topViewController()->view();
    }
    template <class List> List *list(ui::View *into)
    {
        auto *list = new List(QRectF(0, 0, 320, 400));
        list->setDataSource(&m_rows);
        list->setDelegate(&m_rows);
        into->addSubview(list);
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

    // Tab goes in reading order, whatever order the views were made in: a form's button made
    // before its fields comes after them; the bar's back button comes first.
    void tabFollowsReadingOrder()
    {
        ui::View *form = screen();
        auto *button = new ui::Button(ui::ButtonType::RoundedRect, QRectF(10, 200, 300, 40));
        button->setTitle(u"登录"_s);
        form->addSubview(button);
        auto *name = new ui::TextField(QRectF(10, 10, 300, 30));
        auto *password = new ui::TextField(QRectF(10, 50, 300, 30));
        form->addSubview(password);
        form->addSubview(name);
        QWidget *back = m_navigation->navigationBar()->backButton();
        const QList<QWidget *> order{back, name->lineEdit(), password->lineEdit(), button, back};
        for (QWidget *expected : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), expected);
        }
        press(u"Backtab"_s);
        QCOMPARE(QApplication::focusWidget(), button);
    }

    void escapeGoesBack_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("alert");
        QTest::addColumn<int>("screensLeft");
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << false << 1;
        QTest::newRow("Alt+Left") << int(Qt::Key_Left) << int(Qt::AltModifier) << false << 1;
        QTest::newRow("Left alone") << int(Qt::Key_Left) << 0 << false << 2;
        QTest::newRow("Escape answers an alert first") << int(Qt::Key_Escape) << 0 << true << 2;
    }
    void escapeGoesBack()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, alert);
        QFETCH(int, screensLeft);
        screen();
        if (alert)
            ui::AlertView::initWithTitle({}, u"确定吗"_s, nullptr, u"取消"_s, {u"确定"_s})->show();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key),
                        Qt::KeyboardModifiers(modifiers));
        QCOMPARE(m_navigation->viewControllers().size(), screensLeft);
        QVERIFY(ui::AlertView::visibleAlerts().isEmpty());
    }

    // The arrows move the current row, Return opens it, and reaching the last row pulls the
    // list past its end as far as a finger asking for more does.
    void tableKeys_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<int>>("opened");
        QTest::addColumn<int>("pulls");
        QTest::newRow("first row on arrival") << u"Return"_s << QList<int>{0} << 0;
        QTest::newRow("down and up") << u"Down Down Up Return"_s << QList<int>{1} << 0;
        QTest::newRow("not above the first") << u"Up Space"_s << QList<int>{0} << 0;
        QTest::newRow("page down") << u"PgDown Return"_s << QList<int>{9} << 0;
        QTest::newRow("to the end pulls") << u"End Return"_s << QList<int>{19} << 1;
        QTest::newRow("down at the end pulls again") << u"End Down Down"_s << QList<int>{} << 3;
    }
    void tableKeys()
    {
        QFETCH(QString, keys);
        QFETCH(QList<int>, opened);
        QFETCH(int, pulls);
        list<ui::TableView>(screen());
        press(keys);
        QCOMPARE(m_rows.opened, opened);
        QCOMPARE(m_rows.pulls.size(), pulls);
        for (qreal past : std::as_const(m_rows.pulls))
            QVERIFY2(past > 65, qPrintable(QString::number(past)));
    }

    void gridKeys()
    {
        m_rows.count = 5;
        auto *grid = list<ui::CollectionView>(screen());
        ui::CollectionViewFlowLayout layout;
        layout.setItemSize({90, 90});
        grid->setCollectionViewLayout(layout);
        // Three entries to a line: right twice to the third, down to the nearest below it.
        press(u"Right Right Down Return Left Space"_s);
        QCOMPARE(m_rows.opened, (QList<int>{4, 3}));
    }

    // Tab brings the rows beyond those in sight into sight, so it reaches every row's button.
    void tabReachesRowsOutOfSight()
    {
        m_rows.buttons = true;
        auto *table = list<ui::TableView>(screen());
        for (int tab = 0; tab < 25; ++tab) {
            press(u"Tab"_s);
            auto *button = qobject_cast<ui::Button *>(QApplication::focusWidget());
            if (button && button->currentTitle() == u"19"_s)
                return;
        }
        QFAIL(qPrintable(u"never reached the last row; the table shows rows %1 to %2"_s
                             .arg(table->indexPathsForVisibleRows().first().row)
                             .arg(table->indexPathsForVisibleRows().last().row)));
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
