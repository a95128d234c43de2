// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/booking/rvbookingpassviewcontroller.h"

#include "screens/booking/rvbookingfiles.h"
#include "screens/booking/rvpassview.h"
#include "toolkit/color.h"
#include "toolkit/image.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/navigationitem.h"

using namespace Qt::StringLiterals;

std::shared_ptr<RVBookingPassViewController>
RVBookingPassViewController::instantiateFor(const RVReservationInfo &booking)
{
    auto next = RVScreen::fromStoryboard<RVBookingPassViewController>(u"bookingPass"_s);
    if (next)
        next->m_booking = booking;
    return next;
}

void RVBookingPassViewController::loadView()
{
    ui::ViewController::loadView();
    const QRectF bounds = view()->bounds();
    m_passView = new RVPassView(QRectF(0, 0, bounds.width(), bounds.height() - 50));
    view()->addSubview(m_passView);
    m_saveButton = new ui::Button(ui::ButtonType::Custom,
                                  QRectF(15, bounds.height() - 42, bounds.width() - 30, 30));
    view()->addSubview(m_saveButton);
}

void RVBookingPassViewController::viewDidLoad()
{
    view()->setBackgroundColor(ui::Color::whiteColor());
    m_passView->setBackgroundColor(ui::Color::whiteColor());
    m_passView->setPass(RVBookingPass(m_booking));
    m_saveButton->setBackgroundImage(ui::Image::imageNamed(u"image_view_right_select.png"_s));
    m_saveButton->setTitle(tr("保存为PDF"));
    m_saveButton->addTarget(
        [this](ui::Control *) {
            RVBookingFiles::savePass(
                navigationController() != nullptr ? navigationController()->view() : view(),
                RVBookingPass(m_booking));
        },
        ui::ControlEvent::TouchUpInside);
}

void RVBookingPassViewController::viewDidAppear(bool animated)
{
    RVScreen::viewDidAppear(animated);
    navigationItem()->setTitle(RVBookingPass::title());
}
