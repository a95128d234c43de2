// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/ztbarprogressview.h"
#include "components/ztprogresshud.h"
#include "components/ztprogresshuddelegate.h"
#include "components/ztroundprogressview.h"

#include "toolkit/activityindicatorview.h"
#include "toolkit/animation.h"
#include "toolkit/font.h"
#include "toolkit/label.h"
#include "toolkit/textmetrics.h"

#include <QElapsedTimer>
#include <QImage>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <memory>
#include <thread>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ZtProgressHUDMode)
Q_DECLARE_METATYPE(ZtProgressHUDAnimation)

namespace
{

struct CountingDelegate final : ZtProgressHUDDelegate {
    void hudWasHidden(ZtProgressHUD *) override { ++calls; }
    int calls = 0;
};

QString longText()
{
    return QString(60, u'长');
}

} // namespace

class TestZtProgressHUD : public QObject
{
    Q_OBJECT

    std::unique_ptr<ui::View> m_host;

    ZtProgressHUD *addedHUD()
    {
        ZtProgressHUD *hud = ZtProgressHUD::initWithView(m_host.get());
        m_host->addSubview(hud);
        return hud;
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        ui::Animation::setDisabledForTests(true);
        m_host = std::make_unique<ui::View>(QRectF(0, 0, 320, 480));
        m_host->show();
    }

    void cleanup() { m_host.reset(); }

    void defaults()
    {
        std::unique_ptr<ZtProgressHUD> hud(ZtProgressHUD::initWithView(m_host.get()));
        QCOMPARE(hud->frame(), m_host->bounds());
        QCOMPARE(hud->mode(), ZtProgressHUDMode::Indeterminate);
        QCOMPARE(hud->animationType(), ZtProgressHUDAnimation::Fade);
        QCOMPARE(hud->opacity(), 0.8);
        QVERIFY(!hud->color().isValid());
        QVERIFY(!hud->dimBackground());
        QCOMPARE(hud->margin(), 20.0);
        QCOMPARE(hud->xOffset(), 0.0);
        QCOMPARE(hud->yOffset(), 0.0);
        QCOMPARE(hud->minSize(), QSizeF(0, 0));
        QVERIFY(!hud->square());
        QCOMPARE(hud->graceTime(), 0.0);
        QCOMPARE(hud->minShowTime(), 0.0);
        QVERIFY(!hud->removeFromSuperViewOnHide());
        QVERIFY(!hud->taskInProgress());
        QCOMPARE(hud->progress(), 0.0f);
        QVERIFY(hud->labelText().isEmpty());
        QVERIFY(hud->detailsLabelText().isEmpty());
        QCOMPARE(ui::Font::pointSize(hud->labelFont()), 16.0);
        QVERIFY(hud->labelFont().bold());
        QCOMPARE(ui::Font::pointSize(hud->detailsLabelFont()), 12.0);
        QCOMPARE(hud->alpha(), 0.0); // created invisible
        auto *spinner = qobject_cast<ui::ActivityIndicatorView *>(hud->indicator());
        QVERIFY(spinner);
        QVERIFY(spinner->isAnimating());
        QCOMPARE(spinner->frame().size(), QSizeF(37, 37));
    }

    void classOperations()
    {
        ZtProgressHUD *first = ZtProgressHUD::showHUDAddedTo(m_host.get(), false);
        ZtProgressHUD *second = ZtProgressHUD::showHUDAddedTo(m_host.get(), false);
        QCOMPARE(first->alpha(), 1.0);
        QCOMPARE(ZtProgressHUD::allHUDsForView(m_host.get()),
                 (QList<ZtProgressHUD *>{second, first}));
        QCOMPARE(ZtProgressHUD::HUDForView(m_host.get()), second);

        QVERIFY(ZtProgressHUD::hideHUDForView(m_host.get(), false));
        QCOMPARE(ZtProgressHUD::allHUDsForView(m_host.get()), QList<ZtProgressHUD *>{first});
        QCOMPARE(ZtProgressHUD::hideAllHUDsForView(m_host.get(), false), 1);
        QVERIFY(ZtProgressHUD::allHUDsForView(m_host.get()).isEmpty());
        QVERIFY(!ZtProgressHUD::hideHUDForView(m_host.get(), false));

        // Removed overlays are released by the event loop.
        QPointer<ZtProgressHUD> gone(first);
        QTRY_VERIFY(gone.isNull());

        QCOMPARE(ZtProgressHUD::HUDForView(nullptr), nullptr);
        QCOMPARE(ZtProgressHUD::hideAllHUDsForView(nullptr, false), 0);
#ifdef QT_NO_DEBUG
        QTest::ignoreMessage(QtCriticalMsg, "View must not be nil.");
        QCOMPARE(ZtProgressHUD::showHUDAddedTo(nullptr, false), nullptr);
#endif
    }

