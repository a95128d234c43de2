// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvmainstoryboard.h"

#include "screens/rvdepartmentlistcontroller.h"
#include "screens/rvdetailinfoviewcontroller.h"
#include "screens/rvdoctorcontroller.h"
#include "screens/rvdoctorlistviewcontroller.h"
#include "screens/rvhospitalinfoviewcontroller.h"
#include "screens/rvhospitallistviewcontroller.h"
#include "screens/rvloginviewcontroller.h"
#include "screens/rvmainviewcontroller.h"
#include "screens/rvmodifypasswdcontroller.h"
#include "screens/rvmodifyuserinfocontroller.h"
#include "screens/rvpersonalviewcontroller.h"
#include "screens/rvregisterviewcontroller.h"
#include "screens/rvreservationhistorylistviewcontroller.h"
#include "screens/rvreservationinfocontroller.h"
#include "screens/rvreservationtimeelectcontroller.h"
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
}

QStringList RVMainStoryboard::identifiers()
{
    return ui::Storyboard::storyboardWithName(u"MainStoryboard"_s)->identifiers();
}

QString RVMainStoryboard::identifierOf(const QObject *screen)
{
    return screen != nullptr ? screen->property(identifierProperty).toString() : QString();
}
