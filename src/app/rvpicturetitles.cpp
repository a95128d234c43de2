// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/image.h"

#include <string_view>

// The <title>s of the application's pictures, which screen readers read as the pictures' names
// through the translation (ui::Image::accessibilityLabel). A picture is drawn once, in Chinese,
// unless it has words in it; its name still reaches an English reader. Written here for the
// translation tools only; check-translations.py checks that every title is here, translated.
namespace
{
[[maybe_unused]] const char *const kPictureTitles[] = {
    QT_TRANSLATE_NOOP("ui::Image", "预约挂号，就医更方便：在线选医生、选时段、免排队"),
    QT_TRANSLATE_NOOP("ui::Image", "名医名院，一键预约：权威专家、实时号源、轻松挂号"),
    QT_TRANSLATE_NOOP("ui::Image", "用户头像"),
    QT_TRANSLATE_NOOP("ui::Image", "点击登录"),
    QT_TRANSLATE_NOOP("ui::Image", "预约"),
    QT_TRANSLATE_NOOP("ui::Image", "约满"),
    QT_TRANSLATE_NOOP("ui::Image", "停诊"),
    QT_TRANSLATE_NOOP("ui::Image", "约满，有号提醒"),
};
// The context above is written out: the translation tools read it as text.
static_assert(std::string_view(ui::Image::kTitleContext) == "ui::Image");
} // namespace