    void indicatorForMode_data()
    {
        QTest::addColumn<ZtProgressHUDMode>("mode");
        QTest::addColumn<QString>("className");
        QTest::addColumn<bool>("annular");
        QTest::newRow("spinner") << ZtProgressHUDMode::Indeterminate
                                 << u"ui::ActivityIndicatorView"_s << false;
        QTest::newRow("pie") << ZtProgressHUDMode::Determinate << u"ZtRoundProgressView"_s << false;
        QTest::newRow("bar") << ZtProgressHUDMode::DeterminateHorizontalBar
                             << u"ZtBarProgressView"_s << false;
        QTest::newRow("ring") << ZtProgressHUDMode::AnnularDeterminate << u"ZtRoundProgressView"_s
                              << true;
        QTest::newRow("custom") << ZtProgressHUDMode::CustomView << u"custom"_s << false;
        QTest::newRow("text") << ZtProgressHUDMode::Text << QString() << false;
    }

    void indicatorForMode()
    {
        QFETCH(ZtProgressHUDMode, mode);
        QFETCH(QString, className);
        QFETCH(bool, annular);
        ZtProgressHUD *hud = addedHUD();
        auto *custom = new ui::View(QRectF(0, 0, 50, 30));
        custom->setObjectName(u"custom"_s);
        hud->setCustomView(custom);
        hud->setMode(mode);
        hud->setProgress(0.25f);

        ui::View *indicator = hud->indicator();
        if (className.isEmpty()) {
            QVERIFY(!indicator);
            QVERIFY(hud->currentLayout().indicator.isEmpty());
            return;
        }
        QVERIFY(indicator);
        QVERIFY(!indicator->isHidden());
        QCOMPARE(indicator->superview(), hud);
        if (className == u"custom"_s)
            QCOMPARE(indicator, custom);
        else
            QCOMPARE(QString::fromLatin1(indicator->metaObject()->className()), className);
        QCOMPARE(hud->currentLayout().indicator.size(), indicator->frame().size());
        if (auto *round = qobject_cast<ZtRoundProgressView *>(indicator)) {
            QCOMPARE(round->isAnnular(), annular);
            QCOMPARE(round->progress(), 0.25f);
            QCOMPARE(round->frame().size(), QSizeF(37, 37));
        }
        if (auto *bar = qobject_cast<ZtBarProgressView *>(indicator)) {
            QCOMPARE(bar->progress(), 0.25f);
            QCOMPARE(bar->frame().size(), QSizeF(120, 20));
        }
    }

    // The indicator is rebuilt only when its kind changes; a custom view leaving the box is
    // kept for later, a built indicator goes.
    void modeChangesReplaceOnlyOtherKinds()
    {
        ZtProgressHUD *hud = addedHUD();
        hud->setMode(ZtProgressHUDMode::Determinate);
        QPointer<ui::View> pie(hud->indicator());
        hud->setMode(ZtProgressHUDMode::AnnularDeterminate);
        QCOMPARE(hud->indicator(), pie.data());
        QVERIFY(qobject_cast<ZtRoundProgressView *>(pie.data())->isAnnular());

        hud->setMode(ZtProgressHUDMode::DeterminateHorizontalBar);
        QVERIFY(pie.isNull());

        auto *custom = new ui::View(QRectF(0, 0, 10, 10));
        hud->setCustomView(custom);
        hud->setMode(ZtProgressHUDMode::CustomView);
        QCOMPARE(hud->indicator(), custom);
        hud->setMode(ZtProgressHUDMode::Text);
        QVERIFY(!hud->indicator());
        QVERIFY(custom->isHidden());
        QCOMPARE(custom->superview(), hud);
        hud->setMode(ZtProgressHUDMode::CustomView);
        QCOMPARE(hud->indicator(), custom);
        QVERIFY(!custom->isHidden());
    }

