// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QStringList>

// The <title>s of the application's pictures, which screen readers read as the pictures'
// names. They are listed here so that the translation tools find them: a picture is drawn
// once, in Chinese, unless it has words in it, and its name reaches an English reader through
// the translation (ui::Image::accessibilityLabel).
class RVPictureTitles final
{
public:
    RVPictureTitles() = delete;

    static QStringList all();
};
