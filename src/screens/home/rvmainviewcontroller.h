// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "screens/shared/rvscreen.h"
#include "toolkit/button.h"
#include "toolkit/collectionview.h"
#include "toolkit/collectionviewdatasource.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/scrollview.h"
#include "toolkit/scrollviewdelegate.h"

#include <QPointer>
#include <QStringList>
#include <QUrl>

class QTimer;

// The home screen, root of the navigation stack: an advert strip that turns over every three
// seconds, the login-status button with its greeting, and the five-entry grid that opens the
// searches, the booking history and the account. When it loads it logs the saved user in again
// if the last login succeeded. It also carries the check of the store for a newer version.
class RVMainViewController : public RVScreen,
                             public ui::CollectionViewDataSource,
                             public ui::CollectionViewDelegate
{
    Q_OBJECT

public:
    RVMainViewController();
    ~RVMainViewController() override;

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void didReceiveMemoryWarning() override;

    void scrollScrollView(QTimer *timer);
    void pageTurn(ui::PageControl *pageControl);
    void scrollViewDidEndDecelerating(ui::ScrollView *scrollView) override;
    void loginStatsButtonClieck(ui::Control *sender);
    void contentButtonClickEvent(ui::Control *sender);
    void contentButtonClick(int index);
    // Runs on a worker so that a slow or unreachable service never freezes the home screen;
    // the outcome comes back to the main thread.
    void userLoging();
    void finishedAutomaticLogin(bool succeeded);
    bool automaticLoginRunning() const { return m_automaticLoginRunning; }
    // What the login-status button says while the automatic login waits for the service.
    static QString automaticLoginTitle();
    // The greeting for the width of the button's title: a long name is shortened, the words
    // around it stay whole.
    static QString greetingFor(const QString &name, const QFont &font, qreal width);
    void userLoginCheckStatus();
    // Asks the store without blocking; the alert follows when the answer arrives.
    void onCheckVersion(const QString &version);
    void finishedVersionCheck(const QByteArray &answer, const QString &version);

    int numberOfItemsInSection(ui::CollectionView *, int) override;
    ui::CollectionViewCell *cellForItemAtIndexPath(ui::CollectionView *collectionView,
                                                   const ui::IndexPath &indexPath) override;
    void didSelectItemAtIndexPath(ui::CollectionView *, const ui::IndexPath &indexPath) override;
    std::optional<QSizeF> sizeForItemAtIndexPath(ui::CollectionView *,
                                                 const ui::IndexPath &) override;
    std::optional<ui::EdgeInsets> insetForSectionAtIndex(ui::CollectionView *, int) override;
    std::optional<qreal> minimumLineSpacingForSectionAtIndex(ui::CollectionView *, int) override;
    std::optional<qreal> minimumInteritemSpacingForSectionAtIndex(ui::CollectionView *,
                                                                  int) override;

    // The login-status button and the advertisement's scroller and page dots, for reading.
    ui::Button *statusButton() const { return loginStatsButton; }
    ui::ScrollView *adScroller() const { return adScrollView; }
    ui::PageControl *adPager() const { return adPageControl; }

private:
    void pushScreen(const QString &identifier);
    void openHistory();
    void showStatusTitle(const QString &title);
    int advertCount() const;

    QPointer<ui::ScrollView> adScrollView;
    QPointer<ui::PageControl> adPageControl;
    qreal adHeight = 0;
    QPointer<ui::CollectionView> collectionView;
    QStringList itemLabels;
    QStringList itemImages;
    QStringList itemPressedImages;
    QPointer<ui::Button> loginStatsButton;
    QTimer *m_adTimer = nullptr;
    bool m_automaticLoginRunning = false;
    bool m_historyAfterLogin = false; // the history was asked for while the saved login ran
};
