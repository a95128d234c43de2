// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvnetworklayer.h"

#include "protocols/rvcurlnetworklayer.h"

#include <QCoreApplication>
#include <atomic>

using namespace Qt::StringLiterals;

namespace
{

std::atomic<RVNetworkLayer *> replacement{nullptr};

} // namespace

RVNetworkLayer::Sink::~Sink() = default;

RVNetworkLayer::~RVNetworkLayer() = default;

QString RVNetworkLayer::userMessage(FailureKind kind)
{
    switch (kind) {
    case FailureKind::None:
        return {};
    case FailureKind::CannotConnect:
        return QCoreApplication::translate("RVNetworkLayer", "无法连接服务器。");
    case FailureKind::TimedOut:
        return QCoreApplication::translate("RVNetworkLayer", "网络请求超时。");
    case FailureKind::ConnectionLost:
        return QCoreApplication::translate("RVNetworkLayer", "与服务器的连接中断。");
    case FailureKind::TooLarge:
        return QCoreApplication::translate("RVNetworkLayer", "网络出错。");
    case FailureKind::BadAddress:
        return QCoreApplication::translate("RVNetworkLayer", "服务器地址无效。");
    case FailureKind::Untrusted:
        return QCoreApplication::translate("RVNetworkLayer", "无法验证服务器的身份");
    case FailureKind::Unencrypted:
        return QCoreApplication::translate(
            "RVNetworkLayer", "服务器地址未加密（http://），已拒绝发送。请使用 https://。");
    case FailureKind::Other:
        break;
    }
    return QCoreApplication::translate("RVNetworkLayer", "网络连接失败。");
}

RVNetworkLayer *RVNetworkLayer::defaultLayer()
{
    if (RVNetworkLayer *layer = replacement.load())
        return layer;
    // Made on first use from whichever thread asks; its thread ends when the program does.
    static RVCurlNetworkLayer application;
    return &application;
}

void RVNetworkLayer::setDefaultLayer(RVNetworkLayer *layer)
{
    replacement.store(layer);
}
