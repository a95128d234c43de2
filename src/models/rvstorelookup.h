// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "platform/background.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class RVNetworkLayer;

// The update check's question to the application store, and the rule that reads its answer.
// The lookup is one form POST through the application's network layer, like every service
// exchange: a blocking post on a worker, with the layer's time-out and reply limit, ended when
// the application quits. The answer comes back on the main thread; a newer lookup of the same
// object replaces an older one.
class RVStoreLookup final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVStoreLookup)

public:
    explicit RVStoreLookup(QObject *parent = nullptr);
    ~RVStoreLookup() override;

    // The layer the lookup goes through; null (the default) is the application's.
    void setNetworkLayer(RVNetworkLayer *layer);
    void ask(const QUrl &lookupUrl);

    // Where the store's lookup service and update page live (by default beside the booking
    // service) and the application's identifier there, for the whole process; an empty
    // identifier turns the check off.
    static void setLocation(const QUrl &lookupUrl, const QUrl &updateUrl,
                            const QString &identifier);
    // The lookup of this application; none (invalid) when no identifier names it.
    static QUrl lookupUrl();
    // The page "更新" opens for this application.
    static QUrl updateUrl();

    // Whether the store offers another version than the running one: the version of its
    // first result differs as a text, older and newer alike. No results offer nothing.
    static bool offersUpdate(const QByteArray &answer, const QString &version);

Q_SIGNALS:
    // The body that came back, whatever the status; empty when none came.
    void finished(const QByteArray &answer);

private:
    RVNetworkLayer *m_layer = nullptr;
    platform::Background m_lookups{this};
};
