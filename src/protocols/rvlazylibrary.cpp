// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvlazylibrary.h"
#include "protocols/protocolslog.h"

RVLazyLibrary::RVLazyLibrary(const QString &name, int majorVersion) : m_library(name, majorVersion)
{
    m_library.setLoadHints(QLibrary::PreventUnloadHint);
    m_usable = m_library.load();
    if (!m_usable)
        qCWarning(lcProtocol).noquote() << "cannot open" << m_library.errorString();
}

void RVLazyLibrary::missing(const char *symbol)
{
    if (m_usable)
        qCWarning(lcProtocol).noquote()
            << m_library.fileName() << "lacks" << QString::fromLatin1(symbol);
    m_usable = false;
}
