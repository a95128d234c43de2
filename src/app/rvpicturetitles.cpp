// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvpicturetitles.h"

#include "toolkit/image.h"

#include <string_view>

namespace
{
// The context is ui::Image::kTitleContext, written out: the translation tools read it here.
const char *const kTitles[] = {
    QT_TRANSLATE_NOOP("ui::Image", "预约挂号，就医更方便：在线选医生、选时段、免排队"),
    QT_TRANSLATE_NOOP("ui::Image", "名医名院，一键预约：权威专家、实时号源、轻松挂号"),
    QT_TRANSLATE_NOOP("ui::Image", "用户头像"),
    QT_TRANSLATE_NOOP("ui::Image", "点击登录"),
    QT_TRANSLATE_NOOP("ui::Image", "预约"),
    QT_TRANSLATE_NOOP("ui::Image", "约满"),
    QT_TRANSLATE_NOOP("ui::Image", "停诊"),
};
static_assert(std::string_view(ui::Image::kTitleContext) == "ui::Image");
} // namespace

QStringList RVPictureTitles::all()
{
    QStringList titles;
    for (const char *title : kTitles)
        titles.append(QString::fromUtf8(title));
    return titles;
}
