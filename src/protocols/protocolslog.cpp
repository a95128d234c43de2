// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/protocolslog.h"

Q_LOGGING_CATEGORY(lcProtocol, "rv.protocols", QtInfoMsg)
Q_LOGGING_CATEGORY(lcNetwork, "rv.protocols.network", QtInfoMsg)
Q_LOGGING_CATEGORY(lcUserInfo, "rv.protocols.userinfo", QtInfoMsg)
