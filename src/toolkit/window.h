// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>

namespace ui
{

class ViewController;

// The phone's screen: a top-level widget of 320 by 568 points holding the root controller's
// view. The key window is where alerts are drawn. The window owns its root controller.
class Window final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Window)

public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 568;

    explicit Window(QWidget *parent = nullptr);
    ~Window() override;

    std::shared_ptr<ViewController> rootViewController() const { return m_root; }
    // The root's view fills the window; a shown window makes the root appear at once.
    void setRootViewController(std::shared_ptr<ViewController> controller);
    // Shows the window, makes it the key window and lets the root appear.
    void makeKeyAndVisible();
    static Window *keyWindow();

protected:
    // Tab goes through the stops in reading order (FocusChain). A focus widget that is being
    // hidden hands the focus to the window, not to whatever stop comes first.
    bool focusNextPrevChild(bool next) override;
    // Escape and Alt+Left go back (the root's escape gesture) unless an alert is up, which
    // takes them itself.
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::shared_ptr<ViewController> m_root;
    bool m_rootAppeared = false;
};

} // namespace ui
