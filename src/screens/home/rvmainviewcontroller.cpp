// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/home/rvmainviewcontroller.h"

#include "models/rvstorelookup.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvloginstate.h"
#include "protocols/rvprotocol.h"
#include "screens/shared/rvalert.h"
#include "toolkit/application.h"
#include "toolkit/button.h"
#include "toolkit/collectionview.h"
#include "toolkit/collectionviewcell.h"
#include "toolkit/color.h"
#include "toolkit/image.h"
#include "toolkit/imageview.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/scrollview.h"
#include "toolkit/storyboard.h"

#include <QTimer>

using namespace Qt::StringLiterals;

namespace
{

const QString cellIdentifier = u"ReusableCell"_s;

} // namespace

RVMainViewController::RVMainViewController() = default;

RVMainViewController::~RVMainViewController() = default;

void RVMainViewController::loadView()
{
    ui::ViewController::loadView();
    const qreal width = view()->bounds().width();
    adScrollView = new ui::ScrollView(QRectF(0, 0, width, 130));
    view()->addSubview(adScrollView);
    adPageControl = new ui::PageControl(QRectF(0, 110, width, 20));
    loginStatsButton = new ui::Button(ui::ButtonType::Custom, QRectF(10, 140, width - 20, 56));
    loginStatsButton->addTarget([this](ui::Control *sender) { loginStatsButtonClieck(sender); },
                                ui::ControlEvent::TouchUpInside);
    view()->addSubview(loginStatsButton);
    collectionView = new ui::CollectionView(QRectF(0, 204, width, view()->bounds().height() - 204));
    collectionView->registerClass<ui::CollectionViewCell>(cellIdentifier);
    view()->addSubview(collectionView);
}

void RVMainViewController::viewDidLoad()
{
    adHeight = 130;
    const qreal width = view()->bounds().width();
    auto *first = new ui::ImageView(QRectF(0, 0, width, adHeight));
    first->setImage(ui::Image::imageNamed(u"main_ad1.png"_s));
    auto *second = new ui::ImageView(QRectF(width, 0, width, adHeight));
    second->setImage(ui::Image::imageNamed(u"main_ad2.png"_s));
    adScrollView->setPagingEnabled(true);
    adScrollView->setBounces(false);
    adScrollView->setDelegate(this);
    adScrollView->setShowsHorizontalScrollIndicator(false);
    adScrollView->addSubview(first);
    adScrollView->addSubview(second);

    adPageControl->setNumberOfPages(2);
    adPageControl->setCurrentPage(0);
    view()->addSubview(adPageControl);
    adPageControl->addTarget([this](ui::Control *) { pageTurn(adPageControl); },
                             ui::ControlEvent::ValueChanged);

    // Whatever changes the login state (a login finishing late, a logout), the button follows.
    RVLoginState::observe(this, [this](bool) { userLoginCheckStatus(); });
    userLoging();

    loginStatsButton->setBackgroundColor(ui::Color::colorWithWhite(0.2, 1.0));
    collectionView->setBackgroundColor(ui::Color::colorWithWhite(0.96, 1.0));
    collectionView->setScrollEnabled(false);
    collectionView->setDataSource(this);
    collectionView->setDelegate(this);

    itemLabels = {tr("医院查询"), tr("科室查询"), tr("医生查询"), tr("预约历史"), tr("帐户信息")};
    itemImages = {u"index_nearhos_logo_unpressed.png"_s, u"index_keshi_logo_unpressed.png"_s,
                  u"index_doctor_logo_unpressed.png"_s, u"index_reghistory_logo_unpressed.png"_s,
                  u"index_personal_logo_unpressed.png"_s};
    itemPressedImages = {u"index_nearhos_logo_pressed.png"_s, u"index_keshi_logo_pressed.png"_s,
                         u"index_doctor_logo_pressed.png"_s, u"index_reghistory_logo_pressed.png"_s,
                         u"index_personal_logo_pressed.png"_s};
    collectionView->reloadData();

    m_adTimer = new QTimer(this);
    m_adTimer->setInterval(3000);
    connect(m_adTimer, &QTimer::timeout, this, [this] { scrollScrollView(m_adTimer); });
    m_adTimer->start();
}

void RVMainViewController::viewDidAppear(bool animated)
{
    RVScreen::viewDidAppear(animated);
    userLoginCheckStatus();
    adScrollView->setContentSize(QSizeF(view()->bounds().width() * advertCount(), adHeight));
}

