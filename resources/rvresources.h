// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

// Owns the registration of the application's compiled pictures (":/images/<file name>").
// Linking rv::resources already registers them: the build puts the resource initialiser
// straight into every program that links this library. initialise() is for callers that want
// to be sure, e.g. a self-test, or a program linked without CMake's usage requirements.
class RVResources final
{
public:
    RVResources() = delete;

    // Registers the pictures (harmless when they are registered already) and reports whether
    // the picture folder is now present.
    static bool initialise();
};
