// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvscreenshot.h"

#include "app/rvappdelegate.h"
#include "app/rvmainstoryboard.h"
#include "components/rvasynimageview.h"
#include "components/ztprogresshud.h"
#include "models/rvbooking.h"
#include "platform/background.h"
#include "platform/userdefaults.h"
#include "platform/workpool.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvnetworklayer.h"
#include "protocols/rvprotocol.h"
#include "screens/booking/rvdoctorcontroller.h"
#include "screens/booking/rvreservationinfocontroller.h"
#include "screens/booking/rvreservationtimeelectcontroller.h"
#include "screens/browse/rvdepartmentlistcontroller.h"
#include "screens/browse/rvdetailinfoviewcontroller.h"
#include "screens/browse/rvdoctorlistviewcontroller.h"
#include "screens/browse/rvhospitalinfoviewcontroller.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/storyboard.h"
#include "toolkit/window.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <utility>

using namespace Qt::StringLiterals;

namespace
{
// A screen counts as settled when nothing has loaded or moved for this long: long enough for
// the gap between a worker's end and its finish on the main thread, and for the overlay's fade.
constexpr int kPollMs = 100;
constexpr int kQuietPolls = 8;
constexpr qint64 kSettleLimitMs = 20000;

ui::Storyboard *storyboard()
{
    return ui::Storyboard::storyboardWithName(u"MainStoryboard"_s);
}

QString hospitalCode(const std::optional<RVHospitalInfo> &hospital)
{
    return hospital ? RVBaseInfo::text(hospital->hospid()) : QString();
}
} // namespace

RVScreenshot::RVScreenshot(const RVAppOptions &options, QObject *parent)
    : QObject(parent), m_options(options)
{
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, [this] {
        m_quietPolls = settled() ? m_quietPolls + 1 : 0;
        if (m_quietPolls >= kQuietPolls) {
            m_poll.stop();
            std::exchange(m_then, {})();
        } else if (m_waited.elapsed() > kSettleLimitMs) {
            finish(1, u"the screen was still loading after %1 s"_s.arg(kSettleLimitMs / 1000));
        }
    });
}

RVScreenshot::~RVScreenshot() = default;

bool RVScreenshot::needsLogin(const QString &identifier)
{
    static const QStringList screens{u"personal"_s, u"appointMent"_s, u"registerInfo"_s,
                                     u"modifyUserInfo"_s, u"modifyPasswd"_s};
    return screens.contains(identifier);
}

QStringList RVScreenshot::wayTo(const QString &identifier)
{
    static const QHash<QString, QStringList> ways{
        {u"hospitalInfo"_s, {u"hospitalList"_s}},
        {u"departmentListMain"_s, {u"hospitalList"_s, u"hospitalInfo"_s}},
        {u"detailInfo"_s, {u"hospitalList"_s, u"hospitalInfo"_s}},
        {u"doctor"_s, {u"doctorList"_s}},
        {u"registerTimeElect"_s, {u"doctorList"_s, u"doctor"_s}},
        {u"registerInfo"_s, {u"doctorList"_s, u"doctor"_s, u"registerTimeElect"_s}},
        {u"register"_s, {u"login"_s}},
        {u"modifyUserInfo"_s, {u"personal"_s}},
        {u"modifyPasswd"_s, {u"personal"_s}},
    };
    return ways.value(identifier);
}

bool RVScreenshot::prepare()
{
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(platform::UserDefaults::standardFilePath());
    platform::UserDefaults::standardUserDefaults().reload();
    const QString &screen = m_options.screen;
    if (!RVMainStoryboard::identifiers().contains(screen)) {
        std::fprintf(stderr, "no screen \"%s\"; the screens are: %s\n", qPrintable(screen),
                     qPrintable(RVMainStoryboard::identifiers().join(u", "_s)));
        return false;
    }
    // The service is asked on a worker, as the screens ask it. Nothing is on screen yet, so the
    // main thread simply waits for the answer, with no event loop turning inside this one.
    RVNetworkLayer::defaultLayer(); // set up on the main thread, not on the worker
    return platform::Background::runAndWait([this] { return fetchInputs(); }).value_or(false);
}

bool RVScreenshot::fetchInputs()
{
    const QString &screen = m_options.screen;
    m_inputs = RVDemoInputs::fetch(QDate::currentDate());
    if ((m_options.loggedIn || m_options.demoBooking || needsLogin(screen)) && !logIn())
        return false;
    if (!m_options.demoBooking)
        return true;
    if (!m_inputs.doctor || !m_inputs.schedule || !m_inputs.slot) {
        std::fprintf(stderr, "the service has no open slot to book\n");
        return false;
    }
    const RVUserInfo user = RVAppConfigInfo().userInfo();
    const auto outcome =
        RVBooking(user, *m_inputs.doctor, *m_inputs.schedule, *m_inputs.slot).book();
    if (!outcome.ok)
        std::fprintf(stderr, "the demo booking failed: %s\n", qPrintable(outcome.message));
    return outcome.ok;
}