int RVMainViewController::advertCount() const
{
    int count = 0;
    for (ui::View *subview : adScrollView->subviews()) {
        if (qobject_cast<ui::ImageView *>(subview) != nullptr)
            ++count;
    }
    return count;
}

void RVMainViewController::didReceiveMemoryWarning()
{
    ui::ViewController::didReceiveMemoryWarning();
    for (ui::View *subview : adScrollView->subviews()) {
        if (qobject_cast<ui::ImageView *>(subview) != nullptr)
            subview->removeFromSuperview();
    }
}

void RVMainViewController::scrollScrollView(QTimer *)
{
    const qreal w = adScrollView->bounds().width();
    if (w <= 0)
        return;
    const int next = int(adScrollView->contentOffset().x() / w + 1);
    const int pages = int(adScrollView->contentSize().width() / w);
    if (next == pages) {
        adPageControl->setCurrentPage(0);
        adScrollView->scrollRectToVisible(QRectF(0, 0, w, adScrollView->bounds().height()), false);
    } else {
        adPageControl->setCurrentPage(next);
        pageTurn(adPageControl);
    }
}

void RVMainViewController::pageTurn(ui::PageControl *pageControl)
{
    const qreal w = adScrollView->bounds().width();
    adScrollView->scrollRectToVisible(
        QRectF(w * pageControl->currentPage(), 0, w, adScrollView->bounds().height()), true);
}

void RVMainViewController::scrollViewDidEndDecelerating(ui::ScrollView *scrollView)
{
    if (scrollView != adScrollView || scrollView->bounds().width() <= 0)
        return;
    adPageControl->setCurrentPage(
        int(scrollView->contentOffset().x() / scrollView->bounds().width()));
}

void RVMainViewController::loginStatsButtonClieck(ui::Control *)
{
    // The button says the automatic login is running; its outcome decides where to go.
    if (m_automaticLoginRunning)
        return;
    pushScreen(RVAppConfigInfo::userLogined() ? u"personal"_s : u"login"_s);
}

void RVMainViewController::contentButtonClickEvent(ui::Control *sender)
{
    contentButtonClick(sender->tag());
}

void RVMainViewController::contentButtonClick(int index)
{
    switch (index) {
    case 0:
        pushScreen(u"hospitalList"_s);
        break;
    case 1:
        pushScreen(u"departmentListMain"_s);
        break;
    case 2:
        pushScreen(u"doctorList"_s);
        break;
    case 3:
        // While the saved login runs (the button says so) its outcome decides.
        if (m_automaticLoginRunning)
            m_historyAfterLogin = true;
        else
            openHistory();
        break;
    case 4:
        loginStatsButtonClieck(nullptr);
        break;
    default:
        break;
    }
}

void RVMainViewController::openHistory()
{
    if (RVAppConfigInfo::userLogined())
        pushScreen(u"appointMent"_s);
    else
        RVAlert::show(tr("请先登录"));
}

void RVMainViewController::pushScreen(const QString &identifier)
{
    ui::NavigationController *navigation = navigationController();
    auto screen = RVScreen::fromStoryboard(identifier);
    // A screen the storyboard does not hold yet opens nothing.
    if (navigation != nullptr && screen)
        navigation->pushViewController(screen, true);
}

void RVMainViewController::onCheckVersion(const QString &version)
{
    // An application the store does not name has nothing to learn there.
    const QUrl url = RVStoreLookup::lookupUrl();
    if (!url.isValid())
        return;
    auto *lookup = new RVStoreLookup(this);
    connect(lookup, &RVStoreLookup::finished, this,
            [this, lookup, version](const QByteArray &answer) {
                lookup->deleteLater();
                // Response, error and status are not examined: whatever came back is read.
                finishedVersionCheck(answer, version);
            });
    lookup->ask(url);
}

void RVMainViewController::finishedVersionCheck(const QByteArray &answer, const QString &version)
{
    if (!RVStoreLookup::offersUpdate(answer, version))
        return;
    RVAlert::ask(weak_from_this(), tr("更新"), tr("有新的版本更新，是否前往更新"), tr("关闭"),
                 {tr("更新")}, [](int buttonIndex) {
                     if (buttonIndex == 1)
                         ui::Application::openURL(RVStoreLookup::updateUrl());
                 });
}
