// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvmarkupattributedtext.h"
#include "components/rvmarkupparser.h"
#include "components/rvmarkupstyler.h"

#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

// What each tag and attribute does to the attributed text, read back from the format runs
// the text frame is given.
class TestRVMarkupStyler : public QObject
{
    Q_OBJECT

private:
    struct Styled {
        QList<RVMarkupAttributedText::Paragraph> paragraphs;
        QList<RVMarkupComponent> links;
    };

    static RVMarkupStyler::Base base()
    {
        RVMarkupStyler::Base b;
        b.font.setPixelSize(15);
        b.lineSpacing = 3;
        return b;
    }

    static Styled style(const QString &markup, const RVMarkupStyler::Base &settings = base())
    {
        RVMarkupExtractedComponent parsed =
            RVMarkupParser::extractTextStyleFromText(markup, u"\n"_s);
        RVMarkupAttributedText text(parsed.plainText(), settings.font, Qt::black,
                                    RVMarkupParagraphStyle(settings.textAlignment,
                                                           settings.lineBreakMode,
                                                           settings.lineSpacing));
        QList<RVMarkupComponent> components = parsed.textComponents();
        RVMarkupStyler styler(text, settings);
        Styled out;
        out.links = styler.apply(components);
        out.paragraphs = text.paragraphs();
        return out;
    }

    static QTextCharFormat formatAt(const Styled &styled, qsizetype index)
    {
        for (const auto &paragraph : styled.paragraphs) {
            for (const QTextLayout::FormatRange &range : paragraph.formats) {
                const qsizetype at = index - paragraph.start;
                if (at >= range.start && at < range.start + range.length)
                    return range.format;
            }
        }
        return {};
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void characterStyle_data()
    {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<bool>("underline");

        const QColor black(Qt::black);
        QTest::newRow("b") << u"<b>Hi</b>"_s << 1 << true << false << 15 << black << false;
        QTest::newRow("range respected")
            << u"a<b>b</b>"_s << 0 << false << false << 15 << black << false;
        QTest::newRow("tag name case-insensitive")
            << u"<B>x</B>"_s << 0 << true << false << 15 << black << false;
        QTest::newRow("i") << u"<i>x</i>"_s << 0 << false << true << 15 << black << false;
        QTest::newRow("bi") << u"<bi>x</bi>"_s << 0 << true << true << 15 << black << false;
        QTest::newRow("font size and named colour")
            << u"<font size=20 color=blue>x</font>"_s << 0 << false << false << 20
            << QColor(Qt::blue) << false;
        QTest::newRow("b takes the font at its start")
            << u"<font size=30><b>x</b></font>"_s << 0 << true << false << 30 << black << false;
        QTest::newRow("later font replaces earlier bold")
            << u"<b><font size=30>x</font></b>"_s << 0 << false << false << 30 << black << false;
        QTest::newRow("style with size keeps both")
            << u"<font size=30 style=bold>x</font>"_s << 0 << true << false << 30 << black << false;
        QTest::newRow("hex colour") << u"<font color=#00FF00>x</font>"_s << 0 << false << false
                                    << 15 << QColor(0, 255, 0) << false;
        QTest::newRow("single-quoted colour") << u"<font color='#00FF00'>x</font>"_s << 0 << false
                                              << false << 15 << QColor(0, 255, 0) << false;
        QTest::newRow("short hex sets nothing")
            << u"<font color=#FFF>x</font>"_s << 0 << false << false << 15 << black << false;
        QTest::newRow("unknown colour name") << u"<font color=nosuchcolour>x</font>"_s << 0 << false
                                             << false << 15 << black << false;
        QTest::newRow("unknown face sets no font")
            << u"<font face=NoSuchFaceAtAll size=30>x</font>"_s << 0 << false << false << 15
            << black << false;
        QTest::newRow("size 0 sets no font")
            << u"<font size=0>x</font>"_s << 0 << false << false << 15 << black << false;
        QTest::newRow("huge size bounded")
            << u"<font size=99999999>x</font>"_s << 0 << false << false << 512 << black << false;
        QTest::newRow("u") << u"<u>x</u>"_s << 0 << false << false << 15 << black << true;
        QTest::newRow("underline attribute")
            << u"<font underline=1>x</font>"_s << 0 << false << false << 15 << black << true;
        QTest::newRow("unclosed styles nothing")
            << u"<b>open"_s << 0 << false << false << 15 << black << false;
        QTest::newRow("unknown tag")
            << u"<blink>x</blink>"_s << 0 << false << false << 15 << black << false;
        QTest::newRow("link default look")
            << u"<a href=x>x</a>"_s << 0 << true << false << 15 << black << true;
    }

    void characterStyle()
    {
        QFETCH(QString, markup);
        QFETCH(int, index);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(int, pixelSize);
        QFETCH(QColor, color);
        QFETCH(bool, underline);
        const QTextCharFormat format = formatAt(style(markup), index);
        QCOMPARE(format.font().bold(), bold);
        QCOMPARE(format.font().italic(), italic);
        QCOMPARE(format.font().pixelSize(), pixelSize);
        QCOMPARE(format.foreground().color(), color);
        QCOMPARE(format.fontUnderline(), underline);
    }

    void paragraphStyle_data()
    {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<int>("paragraph");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("lineBreakMode");
        QTest::addColumn<qreal>("indent");

        QTest::newRow("right") << u"<p align=right>x</p>"_s << 1 << 1 << 0 << 0.0;
        QTest::newRow("case-insensitive, indent")
            << u"<p ALIGN=Center indent=12.5>x</p>"_s << 1 << 2 << 0 << 12.5;
        QTest::newRow("line break mode")
            << u"<p linebreakmode=CharWrap>x</p>"_s << 1 << 0 << 1 << 0.0;
        QTest::newRow("unknown value keeps base")
            << u"<p align=middle linebreakmode=none>x</p>"_s << 1 << 0 << 0 << 0.0;
        QTest::newRow("negative indent bounded") << u"<p indent=-40>x</p>"_s << 1 << 0 << 0 << 0.0;
        QTest::newRow("center") << u"<center>x</center>"_s << 0 << 2 << 0 << 0.0;
        QTest::newRow("next paragraph untouched")
            << u"<p align=right>a</p>\nb"_s << 2 << 0 << 0 << 0.0;
    }

    void paragraphStyle()
    {
        QFETCH(QString, markup);
        QFETCH(int, paragraph);
        QFETCH(int, alignment);
        QFETCH(int, lineBreakMode);
        QFETCH(qreal, indent);
        const Styled styled = style(markup);
        QVERIFY(paragraph < styled.paragraphs.size());
        const RVMarkupParagraphStyle &s = styled.paragraphs[paragraph].style;
        QCOMPARE(s.alignment(), alignment);
        QCOMPARE(s.lineBreakMode(), lineBreakMode);
        QCOMPARE(s.firstLineHeadIndent(), indent);
        QCOMPARE(s.lineSpacing(), 3.0);
    }

    void links()
    {
        const QString markup = u"<b>x</b><a href='http://h/a'>go</a> <a>no href</a><a>open"_s;
        const Styled styled = style(markup);
        QCOMPARE(styled.links.size(), 2); // the unclosed one has no range
        QCOMPARE(styled.links[0].componentIndex(), 1);
        QCOMPARE(styled.links[0].attributes().value(u"href"_s), u"http://h/a"_s);
        QCOMPARE(styled.links[1].componentIndex(), 2);
        QVERIFY(!styled.links[1].attributes().contains(u"href"_s));
    }

    void linkLooks_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("custom");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<QColor>("color");

        QTest::newRow("normal") << -1 << false << true << true << QColor(Qt::black);
        QTest::newRow("touched") << 0 << false << true << false << QColor(255, 0, 0);
        QTest::newRow("other link touched") << 5 << false << true << true << QColor(Qt::black);
        QTest::newRow("custom normal") << -1 << true << false << false << QColor(0, 255, 0);
        QTest::newRow("custom touched") << 0 << true << false << true << QColor(Qt::magenta);
    }