    // A change made on a worker is visible in the getters at once and applied to the
    // widgets on the main thread.
    void contentChangedOnWorkerAppliesOnMainThread()
    {
        ZtProgressHUD *hud = addedHUD();
        std::thread worker([hud] {
            hud->setLabelText(u"加载中"_s);
            hud->setDetailsLabelText(u"请稍候"_s);
            hud->setMode(ZtProgressHUDMode::AnnularDeterminate);
            hud->setProgress(0.5f);
        });
        worker.join();
        QCOMPARE(hud->labelText(), u"加载中"_s);
        QVERIFY(hud->label()->text().isEmpty()); // not yet: the main thread has not run
        QTRY_COMPARE(hud->label()->text(), u"加载中"_s);
        QCOMPARE(hud->detailsLabel()->text(), u"请稍候"_s);
        auto *ring = qobject_cast<ZtRoundProgressView *>(hud->indicator());
        QVERIFY(ring);
        QVERIFY(ring->isAnnular());
        QCOMPARE(ring->progress(), 0.5f);
        QCOMPARE(ring->thread(), hud->thread());
        QVERIFY(!hud->currentLayout().label.isEmpty());
    }

    void layoutStacksItemsCentred()
    {
        ZtProgressHUD *hud = addedHUD();
        hud->setLabelText(u"加载中"_s);
        hud->setDetailsLabelText(u"第二行"_s);
        const ZtProgressHUDLayout &l = hud->currentLayout();
        QCOMPARE(l.indicator.size(), QSizeF(37, 37));
        QCOMPARE(l.label.top(), l.indicator.bottom() + 4);
        QCOMPARE(l.detailsLabel.top(), l.label.bottom() + 4);
        QCOMPARE(l.box.top(), l.indicator.top() - 20);
        QCOMPARE(l.box.bottom(), l.detailsLabel.bottom() + 20);
        const qreal contentWidth =
            std::max({l.indicator.width(), l.label.width(), l.detailsLabel.width()});
        QCOMPARE(l.box.width(), contentWidth + 40);
        for (const QRectF &item : {l.indicator, l.label, l.detailsLabel, l.box}) {
            QVERIFY2(qAbs(item.center().x() - 160) <= 0.5,
                     qPrintable(QString::number(item.center().x())));
        }
        QVERIFY(qAbs(l.box.center().y() - 240) <= 0.5);
        QCOMPARE(hud->label()->frame(), l.label);
        QCOMPARE(hud->indicator()->frame(), l.indicator);
    }

    void layoutWidthsLimited_data()
    {
        QTest::addColumn<qreal>("margin");
        QTest::newRow("margin 20") << 20.0;
        QTest::newRow("margin 8") << 8.0;
    }

    void layoutWidthsLimited()
    {
        QFETCH(qreal, margin);
        ZtProgressHUD *hud = addedHUD();
        hud->setMargin(margin);
        hud->setLabelText(longText());
        hud->setDetailsLabelText(longText());
        const ZtProgressHUDLayout &l = hud->currentLayout();
        const qreal maxWidth = 320 - 4 * margin;
        QCOMPARE(l.label.width(), maxWidth);
        QVERIFY(l.detailsLabel.width() <= maxWidth);
        // The details wrap instead of running wider; the label stays on one line.
        QCOMPARE(l.label.height(), ui::TextMetrics::lineHeight(hud->labelFont()));
        QVERIFY(l.detailsLabel.height() >=
                2 * ui::TextMetrics::lineHeight(hud->detailsLabelFont()));
        QCOMPARE(l.box.width(), maxWidth + 2 * margin);
    }

    void layoutBoxSize_data()
    {
        QTest::addColumn<QSizeF>("parent");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSizeF>("minSize");
        QTest::addColumn<bool>("square");
        QTest::addColumn<bool>("expectSquare");
        QTest::newRow("plain text box is wide")
            << QSizeF(320, 480) << u"登录成功"_s << QSizeF() << false << false;
        QTest::newRow("square when it fits")
            << QSizeF(320, 480) << u"登录成功"_s << QSizeF() << true << true;
        QTest::newRow("square too tall for the parent")
            << QSizeF(320, 100) << longText() << QSizeF() << true << false;
        QTest::newRow("minSize enlarges")
            << QSizeF(320, 480) << u"短"_s << QSizeF(150, 120) << false << false;
        QTest::newRow("minSize then square")
            << QSizeF(320, 480) << u"短"_s << QSizeF(150, 120) << true << true;
    }

