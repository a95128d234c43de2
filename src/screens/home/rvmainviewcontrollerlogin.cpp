// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// The home screen's account side: the automatic login, the login-status button and the grid.
#include "screens/home/rvmainviewcontroller.h"

#include "components/rvprogress.h"
#include "models/rvaccount.h"
#include "protocols/rvappconfiginfo.h"
#include "screens/shared/rvalert.h"
#include "toolkit/application.h"
#include "toolkit/button.h"
#include "toolkit/collectionview.h"
#include "toolkit/collectionviewcell.h"
#include "toolkit/color.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/textmetrics.h"

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

void RVMainViewController::userLoging()
{
    const QString name = RVAccount::automaticLoginName();
    if (name.isEmpty()) {
        userLoginCheckStatus();
        return;
    }
    // On a worker so that a slow or unreachable service never freezes the home screen. While
    // it runs the button says so and does not open the login screen: a login started there
    // now would race this one.
    m_automaticLoginRunning = true;
    userLoginCheckStatus();
    RVProgress::fetch(
        this, [name] { return RVAccount::logInAgain(name); },
        [](RVMainViewController &self, bool succeeded) { self.finishedAutomaticLogin(succeeded); });
}

void RVMainViewController::finishedAutomaticLogin(bool succeeded)
{
    m_automaticLoginRunning = false;
    // A login the user made meanwhile may have overtaken this one: what counts is the state.
    if (!succeeded && !RVAppConfigInfo::userLogined()) {
        if (ui::NavigationController *navigation = navigationController())
            RVAlert::tip(tr("登录失败"), navigation->view());
    }
    userLoginCheckStatus();
    // Asked for while the login ran: opened now, unless the user went elsewhere meanwhile.
    if (std::exchange(m_historyAfterLogin, false) && isOnTop())
        openHistory();
}

void RVMainViewController::userLoginCheckStatus()
{
    // A login outcome or a state change can arrive while the view is not there (not loaded
    // yet, or already torn down at exit); the next appearance shows the state as it is.
    if (loginStatsButton == nullptr)
        return;
    if (RVAppConfigInfo::userLogined()) {
        const QString name = RVBaseInfo::text(RVAppConfigInfo().userInfo().xm());
        const ui::Label *label = loginStatsButton->titleLabel();
        showStatusTitle(greetingFor(name, label->font(), label->frame().width()));
    } else if (m_automaticLoginRunning) {
        showStatusTitle(automaticLoginTitle());
    } else {
        loginStatsButton->setBackgroundImage(ui::Image::imageNamed(u"user_unlogin_bg.png"_s),
                                             ui::ControlState::Normal);
        loginStatsButton->setBackgroundImage(ui::Image::imageNamed(u"user_unlogin_bg_select.png"_s),
                                             ui::ControlState::Highlighted);
        loginStatsButton->setTitle(QString());
    }
}

QString RVMainViewController::greetingFor(const QString &name, const QFont &font, qreal width)
{
    const QString before = tr("欢迎您：");
    const QString after = tr("，进入个人中心！");
    // A point to spare: the parts are measured apart, the button draws them as one line.
    const qreal room = width - ui::TextMetrics::sizeWithFont(before + after, font).width() - 1;
    return before +
           ui::TextMetrics::truncated(name, font, std::max(0.0, room),
                                      ui::LineBreakMode::TailTruncation) +
           after;
}

QString RVMainViewController::automaticLoginTitle()
{
    return tr("正在自动登录，请稍候…");
}

void RVMainViewController::showStatusTitle(const QString &title)
{
    loginStatsButton->setTitle(title);
    loginStatsButton->setTitleColor(ui::Color::whiteColor());
    loginStatsButton->setBackgroundImage(ui::Image(), ui::ControlState::Normal);
    loginStatsButton->setBackgroundImage(ui::Image(), ui::ControlState::Highlighted);
}

int RVMainViewController::numberOfItemsInSection(ui::CollectionView *, int)
{
    return int(itemLabels.size());
}

ui::CollectionViewCell *RVMainViewController::cellForItemAtIndexPath(ui::CollectionView *grid,
                                                                     const ui::IndexPath &indexPath)
{
    ui::CollectionViewCell *cell =
        grid->dequeueReusableCellWithReuseIdentifier(u"ReusableCell"_s, indexPath);
    // A reused cell would otherwise pile a second button over the first.
    for (ui::View *old : cell->contentView()->subviews())
        old->removeFromSuperview();
    const int row = indexPath.row;
    auto *button = new ui::Button(ui::ButtonType::Custom, QRectF(0, 0, 73, 70));
    button->setBackgroundImage(ui::Image::imageNamed(itemImages.value(row)),
                               ui::ControlState::Normal);
    button->setBackgroundImage(ui::Image::imageNamed(itemPressedImages.value(row)),
                               ui::ControlState::Highlighted);
    button->setTag(row);
    button->addTarget([this](ui::Control *sender) { contentButtonClickEvent(sender); },
                      ui::ControlEvent::TouchUpInside);
    cell->contentView()->addSubview(button);
    auto *label = new ui::Label(QRectF(0, 70, 73, 30));
    label->setText(itemLabels.value(row));
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setBackgroundColor(grid->backgroundColor());
    cell->contentView()->addSubview(label);
    return cell;
}

void RVMainViewController::didSelectItemAtIndexPath(ui::CollectionView *,
                                                    const ui::IndexPath &indexPath)
{
    contentButtonClick(indexPath.row);
}

std::optional<QSizeF> RVMainViewController::sizeForItemAtIndexPath(ui::CollectionView *,
                                                                   const ui::IndexPath &)
{
    return QSizeF(73, 100);
}

std::optional<ui::EdgeInsets> RVMainViewController::insetForSectionAtIndex(ui::CollectionView *,
                                                                           int)
{
    return ui::EdgeInsets{15, 20, 10, 20};
}

std::optional<qreal> RVMainViewController::minimumLineSpacingForSectionAtIndex(ui::CollectionView *,
                                                                               int)
{
    return 10;
}

std::optional<qreal>
RVMainViewController::minimumInteritemSpacingForSectionAtIndex(ui::CollectionView *, int)
{
    return 20;
}
