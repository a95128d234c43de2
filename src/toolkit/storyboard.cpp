// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/storyboard.h"

#include "toolkit/toolkitlog.h"
#include "toolkit/viewcontroller.h"

#include <map>

namespace ui
{

Storyboard *Storyboard::storyboardWithName(const QString &name)
{
    static std::map<QString, std::unique_ptr<Storyboard>> boards;
    auto &slot = boards[name];
    if (!slot)
        slot.reset(new Storyboard(name));
    return slot.get();
}

void Storyboard::registerViewController(const QString &identifier, Factory factory)
{
    m_factories.insert(identifier, std::move(factory));
}

std::shared_ptr<ViewController>
Storyboard::instantiateViewControllerWithIdentifier(const QString &identifier)
{
    const auto it = m_factories.constFind(identifier);
    if (it == m_factories.constEnd() || !*it) {
        qCWarning(lcToolkit) << "storyboard" << m_name << "has no screen" << identifier;
        return nullptr;
    }
    std::shared_ptr<ViewController> controller = (*it)();
    if (!controller) {
        qCWarning(lcToolkit) << "storyboard" << m_name << "could not make" << identifier;
        return nullptr;
    }
    if (!ViewController::isCreated(controller))
        qCWarning(lcToolkit) << "screen" << identifier << "was not made by ViewController::create";
    controller->m_storyboard = this;
    return controller;
}

QStringList Storyboard::identifiers() const
{
    QStringList ids = m_factories.keys();
    ids.sort();
    return ids;
}

void Storyboard::registerSegue(const QString &segueIdentifier, const QString &destinationIdentifier)
{
    m_segues.insert(segueIdentifier, destinationIdentifier);
}

QString Storyboard::destinationOfSegue(const QString &segueIdentifier) const
{
    return m_segues.value(segueIdentifier);
}

} // namespace ui
