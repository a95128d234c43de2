// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace ui
{

class ViewController;

// The registry that makes screens by identifier, standing in for the storyboard resource:
// the application registers a factory for each identifier at start-up, screens ask for a new
// controller by identifier. One registry per name, alive for the whole run; use it on the
// main thread.
class Storyboard final
{
public:
    // Makes the screen with ViewController::create.
    using Factory = std::function<std::shared_ptr<ViewController>()>;

    // Never null: a name seen for the first time gets an empty registry.
    static Storyboard *storyboardWithName(const QString &name);

    QString name() const { return m_name; }
    void registerViewController(const QString &identifier, Factory factory);
    // A new controller, or null (with a warning) for an identifier nobody registered.
    std::shared_ptr<ViewController>
    instantiateViewControllerWithIdentifier(const QString &identifier);
    QStringList identifiers() const;
    // A segue leads to the screen registered under the destination identifier.
    void registerSegue(const QString &segueIdentifier, const QString &destinationIdentifier);
    QString destinationOfSegue(const QString &segueIdentifier) const;

    Storyboard(const Storyboard &) = delete;
    Storyboard &operator=(const Storyboard &) = delete;

private:
    explicit Storyboard(const QString &name) : m_name(name) {}

    QString m_name;
    QHash<QString, Factory> m_factories;
    QHash<QString, QString> m_segues;
};

} // namespace ui