bool RVScreenshot::logIn()
{
    RVProtocol client;
    if (client.login(RVDemoInputs::demoAccountName(), RVDemoInputs::demoAccountPassword()) &&
        RVAppConfigInfo::userLogined())
        return true;
    std::fprintf(stderr, "the demo account could not log in: %s\n",
                 qPrintable(client.lastErrorMsg()));
    return false;
}

void RVScreenshot::open(RVAppDelegate *delegate)
{
    m_delegate = delegate;
    m_steps = wayTo(m_options.screen);
    if (m_options.screen != u"main"_s)
        m_steps.append(m_options.screen);
    whenSettled([this] { nextStep(); });
}

void RVScreenshot::nextStep()
{
    if (m_steps.isEmpty()) {
        if (!m_delegate->window()->grab().save(m_options.screenshotPath))
            finish(1, u"cannot save %1"_s.arg(m_options.screenshotPath));
        else
            finish(0);
        return;
    }
    const QString identifier = m_steps.takeFirst();
    const bool fromList =
        identifier == u"doctor"_s && qobject_cast<RVDoctorListViewController *>(
                                         m_delegate->navigationController()->topViewController());
    if (fromList ? tapDoctor() : push(identifier))
        whenSettled([this] { nextStep(); });
}

// The doctor detail takes the list row's snapshot, which only the list makes: tap the row.
bool RVScreenshot::tapDoctor()
{
    auto *list = qobject_cast<RVDoctorListViewController *>(
        m_delegate->navigationController()->topViewController());
    const int row = m_inputs.doctorRow;
    if (row < 0 || row >= list->numberOfRowsInSection(list->tableView(), 0)) {
        finish(1, u"the doctor list does not show the doctor with an open half-day"_s);
        return false;
    }
    list->tableView()->scrollToRowAtIndexPath({0, row}, false);
    list->tableView()->tapRowAtIndexPath({0, row});
    return true;
}

bool RVScreenshot::push(const QString &identifier)
{
    auto screen = handOver(identifier);
    if (!screen) {
        finish(1, u"the service offers nothing to show on \"%1\""_s.arg(identifier));
        return false;
    }
    m_delegate->navigationController()->pushViewController(screen, false);
    return true;
}

// Makes a screen with what the screen before it would have handed over, through the same
// factories the screens use; null when the service offered nothing to hand over.
std::shared_ptr<ui::ViewController> RVScreenshot::handOver(const QString &identifier) const
{
    const RVDemoInputs &in = m_inputs;
    if (identifier == u"hospitalInfo"_s)
        return in.hospital ? RVHospitalInfoViewController::instantiateFor(hospitalCode(in.hospital))
                           : nullptr;
    if (identifier == u"departmentListMain"_s)
        return in.hospital ? RVDepartmentListController::instantiateFor(hospitalCode(in.hospital))
                           : nullptr;
    if (identifier == u"detailInfo"_s)
        return in.hospital ? RVDetailInfoViewController::instantiateFor(in.hospital) : nullptr;
    if (identifier == u"doctor"_s)
        return in.doctor ? RVDoctorController::instantiateFor(*in.doctor, ui::Image()) : nullptr;
    if (identifier == u"registerTimeElect"_s)
        return in.doctor && in.schedule
                   ? RVReservationTimeElectController::instantiateFor(*in.doctor, *in.schedule)
                   : nullptr;
    if (identifier == u"registerInfo"_s)
        return in.doctor && in.schedule && in.slot
                   ? RVReservationInfoController::instantiateFor(*in.doctor, *in.schedule, *in.slot)
                   : nullptr;
    return storyboard()->instantiateViewControllerWithIdentifier(identifier);
}

bool RVScreenshot::settled() const
{
    if (m_delegate->navigationController()->isTransitioning() ||
        platform::WorkPool::current().activeCount() > 0)
        return false;
    const ui::Window *window = m_delegate->window();
    const auto huds = window->findChildren<ZtProgressHUD *>();
    const auto images = window->findChildren<RVAsynImageView *>();
    return std::none_of(huds.begin(), huds.end(),
                        [](const ZtProgressHUD *hud) { return hud->isVisible(); }) &&
           std::none_of(images.begin(), images.end(), [](const RVAsynImageView *image) {
               return image->isLoading() || image->isRestartPending();
           });
}

void RVScreenshot::whenSettled(std::function<void()> then)
{
    m_then = std::move(then);
    m_quietPolls = 0;
    m_waited.start();
    m_poll.start();
}

void RVScreenshot::finish(int code, const QString &message)
{
    m_poll.stop();
    if (!message.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(message));
    QCoreApplication::exit(code);
}
