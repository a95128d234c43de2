// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// The doctor list over 10,000 doctors (filled directly, no photographs) scrolled from top to
// bottom one screen height per step, beside a QListView over a QStandardItemModel of as many
// rows of the same height showing the doctor's name, scrolled by the same steps; both repaint
// after every step on the offscreen platform. Prints the median time per step, their ratio,
// the largest number of live cell widgets against the rows in sight, and the time to append
// one page of eight doctors to lists of 100, 1,000 and 10,000.
#include "rvresources.h"
#include "screens/browse/rvdoctorlistviewcontroller.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace
{
constexpr int kDoctors = 10000;
constexpr int kRowHeight = 95;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

QList<RVDoctorInfo> doctors(int first, int count)
{
    QList<RVDoctorInfo> list;
    list.reserve(count);
    for (int n = first; n < first + count; ++n) {
        RVDoctorInfo doctor;
        doctor.setYsdm(u"D%1"_s.arg(n));
        doctor.setYsmc(u"医生%1"_s.arg(n));
        doctor.setYszc(u"主任医师"_s);
        doctor.setYymc(u"滨江市第一人民医院"_s);
        doctor.setScjb(u"擅长：冠心病、高血压"_s);
        list.append(doctor);
    }
    return list;
}

// A doctor list that lists the given doctors and asks the service for nothing.
std::shared_ptr<RVDoctorListViewController> doctorList(int count)
{
    ui::Storyboard::storyboardWithName(u"MainStoryboard"_s)
        ->registerViewController(u"doctorList"_s, [] {
            return ui::ViewController::create<RVDoctorListViewController>();
        });
    // A department's list has no search bar: the table fills the view.
    auto screen = RVDoctorListViewController::instantiateFor(QString(), u"bench"_s, QString());
    // Taken before the view loads, so that the screen asks for no first page.
    RVDoctorListPages::Page all;
    all.page = 1;
    all.doctors = doctors(1, count);
    all.HTTPResponseOK = true;
    screen->requestNextPageFinish(all);
    screen->view()->show();
    screen->tableView()->reloadData();
    return screen;
}

struct Scroll {
    double medianMs = 0;
    int maxLiveCells = 0;
    int maxCellObjects = 0;
    int maxRowsInSight = 0;
};

Scroll scrollDoctorList()
{
    auto screen = doctorList(kDoctors);
    ui::TableView *table = screen->tableView();
    const qreal step = table->height();
    const qreal end = table->maximumContentOffset().y();
    Scroll result;
    std::vector<double> times;
    QElapsedTimer timer;
    for (qreal y = 0; y <= end; y += step) {
        timer.start();
        table->setContentOffset(QPointF(0, y));
        screen->view()->repaint();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        int live = 0;
        const auto cells = table->findChildren<ui::TableViewCell *>();
        for (const ui::TableViewCell *cell : cells)
            live += cell->isVisible() ? 1 : 0;
        result.maxLiveCells = std::max(result.maxLiveCells, live);
        result.maxCellObjects = std::max(result.maxCellObjects, int(cells.size()));
        result.maxRowsInSight =
            std::max(result.maxRowsInSight, int(table->indexPathsForVisibleRows().size()));
        // Cells a reload or a scroll released go on the event loop's turn, as in the app.
        QCoreApplication::processEvents();
    }
    result.medianMs = median(times);
    return result;
}

double scrollListView(const QSize &viewport)
{
    QStandardItemModel model;
    for (int n = 1; n <= kDoctors; ++n) {
        auto *item = new QStandardItem(u"医生%1"_s.arg(n));
        item->setSizeHint(QSize(viewport.width(), kRowHeight));
        model.appendRow(item);
    }
    QListView view;
    view.setModel(&model);
    view.setUniformItemSizes(true);
    view.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view.resize(viewport);
    view.show();
    QCoreApplication::processEvents();
    QScrollBar *bar = view.verticalScrollBar();
    const int step = view.viewport()->height();
    std::vector<double> times;
    QElapsedTimer timer;
    for (int y = 0; y <= bar->maximum(); y += step) {
        timer.start();
        bar->setValue(y);
        view.repaint();
        view.viewport()->repaint();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    return median(times);
}

// The main-thread half of a page's arrival: append, place the header, reload.
double appendPage(int length)
{
    auto screen = doctorList(length);
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < 41; ++i) {
        const RVDoctorListPages::Request next = screen->pages().nextPage();
        RVDoctorListPages::Page page;
        page.page = next.page;
        page.generation = next.generation;
        page.doctors = doctors(length + 1 + i * 8, 8);
        page.HTTPResponseOK = true;
        timer.start();
        screen->requestNextPageFinish(page);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    return median(times);
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    RVResources::initialise();

    const Scroll doctorScroll = scrollDoctorList();
    const QSize viewport = doctorList(1)->tableView()->size();
    const double listViewMs = scrollListView(viewport);
    std::printf("scroll over %d rows, one screen (%dx%d) per step, repaint each step\n", kDoctors,
                viewport.width(), viewport.height());
    std::printf("  doctor list  median %.3f ms/step\n", doctorScroll.medianMs);
    std::printf("  QListView    median %.3f ms/step\n", listViewMs);
    std::printf("  ratio %.2f (goal <= 2.0)\n",
                listViewMs > 0 ? doctorScroll.medianMs / listViewMs : 0.0);
    std::printf("  live cell widgets at most %d, cell objects at most %d, rows in sight at most "
                "%d (goal: live <= rows in sight + 2)\n",
                doctorScroll.maxLiveCells, doctorScroll.maxCellObjects,
                doctorScroll.maxRowsInSight);
    std::printf("append one page of 8 (median of 41)\n");
    for (int length : {100, 1000, 10000})
        std::printf("  to %5d doctors  %.3f ms\n", length, appendPage(length));
    return 0;
}
