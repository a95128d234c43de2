// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvasyncobserver.h"

RVAsyncObserver::~RVAsyncObserver() = default;
