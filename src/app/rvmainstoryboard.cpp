// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvmainstoryboard.h"

#include "screens/account/rvloginviewcontroller.h"
#include "screens/account/rvmodifypasswdcontroller.h"
#include "screens/account/rvmodifyuserinfocontroller.h"
#include "screens/account/rvpersonalviewcontroller.h"
#include "screens/account/rvregisterviewcontroller.h"
#include "screens/account/rvwatchlistviewcontroller.h"
#include "screens/booking/rvbookingpassviewcontroller.h"
#include "screens/booking/rvdoctorcontroller.h"
#include "screens/booking/rvreservationhistorylistviewcontroller.h"
#include "screens/booking/rvreservationinfocontroller.h"
#include "screens/booking/rvreservationtimeelectcontroller.h"
#include "screens/browse/rvdepartmentlistcontroller.h"
#include "screens/browse/rvdetailinfoviewcontroller.h"
#include "screens/browse/rvdoctorlistviewcontroller.h"
#include "screens/browse/rvhospitalinfoviewcontroller.h"
#include "screens/browse/rvhospitallistviewcontroller.h"
#include "screens/home/rvmainviewcontroller.h"
#include "toolkit/storyboard.h"
#include "toolkit/viewcontroller.h"

using namespace Qt::StringLiterals;

namespace
{
// Each screen carries the identifier it was made from, so that tests and logs name screens
// as the storyboard does, whichever class stands behind an identifier.
template <class Screen> void add(ui::Storyboard *storyboard, const QString &identifier)
{
    storyboard->registerViewController(identifier, [identifier] {
        auto screen = ui::ViewController::create<Screen>();
        screen->setProperty(RVMainStoryboard::identifierProperty, identifier);
        return screen;
    });
}
} // namespace

void RVMainStoryboard::registerScreens()
{
    ui::Storyboard *storyboard = ui::Storyboard::storyboardWithName(u"MainStoryboard"_s);
    add<RVMainViewController>(storyboard, u"main"_s);
    add<RVLoginViewController>(storyboard, u"login"_s);
    add<RVRegisterViewController>(storyboard, u"register"_s);
    storyboard->registerSegue(u"register"_s, u"register"_s);
    add<RVPersonalViewController>(storyboard, u"personal"_s);
    add<RVModifyUserInfoController>(storyboard, u"modifyUserInfo"_s);
    add<RVModifyPasswdController>(storyboard, u"modifyPasswd"_s);
    add<RVHospitalListViewController>(storyboard, u"hospitalList"_s);
    add<RVHospitalInfoViewController>(storyboard, u"hospitalInfo"_s);
    add<RVDetailInfoViewController>(storyboard, u"detailInfo"_s);
    add<RVDepartmentListController>(storyboard, u"departmentListMain"_s);
    add<RVDoctorListViewController>(storyboard, u"doctorList"_s);
    add<RVDoctorController>(storyboard, u"doctor"_s);
    add<RVReservationTimeElectController>(storyboard, u"registerTimeElect"_s);
    add<RVReservationInfoController>(storyboard, u"registerInfo"_s);
    add<RVReservationHistoryListViewController>(storyboard, u"appointMent"_s);
    add<RVBookingPassViewController>(storyboard, u"bookingPass"_s);
    add<RVWatchListViewController>(storyboard, u"watchList"_s);
}

QStringList RVMainStoryboard::identifiers()
{
    return ui::Storyboard::storyboardWithName(u"MainStoryboard"_s)->identifiers();
}

QString RVMainStoryboard::identifierOf(const QObject *screen)
{
    return screen != nullptr ? screen->property(identifierProperty).toString() : QString();
}