    void linkLooks()
    {
        QFETCH(int, selected);
        QFETCH(bool, custom);
        QFETCH(bool, bold);
        QFETCH(bool, underline);
        QFETCH(QColor, color);
        RVMarkupStyler::Base settings = base();
        settings.selectedComponentIndex = selected;
        if (custom) {
            settings.linkAttributes = RVMarkupComponent::Attributes{{u"color"_s, u"#00FF00"_s}};
            settings.selectedLinkAttributes =
                RVMarkupComponent::Attributes{{u"color"_s, u"magenta"_s}, {u"underline"_s, u"1"_s}};
        }
        const QTextCharFormat format = formatAt(style(u"<a href=x>link</a>"_s, settings), 0);
        QCOMPARE(format.font().bold(), bold);
        QCOMPARE(format.fontUnderline(), underline);
        QCOMPARE(format.foreground().color(), color);
    }

    void doubleUnderlineWithColour()
    {
        const Styled styled = style(u"a<uu color=#FF0000>bc</uu>"_s);
        const QList<RVMarkupAttributedText::SecondUnderline> &second =
            styled.paragraphs[0].secondUnderlines;
        QCOMPARE(second.size(), 1);
        QCOMPARE(second[0].start, 1);
        QCOMPARE(second[0].length, 2);
        QCOMPARE(second[0].color, QColor(255, 0, 0));
        QCOMPARE(formatAt(styled, 1).underlineColor(), QColor(255, 0, 0));
        QVERIFY(formatAt(styled, 1).fontUnderline());
    }

    void strokeAndKern()
    {
        const Styled outline = style(u"<font stroke=20 kern=2>x</font>"_s);
        const QTextCharFormat hollow = formatAt(outline, 0);
        QCOMPARE(hollow.textOutline().widthF(), 3.0); // 20 % of 15
        QCOMPARE(hollow.foreground().color().alpha(), 0);
        QCOMPARE(hollow.font().letterSpacing(), 2.0);
        const QTextCharFormat filled = formatAt(style(u"<font stroke=-20>x</font>"_s), 0);
        QCOMPARE(filled.textOutline().widthF(), 3.0);
        QCOMPARE(filled.foreground().color(), QColor(Qt::black));
        const QTextCharFormat bounded = formatAt(style(u"<font stroke=99999>x</font>"_s), 0);
        QCOMPARE(bounded.textOutline().widthF(), 15.0);
    }

    void componentsOutsideTheTextAreClipped()
    {
        // Components handed over from elsewhere may not fit the plain text.
        RVMarkupAttributedText text(u"abc"_s, QFont(), Qt::black, {});
        QList<RVMarkupComponent> components{RVMarkupComponent(u"b"_s, {}, 2),
                                            RVMarkupComponent(u"i"_s, {}, 50)};
        components[0].setText(u"0123456789"_s);
        components[1].setText(u"x"_s);
        RVMarkupStyler styler(text, base());
        styler.apply(components);
        QVERIFY(!text.fontAt(1).bold());
        QVERIFY(text.fontAt(2).bold());
        QCOMPARE(text.paragraphs().size(), 1);
    }
};

QTEST_MAIN(TestRVMarkupStyler)
#include "tst_rvmarkupstyler.moc"
