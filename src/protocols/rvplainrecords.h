// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"

// Records whose body is empty or unread: the envelope head is all they carry.
using RVPasswordModificationReply = RVBaseInfo;
using RVUserLogoutRequest = RVBaseInfo;
using RVUserLogoutReply = RVBaseInfo;
using RVDiseaseListRequest = RVBaseInfo;
using RVReservationReply = RVBaseInfo;
using RVRemoveReservationReply = RVBaseInfo;
// The disease list is defined by the service but its reply body is never read; its
// diseases stay absent.
using RVDiseaseListReply = RVBaseInfo;
