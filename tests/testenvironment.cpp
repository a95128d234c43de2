// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// Linked into every test executable: pins the time zone, the locale and the headless platform
// before main runs, so that a test binary started by hand behaves as it does under CTest.

#include <QtCore/QByteArray>
#include <QtCore/QtGlobal>

#include <clocale>
#include <ctime>

namespace
{
void pinTestEnvironment()
{
    qputenv("TZ", "Asia/Shanghai");
    tzset();
    qputenv("LC_ALL", "C.UTF-8");
    std::setlocale(LC_ALL, "C.UTF-8");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}
} // namespace

Q_CONSTRUCTOR_FUNCTION(pinTestEnvironment)
