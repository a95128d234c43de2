// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "rvresources.h"

#include <QDir>
#include <QString>

// Q_INIT_RESOURCE declares the initialiser in the enclosing namespace: keep it at global scope.
static void registerImages()
{
    Q_INIT_RESOURCE(images);
}

bool RVResources::initialise()
{
    registerImages();
    return QDir(QStringLiteral(":/images")).exists();
}
