// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvdoctorlistpages.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Header = RVDoctorListPages::Header;
Q_DECLARE_METATYPE(Header)

namespace
{
// A page size of -1 stands for an exchange that failed: no doctors and no HTTP answer.
constexpr int kFailed = -1;

// The answer to a request: count doctors numbered on from first.
RVDoctorListPages::Page answer(const RVDoctorListPages::Request &request, int count, int first)
{
    RVDoctorListPages::Page page{request.page, request.generation, {}, count != kFailed};
    for (int n = first; n < first + count; ++n) {
        RVDoctorInfo doctor;
        doctor.setYsmc(u"医生%1"_s.arg(n));
        page.doctors.append(doctor);
    }
    return page;
}

// Takes one page of each size in turn, as pulls bring them.
void pull(RVDoctorListPages &pages, const QList<int> &sizes)
{
    for (int size : sizes) {
        const int first = int(pages.doctorList().size()) + 1;
        QVERIFY(pages.takePage(answer(pages.nextPage(), size, first)));
    }
}

QString lastName(const RVDoctorListPages &pages)
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
        QTest::newRow("a full page leaves the header below the rows")
            << QList<int>{8} << 8 << 1 << Header::BelowRows;
        QTest::newRow("8 + 8 + empty success ends paging")
            << QList<int>{8, 8, 0} << 16 << 2 << Header::Removed;
        QTest::newRow("page of 3 ends paging at once")
            << QList<int>{3} << 3 << 1 << Header::Removed;
        QTest::newRow("8 + 3 ends on the short page")
            << QList<int>{8, 3} << 11 << 2 << Header::Removed;
        QTest::newRow("empty first page") << QList<int>{0} << 0 << 0 << Header::Removed;
        QTest::newRow("failed page keeps paging open")
            << QList<int>{8, kFailed} << 8 << 1 << Header::BelowRows;
        QTest::newRow("failed first page leaves the header alone")
            << QList<int>{kFailed} << 0 << 0 << Header::Unmoved;
    }
    void paging()
    {
        QFETCH(QList<int>, sizes);
        QFETCH(int, rows);
        QFETCH(int, currentPage);
        QFETCH(Header, header);
        RVDoctorListPages pages;
        pull(pages, sizes);
        QCOMPARE(pages.doctorList().size(), rows);
        QCOMPARE(lastName(pages), rows > 0 ? u"医生%1"_s.arg(rows) : QString());
        QCOMPARE(pages.currentPage(), currentPage);
        QCOMPARE(pages.isLastPage(), header == Header::Removed);
        QCOMPARE(pages.header(), header);
        // A failed page is asked for again.
        QCOMPARE(pages.nextPage().page, currentPage + 1);
    }

    // Searches on a list that has loaded the given pages; each search answers with its size.
    void search_data()
    {
        QTest::addColumn<QList<int>>("listPages");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<int>>("found");
        QTest::addColumn<int>("sent");
        QTest::addColumn<Header>("header");
        QTest::newRow("new text replaces the list")
            << QList<int>{8, 8} << QStringList{u"YS"_s} << QList<int>{3} << 1 << Header::Removed;
        QTest::newRow("a full page keeps paging open")
            << QList<int>{8, 8} << QStringList{u"YS"_s} << QList<int>{8} << 1 << Header::BelowRows;
        QTest::newRow("after the list ended, the header comes back")
            << QList<int>{3} << QStringList{u"Y"_s} << QList<int>{8} << 1 << Header::BelowRows;
        QTest::newRow("same text twice sends once")
            << QList<int>{8, 8} << QStringList{u"YS"_s, u"YS"_s} << QList<int>{3} << 1
            << Header::Removed;
        QTest::newRow("other text searches again")
            << QList<int>{8, 8} << QStringList{u"YS"_s, u"ZS"_s} << QList<int>{3, 3} << 2
            << Header::Removed;
        QTest::newRow("empty text is not the unsearched list")
            << QList<int>{8, 8} << QStringList{u""_s} << QList<int>{8} << 1 << Header::BelowRows;
        QTest::newRow("no match") << QList<int>{8, 8} << QStringList{u"QQ"_s} << QList<int>{0} << 1
                                  << Header::Removed;
        QTest::newRow("failed search empties the list")
            << QList<int>{8, 8} << QStringList{u"YS"_s} << QList<int>{kFailed} << 1
            << Header::Unmoved;
        QTest::newRow("failed search is asked again with the same text")
            << QList<int>{8, 8} << QStringList{u"YS"_s, u"YS"_s} << QList<int>{kFailed, 3} << 2
            << Header::Removed;
    }
    void search()
    {
        QFETCH(QList<int>, listPages);
        QFETCH(QStringList, texts);
        QFETCH(QList<int>, found);
        QFETCH(int, sent);
        QFETCH(Header, header);
        RVDoctorListPages pages;
        pull(pages, listPages);
        int searches = 0;
        for (const QString &text : texts) {
            const std::optional<RVDoctorListPages::Request> request = pages.search(text);
            if (!request)
                continue;
            QCOMPARE(request->page, 1);
            QCOMPARE(request->doctorName, text);
            QVERIFY(pages.takeSearch(answer(*request, found.value(searches++), 100)));
        }
        QCOMPARE(searches, sent);
        const int rows = std::max(0, found.value(sent - 1));
        QCOMPARE(pages.doctorList().size(), rows);
        QCOMPARE(lastName(pages), rows > 0 ? u"医生%1"_s.arg(99 + rows) : QString());
        QCOMPARE(pages.doctorName(), texts.last());
        QCOMPARE(pages.header(), header);
        // The next pull asks for the search's next page, by its name.
        const RVDoctorListPages::Request next = pages.nextPage();
        QCOMPARE(next.doctorName, texts.last());
        QCOMPARE(next.page, rows > 0 ? 2 : 1);
    }

    // An answer asked for a list that a later search replaced changes nothing.
    void lateAnswersOfAReplacedListAreDropped_data()
    {
        QTest::addColumn<bool>("lateSearch");
        QTest::newRow("a page of the list before the search") << false;
        QTest::newRow("a search overtaken by another") << true;
    }
    void lateAnswersOfAReplacedListAreDropped()
    {
        QFETCH(bool, lateSearch);
        RVDoctorListPages pages;
        pull(pages, {8});
        const RVDoctorListPages::Request pageBefore = pages.nextPage();
        const std::optional<RVDoctorListPages::Request> first = pages.search(u"Y"_s);
        const RVDoctorListPages::Request late = lateSearch ? *first : pageBefore;
        const std::optional<RVDoctorListPages::Request> search = pages.search(u"Z"_s);
        QVERIFY(search);
        QVERIFY(pages.takeSearch(answer(*search, 8, 100)));
        const RVDoctorListPages::Page page = answer(late, 8, 200);
        QVERIFY(!(lateSearch ? pages.takeSearch(page) : pages.takePage(page)));
        QCOMPARE(pages.doctorList().size(), 8);
        QCOMPARE(lastName(pages), u"医生107"_s);
        QCOMPARE(pages.currentPage(), 1);
        QCOMPARE(pages.doctorName(), u"Z"_s);
    }
};

QTEST_GUILESS_MAIN(TestRVDoctorListPages)
#include "tst_rvdoctorlistpages.moc"
