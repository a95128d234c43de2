// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QObject>
#include <QPointer>
#include <QSizeF>

#include <memory>

namespace ui
{

class NavigationController;
class NavigationItem;
class Storyboard;
struct StoryboardSegue;
class View;

// A screen: it owns its root view, made on first use (loadView, then viewDidLoad once), and
// hears when it appears and disappears. Controllers have one owner, the std::shared_ptr that
// create() makes (never a QObject parent): the navigation stack holds those it shows, and
// background work holds the screen it works for until its main-thread finish has run, so a
// screen popped meanwhile stays alive. The last release, from whichever thread, ends on the
// main thread: the view goes first, while the whole screen still exists (a view torn down may
// still signal the screen), then the screen. Its delegate roles end with the last reference.
class ViewController : public QObject, public std::enable_shared_from_this<ViewController>
{
    Q_OBJECT

public:
    ViewController();
    ~ViewController() override;
    Q_DISABLE_COPY_MOVE(ViewController)

    // How every screen is made.
    template <class Screen, class... Args> static std::shared_ptr<Screen> create(Args &&...args)
    {
        return std::shared_ptr<Screen>(new Screen(std::forward<Args>(args)...),
                                       &ViewController::release);
    }
    // Whether the screen held by this pointer was made by create().
    static bool isCreated(const std::shared_ptr<ViewController> &controller);

    // The size of a screen's view under the navigation bar.
    static QSizeF defaultViewSize();

    View *view();
    bool isViewLoaded() const { return !m_view.isNull(); }
    // Takes ownership.
    void setView(View *view);

    QString title() const { return m_title; }
    // Also the title of the navigation item.
    void setTitle(const QString &title);
    NavigationItem *navigationItem() const { return m_navigationItem; }
    NavigationController *navigationController() const;
    Storyboard *storyboard() const { return m_storyboard; }

    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool) {}
    virtual void viewDidAppear(bool) {}
    virtual void viewWillDisappear(bool) {}
    virtual void viewDidDisappear(bool) {}
    virtual void didReceiveMemoryWarning() {}
    // The escape gesture (Escape, Alt+Left, a screen reader's "back"): leave this screen the
    // way its own back button would. False when there is nothing to go back from.
    virtual bool accessibilityPerformEscape() { return false; }
    virtual void prepareForSegue(StoryboardSegue &, QObject * /*sender*/) {}
    // Makes the segue's destination from the storyboard, lets prepareForSegue hand it its
    // inputs and pushes it, animated. An unknown segue is reported and does nothing.
    void performSegueWithIdentifier(const QString &identifier, QObject *sender);

private:
    friend class NavigationController;
    friend class Storyboard;
    static void release(ViewController *controller);
    void destroyView();

    QPointer<View> m_view;
    NavigationItem *m_navigationItem;
    QPointer<NavigationController> m_navigationController;
    Storyboard *m_storyboard = nullptr;
    QString m_title;
    bool m_loading = false;
};

} // namespace ui
