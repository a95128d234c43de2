// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/button.h"
#include "toolkit/searchbar.h"
#include "toolkit/window.h"

#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

// Logs every delegate call as a word, and answers the two questions as told.
class Log final : public ui::SearchBarDelegate
{
public:
    QStringList calls;
    bool mayBegin = true;
    bool mayEnd = true;

    bool searchBarShouldBeginEditing(ui::SearchBar *) override
    {
        calls.append(u"shouldBegin"_s);
        return mayBegin;
    }
    void searchBarTextDidBeginEditing(ui::SearchBar *) override { calls.append(u"began"_s); }
    bool searchBarShouldEndEditing(ui::SearchBar *) override
    {
        calls.append(u"shouldEnd"_s);
        return mayEnd;
    }
    void searchBarTextDidEndEditing(ui::SearchBar *) override { calls.append(u"ended"_s); }
    void textDidChange(ui::SearchBar *, const QString &text) override
    {
        calls.append(u"changed:"_s + text);
    }
    void searchBarSearchButtonClicked(ui::SearchBar *) override { calls.append(u"search"_s); }
    void searchBarCancelButtonClicked(ui::SearchBar *) override { calls.append(u"cancel"_s); }
};

} // namespace

class TestSearchBar : public QObject
{
    Q_OBJECT

    std::unique_ptr<ui::Window> m_window;
    ui::SearchBar *m_bar = nullptr;
    Log m_log;

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        m_window = std::make_unique<ui::Window>();
        m_bar = new ui::SearchBar(QRectF(0, 0, 320, 44));
        m_bar->setParent(m_window.get());
        m_bar->show();
        m_log = Log();
        m_bar->setDelegate(&m_log);
        m_window->makeKeyAndVisible();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_bar->resignFirstResponder();
        m_log.calls.clear();
    }
    void cleanup() { m_window.reset(); }

    void delegateHearsTheEditing_data()
    {
        QTest::addColumn<bool>("mayBegin");
        QTest::addColumn<bool>("mayEnd");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("respondsAfter");
        QTest::newRow("type, search, resign")
            << true << true << u"xh"_s
            << QStringList({u"shouldBegin"_s, u"began"_s, u"changed:x"_s, u"changed:xh"_s,
                            u"search"_s, u"shouldEnd"_s, u"ended"_s})
            << false;
        QTest::newRow("refused to begin: nothing typed reaches it")
            << false << true << u"x"_s << QStringList({u"shouldBegin"_s}) << false;
        QTest::newRow("refused to end: keeps the keyboard")
            << true << false << QString()
            << QStringList({u"shouldBegin"_s, u"began"_s, u"search"_s, u"shouldEnd"_s}) << true;
    }
    void delegateHearsTheEditing()
    {
        QFETCH(bool, mayBegin);
        QFETCH(bool, mayEnd);
        QFETCH(QString, typed);
        QFETCH(QStringList, calls);
        QFETCH(bool, respondsAfter);
        m_log.mayBegin = mayBegin;
        m_log.mayEnd = mayEnd;
        QCOMPARE(m_bar->becomeFirstResponder(), mayBegin);
        if (mayBegin) {
            QTest::keyClicks(m_bar->lineEdit(), typed);
            QTest::keyClick(m_bar->lineEdit(), Qt::Key_Return);
        }
        QCOMPARE(m_bar->resignFirstResponder(), mayEnd || !mayBegin);
        QCOMPARE(m_log.calls.mid(0, calls.size()), calls);
        QCOMPARE(m_bar->isFirstResponder(), respondsAfter);
        QCOMPARE(m_bar->text(), mayBegin ? typed : QString());
    }

    void refusedTapLeavesTheFieldUnfocused()
    {
        m_log.mayBegin = false;
        QTest::mouseClick(m_bar->lineEdit(), Qt::LeftButton, {},
                          m_bar->lineEdit()->rect().center());
        QCoreApplication::processEvents();
        QVERIFY(!m_bar->lineEdit()->hasFocus());
        QVERIFY(!m_bar->isFirstResponder());
        // Asked (by the tap, and again should the editor get the focus), never begun.
        QVERIFY(!m_log.calls.isEmpty());
        QCOMPARE(m_log.calls.count(u"shouldBegin"_s), m_log.calls.size());
    }

    void setTextIsNotAUserChange()
    {
        m_bar->setText(u"北京"_s);
        QCOMPARE(m_bar->text(), u"北京"_s);
        QVERIFY(!m_log.calls.contains(u"changed:北京"_s));
    }

    void cancelButtonShowsOnlyWhenAskedAndReports_data()
    {
        QTest::addColumn<bool>("shows");
        QTest::newRow("shown") << true;
        QTest::newRow("not shown") << false;
    }
    void cancelButtonShowsOnlyWhenAskedAndReports()
    {
        QFETCH(bool, shows);
        m_bar->setShowsCancelButton(shows);
        ui::Button *cancel = m_bar->cancelButton();
        QCOMPARE(cancel->QWidget::isVisible(), shows);
        // The field leaves room for the button only when it is there.
        QCOMPARE(m_bar->lineEdit()->geometry().right() < int(cancel->frame().left()), shows);
        if (shows) {
            QTest::mouseClick(cancel, Qt::LeftButton, {}, cancel->rect().center());
            QCOMPARE(m_log.calls, QStringList{u"cancel"_s});
        }
    }
};

QTEST_MAIN(TestSearchBar)
#include "tst_searchbar.moc"
