// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvmarkuplabel.h"
#include "components/rvmarkuplabeldelegate.h"
#include "components/rvmarkuplinkbutton.h"
#include "toolkit/tableviewcell.h"

#include <QImage>
#include <QStandardPaths>
#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace
{

// The personal centre's card markup, filled in.
const QString CardMarkup =
    u"<p align=left><font size=20>姓名：</font><font size=20 color=blue>张三</font></p>\n"
    u"<p align=left><font size=20>电话：</font><font size=20 color=blue>13800138000</font></p>"_s;

const QString WrappingLink =
    u"Go to <a href='http://example.com/x'>aaaa bbbb cccc dddd eeee ffff gggg</a>"_s;

class RecordingDelegate : public QObject, public RVMarkupLabelDelegate
{
public:
    void markupLabel(RVMarkupLabel *label, const QString &url) override
    {
        labels << label;
        urls << url;
    }
    QList<RVMarkupLabel *> labels;
    QStringList urls;
};

using PixelTest = std::function<bool(QRgb)>;

bool isDark(QRgb p)
{
    return qRed(p) < 110 && qGreen(p) < 110 && qBlue(p) < 110;
}
bool isBlue(QRgb p)
{
    return qBlue(p) > 150 && qRed(p) < 110 && qGreen(p) < 110;
}
bool isRed(QRgb p)
{
    return qRed(p) > 150 && qGreen(p) < 110 && qBlue(p) < 110;
}
bool isGreen(QRgb p)
{
    return qGreen(p) > 150 && qRed(p) < 110 && qBlue(p) < 110;
}
bool isInk(QRgb p)
{
    return qGray(p) < 200;
}

QImage renderLabel(RVMarkupLabel &label)
{
    QImage image(label.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    label.render(&image);
    return image;
}

// Bounding box of the pixels passing a test within an area of the image.
QRect inkBox(const QImage &image, const PixelTest &test, QRect area = {})
{
    if (area.isNull())
        area = image.rect();
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

// The label as a view: drawing, sizes, link buttons and their touches.
class TestRVMarkupLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void defaults()
    {
        RVMarkupLabel label(QRect(0, 0, 100, 50));
        QCOMPARE(label.geometry(), QRect(0, 0, 100, 50));
        QCOMPARE(label.text(), QString());
        QCOMPARE(label.font().pixelSize(), 15);
        QCOMPARE(label.lineSpacing(), 3.0);
        QCOMPARE(label.paragraphReplacement(), u"\n"_s);
        QCOMPARE(label.currentSelectedButtonComponentIndex(), -1);
        QVERIFY(!label.linkAttributes());
        QVERIFY(label.testAttribute(Qt::WA_AcceptTouchEvents));
        QCOMPARE(label.optimumSize(), QSizeF());
        QVERIFY(inkBox(renderLabel(label), isInk).isNull());
    }

    void personalCentreCard()
    {
        RVMarkupLabel label(QRect(85, 15, 250, 60));
        label.setParagraphReplacement(QString());
        label.setOpaque(false);
        label.setBackgroundColor(Qt::transparent);
        label.setLineSpacing(8);
        label.setText(CardMarkup);
        QCOMPARE(label.plainText(), u"姓名：张三\n电话：13800138000"_s);

        const QSizeF size = label.optimumSize();
        QVERIFY2(size.width() > 60 && size.width() <= 250,
                 qPrintable(QString::number(size.width())));
        QVERIFY2(size.height() >= 2 * 20 + 8 && size.height() <= 60,
                 qPrintable(QString::number(size.height())));
        QCOMPARE(label.visibleRange(), (RVMarkupRange{0, label.plainText().size()}));

        const QImage image = renderLabel(label);
        const int middle = int(size.height() / 2);
        const QRect top(0, 0, 250, middle);
        const QRect bottom(0, middle, 250, 60 - middle);
        for (const QRect &line : {top, bottom}) {
            const QRect caption = inkBox(image, isDark, line);
            const QRect value = inkBox(image, isBlue, line);
            QVERIFY(!caption.isNull());
            QVERIFY(!value.isNull());
            QVERIFY(caption.left() < 10);                // left-aligned
            QVERIFY(value.left() > caption.right() - 2); // value follows its caption
            QVERIFY(value.height() > 8);                 // glyphs of a size-20 font
        }
        QVERIFY(inkBox(image, isInk).bottom() <= qCeil(size.height()));
        QVERIFY(inkBox(image, isInk).right() <= qCeil(size.width()));

        // The spacing sits between the two lines; nothing else depends on the height.
        label.setLineSpacing(0);
        QCOMPARE(label.optimumSize().height(), size.height() - 8);
        label.setLineSpacing(8);
        label.resize(250, 600);
        QCOMPARE(label.optimumSize(), size);
    }

    void visibleRangeStopsAtTheFirstLineThatDoesNotFit()
    {
        RVMarkupLabel label(QRect(0, 0, 250, 30));
        label.setParagraphReplacement(QString());
        label.setText(CardMarkup);
        QCOMPARE(label.visibleRange(), RVMarkupRange());
        label.optimumSize();
        QCOMPARE(label.visibleRange(), (RVMarkupRange{0, 6})); // "姓名：张三" and the break
        const QImage image = renderLabel(label);
        QVERIFY(inkBox(image, isBlue).isValid());
        label.resize(250, 5);
        label.optimumSize();
        QCOMPARE(label.visibleRange(), (RVMarkupRange{0, 0}));
        QVERIFY(inkBox(renderLabel(label), isInk).isNull());
    }

    void alignment_data()
    {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("minLeft");
        QTest::addColumn<int>("maxRight");

        QTest::newRow("left") << u"x"_s << 0 << 0 << 60;
        QTest::newRow("label right") << u"x"_s << 1 << 240 << 300;
        QTest::newRow("p right") << u"<p align=right>x</p>"_s << 0 << 240 << 300;
        QTest::newRow("center tag") << u"<center>x</center>"_s << 0 << 120 << 180;
        QTest::newRow("p indent") << u"<p indent=100>x</p>"_s << 0 << 100 << 160;
    }

    void alignment()
    {
        QFETCH(QString, markup);
        QFETCH(int, alignment);
        QFETCH(int, minLeft);
        QFETCH(int, maxRight);
        RVMarkupLabel label(QRect(0, 0, 300, 40));
        label.setParagraphReplacement(QString());
        label.setTextAlignment(alignment);
        label.setText(markup);
        const QRect ink = inkBox(renderLabel(label), isInk);
        QVERIFY(ink.isValid());
        QVERIFY2(ink.left() >= minLeft && ink.right() <= maxRight,
                 qPrintable(u"%1..%2"_s.arg(ink.left()).arg(ink.right())));
    }

    void lineBreaksAndReplacement()
    {
        RVMarkupLabel label;
        label.setParagraphReplacement(QString());
        label.setText(u"a<br>b<p>c</p>"_s);
        QCOMPARE(label.text(), u"a\nb<p>c</p>"_s);
        QCOMPARE(label.plainText(), u"a\nbc"_s);
        label.setParagraphReplacement(u"|"_s);
        label.setText(u"a<br>b<p>c</p>"_s);
        QCOMPARE(label.plainText(), u"a\nb|c"_s);
    }

    void preExtractedTextMatchesParsing()
    {
        const QString markup = u"<p>x<br><b>y</b></p>"_s;
        RVMarkupLabel parsed;
        parsed.setText(markup);
        RVMarkupLabel taken;
        taken.setText(markup, RVMarkupLabel::preExtractTextStyle(markup));
        QCOMPARE(taken.text(), parsed.text());
        QCOMPARE(taken.plainText(), parsed.plainText());
        QCOMPARE(taken.textComponents(), parsed.textComponents());
        QCOMPARE(parsed.plainText(), u"\nx\ny"_s);
    }

    void highlightedComponentsAreDrawnWhileHighlighted()
    {
        RVMarkupLabel label(QRect(0, 0, 100, 30));
        label.setText(u"<font size=24 color=#FF0000>xx</font>"_s);
        label.setHighlightedText(u"<font size=24 color=#00FF00>xx</font>"_s);
        QCOMPARE(label.plainText(), u"xx"_s);
        QVERIFY(inkBox(renderLabel(label), isRed).isValid());
        label.setHighlighted(true);
        const QImage image = renderLabel(label);
        QVERIFY(inkBox(image, isGreen).isValid());
        QVERIFY(inkBox(image, isRed).isNull());
    }

    void badColoursDrawInTheTextColour()
    {
        RVMarkupLabel label(QRect(0, 0, 200, 30));
        label.setTextColor(QColor(0, 0, 255));
        label.setText(u"<font size=24 color=#F00>xx</font><font color=nonsense>xx</font>"_s);
        const QImage image = renderLabel(label);
        QVERIFY(inkBox(image, isBlue).isValid());
        QVERIFY(inkBox(image, isRed).isNull());
        QCOMPARE(RVMarkupLabel::colorForHex(u"#00ff00"_s), QColor(0, 255, 0));
        QVERIFY(!RVMarkupLabel::colorForHex(u"#0f0"_s).isValid());
    }

    // The layout of unchanged paragraphs is kept from one drawing to the next: whatever did
    // change must look as in a label that draws the text for the first time.
    void changedTextDrawsLikeANewLabel_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("widthBefore");
        QTest::addColumn<QString>("after");
        const QString redName =
            QString(CardMarkup).replace(u"color=blue>张三"_s, u"color=red>张三"_s);
        const QString bigPhone = QString(CardMarkup).replace(u"20>电话"_s, u"24>电话"_s);
        QTest::newRow("colour in one paragraph") << CardMarkup << 200 << redName;
        QTest::newRow("size in one paragraph") << CardMarkup << 200 << bigPhone;
        QTest::newRow("narrower") << WrappingLink << 300 << WrappingLink;
        QTest::newRow("paragraphs swapped") << u"<p>a</p><p><font size=30>b</font></p>"_s << 200
                                            << u"<p><font size=30>b</font></p><p>a</p>"_s;
    }

    void changedTextDrawsLikeANewLabel()
    {
        QFETCH(QString, before);
        QFETCH(int, widthBefore);
        QFETCH(QString, after);
        RVMarkupLabel label(QRect(0, 0, widthBefore, 120));
        label.setText(before);
        renderLabel(label);
        label.resize(200, 120);
        label.setText(after);
        RVMarkupLabel fresh(QRect(0, 0, 200, 120));
        fresh.setText(after);
        QCOMPARE(renderLabel(label), renderLabel(fresh));
        QCOMPARE(label.optimumSize(), fresh.optimumSize());
    }

    void wrappingLinkGetsOneButtonPerLine()
    {
        RVMarkupLabel label(QRect(0, 0, 200, 120));
        label.setText(WrappingLink);
        label.optimumSize();
        const QList<RVMarkupLinkButton *> buttons = label.linkButtons();
        QCOMPARE(buttons.size(), 2);
        const QRect first = buttons[0]->geometry();
        const QRect second = buttons[1]->geometry();
        QVERIFY(first.left() > 10);   // after "Go to "
        QVERIFY(first.right() > 100); // runs to the end of the first line
        QVERIFY(second.left() <= 1);  // the rest starts the second line
        QVERIFY(second.top() > first.bottom());
        QCOMPARE(first.top(), 0);
        for (RVMarkupLinkButton *button : buttons) {
            QCOMPARE(button->parentWidget(), &label);
            QCOMPARE(button->url(), u"http://example.com/x"_s); // single quotes removed
            QCOMPARE(button->componentIndex(), 0);
            QVERIFY(!button->isHidden());
        }
        // The link is drawn where its buttons are.
        const QImage image = renderLabel(label);
        QVERIFY(inkBox(image, isInk, first).isValid());
        QVERIFY(inkBox(image, isInk, second).isValid());

        // A layout that no longer wraps reuses the first button and drops the second.
        label.resize(1000, 120);
        label.optimumSize();
        QCOMPARE(label.linkButtons().size(), 1);
        QCOMPARE(label.linkButtons().first(), buttons.first());
        QVERIFY(label.linkButtons().first()->width() > first.width());
    }

    void linkButtonsFollowPaints()
    {
        RVMarkupLabel label(QRect(0, 0, 200, 120));
        label.setText(WrappingLink);
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        QTRY_COMPARE(label.linkButtons().size(), 2);
        label.setText(u"no link"_s);
        QTRY_COMPARE(label.linkButtons().size(), 0);
    }

    void tapTellsTheDelegate()
    {
        RVMarkupLabel label(QRect(0, 0, 200, 120));
        label.setText(u"<a href=first>one</a><br>"_s + WrappingLink);
        RecordingDelegate delegate;
        label.setDelegate(&delegate);
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        label.optimumSize();
        const QList<RVMarkupLinkButton *> buttons = label.linkButtons();
        QCOMPARE(buttons.size(), 3);
        RVMarkupLinkButton *target = buttons[2]; // second line of the second link
        const QPoint inside = target->rect().center();

        QTest::mousePress(target, Qt::LeftButton, {}, inside);
        QCOMPARE(label.currentSelectedButtonComponentIndex(), 1);
        // While touched the link turns red and bold, and the buttons stay.
        const QImage touched = renderLabel(label);
        QVERIFY(inkBox(touched, isRed, target->geometry()).isValid());
        QCOMPARE(label.linkButtons(), buttons);
        QVERIFY(delegate.urls.isEmpty());

        QTest::mouseRelease(target, Qt::LeftButton, {}, inside);
        QCOMPARE(label.currentSelectedButtonComponentIndex(), -1);
        QCOMPARE(delegate.urls, QStringList{u"http://example.com/x"_s});
        QCOMPARE(delegate.labels, QList<RVMarkupLabel *>{&label});
        QVERIFY(inkBox(renderLabel(label), isRed).isNull());

        QTest::mousePress(buttons[0], Qt::LeftButton, {}, buttons[0]->rect().center());
        QCOMPARE(label.currentSelectedButtonComponentIndex(), 0);
        QTest::mouseRelease(buttons[0], Qt::LeftButton, {}, QPoint(-20, -20));
        QCOMPARE(label.currentSelectedButtonComponentIndex(), -1);
        QCOMPARE(delegate.urls.size(), 1); // released outside: no choice made
    }

    // A cell's content view holds the label like any other view: listed among its subviews,
    // found by tag, taken out again by removeFromSuperview.
    void isAViewInACell()
    {
        ui::TableViewCell cell(ui::TableViewCellStyle::Default, u"intro"_s);
        auto *label = new RVMarkupLabel(QRect(10, 5, 300, 40));
        label->setTag(7);
        label->setText(u"<b>简介</b>"_s);
        cell.contentView()->addSubview(label);
        QVERIFY(cell.contentView()->subviews().contains(label));
        QCOMPARE(label->superview(), cell.contentView());
        QCOMPARE(cell.viewWithTag(7), label);
        QCOMPARE(label->frame(), QRectF(10, 5, 300, 40));
        label->removeFromSuperview();
        QVERIFY(!cell.contentView()->subviews().contains(label));
        QCOMPARE(cell.viewWithTag(7), nullptr);
        delete label;
    }

    void destroyedDelegateIsNotCalled()
    {
        RVMarkupLabel label(QRect(0, 0, 200, 40));
        label.setText(u"<a href=x>link</a>"_s);
        auto delegate = std::make_unique<RecordingDelegate>();
        label.setDelegate(delegate.get());
        QCOMPARE(label.delegate(), delegate.get());
        delegate.reset();
        QCOMPARE(label.delegate(), nullptr);
        label.optimumSize();
        RVMarkupLinkButton *button = label.linkButtons().value(0);
        QVERIFY(button);
        QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
        QTest::mouseRelease(button, Qt::LeftButton, {}, button->rect().center());
        QCOMPARE(label.currentSelectedButtonComponentIndex(), -1);
    }
};

QTEST_MAIN(TestRVMarkupLabel)
#include "tst_rvmarkuplabel.moc"
