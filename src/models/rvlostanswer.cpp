// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvlostanswer.h"

#include "protocols/rvprotocol.h"

bool RVLostAnswer::isLost(const RVProtocol &protocol)
{
    if (!protocol.HTTPResponseOK())
        return true;
    // The client's own text for an unreadable reply is asked of the client rather than
    // copied here; no code, so that no login handling runs for the probe.
    RVProtocol probe;
    probe.replyDataHandle(QString(), QString());
    return protocol.lastErrorMsg() == probe.lastErrorMsg();
}