    void layoutBoxSize()
    {
        QFETCH(QSizeF, parent);
        QFETCH(QString, text);
        QFETCH(QSizeF, minSize);
        QFETCH(bool, square);
        QFETCH(bool, expectSquare);
        m_host->setFrame(QRectF(QPointF(0, 0), parent));
        ZtProgressHUD *hud = addedHUD();
        hud->setMode(ZtProgressHUDMode::Text);
        hud->setLabelText(text);
        hud->setMinSize(minSize);
        hud->setSquare(square);
        const ZtProgressHUDLayout &l = hud->currentLayout();
        const QSizeF content(l.label.width() + 40, l.label.height() + 40);
        const QSizeF grown = content.expandedTo(minSize);
        if (expectSquare) {
            const qreal side = std::max(grown.width(), grown.height());
            QCOMPARE(l.box.size(), QSizeF(side, side));
        } else {
            QCOMPARE(l.box.size(), grown);
        }
        QVERIFY(qAbs(l.box.center().x() - parent.width() / 2) <= 0.5);
    }

    void layoutOffsetsAndParentResize()
    {
        ZtProgressHUD *hud = addedHUD();
        hud->setMode(ZtProgressHUDMode::Text);
        hud->setLabelText(u"登录失败"_s);
        const QRectF centred = hud->currentLayout().box;
        hud->setXOffset(-30);
        hud->setYOffset(170);
        QCOMPARE(hud->currentLayout().box, centred.translated(-30, 170));
        const QPointF labelCentre = hud->label()->frame().center();
        const QPointF boxCentre = hud->currentLayout().box.center();
        QVERIFY(qAbs(labelCentre.x() - boxCentre.x()) <= 0.5);
        QVERIFY(qAbs(labelCentre.y() - boxCentre.y()) <= 0.5);

        // The overlay keeps covering its parent when the parent changes size.
        m_host->setFrame(QRectF(0, 0, 480, 320));
        QCOMPARE(hud->frame(), QRectF(0, 0, 480, 320));
        QVERIFY(qAbs(hud->currentLayout().box.center().x() - (240 - 30)) <= 0.5);
    }

    void drawing_data()
    {
        QTest::addColumn<bool>("dim");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QColor>("expectedBox");
        QTest::newRow("black box") << false << QColor() << QColor::fromRgbF(0, 0, 0, 0.8f);
        QTest::newRow("coloured box, dimmed") << true << QColor(Qt::red) << QColor(Qt::red);
    }

