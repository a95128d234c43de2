// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

class RVProtocol;

// A 'C' exchange that ended without an answer of the service (the transport failed, or what
// came back could not be read, as a reply cut short) may have been applied all the same. The
// models that change a booking ask here, and then ask the booking history for the truth
// instead of guessing or sending the change again. A refusal by the service is an answer.
namespace RVLostAnswer
{
bool isLost(const RVProtocol &protocol);
}
