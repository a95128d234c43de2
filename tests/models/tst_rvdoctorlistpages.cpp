// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvdoctorlistpages.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Pages = RVDoctorListPages;
using Header = Pages::Header;
Q_DECLARE_METATYPE(Header)

namespace
{
constexpr int kFailed = -1; // a page size that stands for an exchange that failed

// The answer to a request: count doctors numbered on from first.
Pages::Page answer(const Pages::Request &request, int count, int first)
{
    Pages::Page page{request.page, request.generation, {}, count != kFailed};
    for (int n = first; n < first + count; ++n) {
        page.doctors.append(RVDoctorInfo());
        page.doctors.last().setYsmc(u"医生%1"_s.arg(n));
    }
    return page;
}

void pull(Pages &pages, const QList<int> &sizes)
{
    for (int size : sizes)
        QVERIFY(pages.takePage(answer(pages.nextPage(), size, pages.doctorList().size() + 1)));
}

QString lastName(const Pages &pages)
{
    return pages.doctorList().isEmpty() ? QString()
                                        : RVBaseInfo::text(pages.doctorList().last().ysmc());
}
} // namespace

class TestRVDoctorListPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void paging_data()
    {
        QTest::addColumn<QList<int>>("sizes");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("currentPage");
        QTest::addColumn<Header>("header");
        QTest::newRow("full page") << QList<int>{8} << 8 << 1 << Header::BelowRows;
        QTest::newRow("8 + 8 + empty success") << QList<int>{8, 8, 0} << 16 << 2 << Header::Removed;
        QTest::newRow("page of 3") << QList<int>{3} << 3 << 1 << Header::Removed;
        QTest::newRow("8 + 3") << QList<int>{8, 3} << 11 << 2 << Header::Removed;
        QTest::newRow("empty first page") << QList<int>{0} << 0 << 0 << Header::Removed;
        QTest::newRow("8 + failed") << QList<int>{8, kFailed} << 8 << 1 << Header::BelowRows;
        QTest::newRow("failed first page") << QList<int>{kFailed} << 0 << 0 << Header::Unmoved;
    }
    void paging()
    {
        QFETCH(QList<int>, sizes);
        QFETCH(int, rows);
        QFETCH(int, currentPage);
        QFETCH(Header, header);
        Pages pages;
        pull(pages, sizes);
        QCOMPARE(pages.doctorList().size(), rows);
        QCOMPARE(lastName(pages), rows > 0 ? u"医生%1"_s.arg(rows) : QString());
        QCOMPARE(pages.currentPage(), currentPage);
        QCOMPARE(pages.isLastPage(), header == Header::Removed);
        QCOMPARE(pages.header(), header);
        QCOMPARE(pages.nextPage().page, currentPage + 1); // a failed page is asked again
    }

    // Searches on a list of the given pages; each search that is sent finds its count.
    void search_data()
    {
        QTest::addColumn<QList<int>>("listPages");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<int>>("found");
        QTest::addColumn<Header>("header");
        const QList<int> two{8, 8};
        const QStringList ys{u"YS"_s};
        const QStringList twice{u"YS"_s, u"YS"_s};
        QTest::newRow("new text replaces the list")
            << two << ys << QList<int>{3} << Header::Removed;
        QTest::newRow("header back after the end")
            << QList<int>{3} << ys << QList<int>{8} << Header::BelowRows;
        QTest::newRow("same text twice sends once")
            << two << twice << QList<int>{3} << Header::Removed;
        QTest::newRow("other text searches again")
            << two << QStringList{u"YS"_s, u"ZS"_s} << QList<int>{3, 3} << Header::Removed;
        QTest::newRow("no match") << two << ys << QList<int>{0} << Header::Removed;
        QTest::newRow("failed search") << two << ys << QList<int>{kFailed} << Header::Unmoved;
        QTest::newRow("failed search, same text again")
            << two << twice << QList<int>{kFailed, 3} << Header::Removed;
    }
    void search()
    {
        QFETCH(QList<int>, listPages);
        QFETCH(QStringList, texts);
        QFETCH(QList<int>, found);
        QFETCH(Header, header);
        Pages pages;
        pull(pages, listPages);
        int sent = 0;
        for (const QString &text : texts) {
            if (const std::optional<Pages::Request> request = pages.search(text)) {
                QCOMPARE(request->page, 1);
                QCOMPARE(request->doctorName, text);
                QVERIFY(pages.takeSearch(answer(*request, found.value(sent++), 100)));
            }
        }
        QCOMPARE(sent, found.size());
        const int rows = std::max(0, found.last());
        QCOMPARE(pages.doctorList().size(), rows);
        QCOMPARE(lastName(pages), rows > 0 ? u"医生%1"_s.arg(99 + rows) : QString());
        QCOMPARE(pages.header(), header);
        // The next pull asks for the search's next page, by its name.
        QCOMPARE(pages.nextPage().doctorName, texts.last());
        QCOMPARE(pages.nextPage().page, rows > 0 ? 2 : 1);
    }

    // An answer asked for a list that a later search replaced changes nothing.
    void lateAnswersAreDropped_data()
    {
        QTest::addColumn<bool>("lateSearch");
        QTest::newRow("a page of the list before the search") << false;
        QTest::newRow("a search overtaken by another") << true;
    }
    void lateAnswersAreDropped()
    {
        QFETCH(bool, lateSearch);
        Pages pages;
        pull(pages, {8});
        const Pages::Request pageBefore = pages.nextPage();
        const Pages::Request late = lateSearch ? *pages.search(u"Y"_s) : pageBefore;
        const std::optional<Pages::Request> search = pages.search(u"Z"_s);
        QVERIFY(pages.takeSearch(answer(*search, 8, 100)));
        const Pages::Page page = answer(late, 8, 200);
        QVERIFY(!(lateSearch ? pages.takeSearch(page) : pages.takePage(page)));
        QCOMPARE(lastName(pages), u"医生107"_s);
        QCOMPARE(pages.currentPage(), 1);
        QCOMPARE(pages.doctorName(), u"Z"_s);
    }
};

QTEST_GUILESS_MAIN(TestRVDoctorListPages)
#include "tst_rvdoctorlistpages.moc"
