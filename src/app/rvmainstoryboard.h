// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QStringList>

class QObject;

// The interface resource "MainStoryboard": which controller each screen identifier makes.
// Identifiers of screens that are not part of the application yet are simply not registered,
// so that opening them does nothing.
namespace RVMainStoryboard
{
void registerScreens();
QStringList identifiers();
// The dynamic property of every screen made here that holds its storyboard identifier.
inline constexpr const char *identifierProperty = "storyboardIdentifier";
QString identifierOf(const QObject *screen);
} // namespace RVMainStoryboard
