// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The certificate authorities the network layer trusts for the service: the system's store,
// and a hospital's own CA (a PEM file) in addition when the application names one. libcurl's
// CA file option replaces its default bundle instead of adding to it, so the layer is handed
// one bundle in memory that holds both. Safe from any thread.
class RVTlsTrust final
{
public:
    RVTlsTrust() = delete;

    // The hospital's CA file; empty: the system's store alone.
    static void setExtraCaFile(const QString &path);
    static QString extraCaFile();
    // Whether the file can be read and holds at least one PEM certificate; *error when not.
    static bool checkCaFile(const QString &path, QString *error);
    // The system bundle (the file libcurl would read by default) followed by the extra CA
    // file; nullopt with *error when the extra file cannot be read.
    static std::optional<QByteArray> joinedBundle(const QString &systemBundle, QString *error);
};
