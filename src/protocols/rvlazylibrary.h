// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QLibrary>
#include <QString>

// A system library opened when a feature first needs it rather than at start. Every library a
// program links is loaded and relocated before main, and the first frame waits for it; the
// network and cipher libraries (libcurl alone brings some thirty more) are needed only once
// the patient asks the service for something. Opened for good: it is never unloaded.
class RVLazyLibrary final
{
public:
    // Opens lib<name>.so.<majorVersion>; a failure is logged and leaves the library unusable.
    RVLazyLibrary(const QString &name, int majorVersion);
    Q_DISABLE_COPY_MOVE(RVLazyLibrary)

    // Resolves a function into a pointer of its own type; a missing one is logged and makes
    // the library unusable.
    template <typename Function> void resolve(Function *&function, const char *symbol)
    {
        function = reinterpret_cast<Function *>(m_library.resolve(symbol));
        if (function == nullptr)
            missing(symbol);
    }
    bool isUsable() const { return m_usable; }

private:
    void missing(const char *symbol);

    QLibrary m_library;
    bool m_usable = false;
};