    void drawing()
    {
        QFETCH(bool, dim);
        QFETCH(QColor, color);
        QFETCH(QColor, expectedBox);
        ZtProgressHUD *hud = ZtProgressHUD::showHUDAddedTo(m_host.get(), false);
        hud->setDimBackground(dim);
        hud->setColor(color);
        QImage image(hud->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        hud->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        const QRectF box = hud->currentLayout().box;
        // Inside the box beside the spinner, and far outside it in a corner.
        const QColor inBox = image.pixelColor(QPoint(int(box.left()) + 6, int(box.center().y())));
        QVERIFY2(qAbs(inBox.alpha() - expectedBox.alpha()) <= 3,
                 qPrintable(inBox.name(QColor::HexArgb)));
        QVERIFY(qAbs(inBox.red() - expectedBox.red()) <= 3);
        const QColor corner = image.pixelColor(2, 2);
        if (dim)
            QVERIFY2(corner.alpha() > 128, qPrintable(QString::number(corner.alpha())));
        else
            QCOMPARE(corner.alpha(), 0);
        // The rounded corner of the box is left out.
        QVERIFY(image.pixelColor(box.topLeft().toPoint()).alpha() < inBox.alpha());
    }

    void graceTime_data()
    {
        QTest::addColumn<qreal>("grace");
        QTest::addColumn<bool>("taskStillRunning");
        QTest::addColumn<bool>("shown");
        QTest::newRow("no grace shows at once") << 0.0 << true << true;
        QTest::newRow("task still running after grace") << 0.05 << true << true;
        QTest::newRow("task over within grace") << 0.05 << false << false;
    }

    void graceTime()
    {
        QFETCH(qreal, grace);
        QFETCH(bool, taskStillRunning);
        QFETCH(bool, shown);
        ZtProgressHUD *hud = addedHUD();
        hud->setGraceTime(grace);
        hud->setTaskInProgress(true);
        hud->show(false);
        auto *timer = hud->findChild<QTimer *>(u"graceTimer"_s);
        QVERIFY(timer);
        if (grace > 0) {
            QCOMPARE(hud->alpha(), 0.0);
            QVERIFY(timer->isActive());
            hud->setTaskInProgress(taskStillRunning);
            QTRY_VERIFY(!timer->isActive());
        }
        QCOMPARE(hud->alpha(), shown ? 1.0 : 0.0);
    }

    void minShowTime_data()
    {
        QTest::addColumn<qreal>("minShow");
        QTest::newRow("none") << 0.0;
        QTest::newRow("0.2 s") << 0.2;
    }

    void minShowTime()
    {
        QFETCH(qreal, minShow);
        ZtProgressHUD *hud = addedHUD();
        QSignalSpy hidden(hud, &ZtProgressHUD::wasHidden);
        hud->setMinShowTime(minShow);
        QElapsedTimer clock;
        clock.start();
        hud->show(false);
        hud->hide(false);
        if (minShow == 0) {
            QCOMPARE(hidden.count(), 1);
            QCOMPARE(hud->alpha(), 0.0);
            return;
        }
        QCOMPARE(hidden.count(), 0);
        QCOMPARE(hud->alpha(), 1.0);
        QVERIFY(hidden.wait(2000));
        // Timers may fire up to 5 % early.
        QVERIFY2(clock.elapsed() >= qint64(minShow * 1000 * 0.94),
                 qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(hud->alpha(), 0.0);
    }

    void hideAfterDelay()
    {
        ZtProgressHUD *hud = ZtProgressHUD::showHUDAddedTo(m_host.get(), false);
        QSignalSpy hidden(hud, &ZtProgressHUD::wasHidden);
        hud->hide(false, 0.05);
        QCOMPARE(hud->alpha(), 1.0);
        QVERIFY(hidden.wait(2000));
    }

    // The end of a hide: delegate, then the completion once, and the overlay stays unless
    // told to leave, letting touches through while invisible.
    void doneTellsDelegateAndCompletionOnce()
    {
        ZtProgressHUD *hud = addedHUD();
        auto delegate = std::make_unique<CountingDelegate>();
        hud->setDelegate(delegate.get());
        int completions = 0;
        hud->setCompletionBlock([&completions] { ++completions; });
        hud->show(false);
        QVERIFY(!hud->testAttribute(Qt::WA_TransparentForMouseEvents));
        hud->hide(false);
        QCOMPARE(delegate->calls, 1);
        QCOMPARE(completions, 1);
        QVERIFY(!hud->completionBlock());
        QCOMPARE(hud->superview(), m_host.get());
        QCOMPARE(hud->alpha(), 0.0);
        QVERIFY(hud->testAttribute(Qt::WA_TransparentForMouseEvents));

        hud->show(false);
        hud->hide(false);
        QCOMPARE(delegate->calls, 2);
        QCOMPARE(completions, 1);
        // A delegate that is gone is not told (the sanitizer catches a stale call).
        delegate.reset();
        hud->show(false);
        hud->hide(false);
    }

    void animatedShowAndHide_data()
    {
        QTest::addColumn<ZtProgressHUDAnimation>("type");
        QTest::newRow("fade") << ZtProgressHUDAnimation::Fade;
        QTest::newRow("zoom") << ZtProgressHUDAnimation::Zoom;
        QTest::newRow("zoom in") << ZtProgressHUDAnimation::ZoomIn;
    }

    void animatedShowAndHide()
    {
        QFETCH(ZtProgressHUDAnimation, type);
        ui::Animation::setDisabledForTests(false);
        ZtProgressHUD *hud = addedHUD();
        hud->setAnimationType(type);
        hud->setRemoveFromSuperViewOnHide(true);
        bool attachedAtCompletion = false;
        hud->setCompletionBlock([&] { attachedAtCompletion = hud->superview() == m_host.get(); });
        QSignalSpy hidden(hud, &ZtProgressHUD::wasHidden);
        hud->show(true);
        QVERIFY(hud->alpha() < 1.0);
        QTRY_COMPARE(hud->alpha(), 1.0);
        hud->hide(true);
        QCOMPARE(hidden.count(), 0);
        QVERIFY(hidden.wait(2000));
        QCOMPARE(hud->alpha(), 0.0);
        QVERIFY(attachedAtCompletion);
        QVERIFY(!hud->superview());
    }
};

QTEST_MAIN(TestZtProgressHUD)
#include "tst_ztprogresshud.moc"
