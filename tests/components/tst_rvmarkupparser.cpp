// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvmarkupparser.h"

#include <QStandardPaths>
#include <QStringList>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

// Parsing of markup into plain text and components, and the readers of attribute values.
class TestRVMarkupParser : public QObject
{
    Q_OBJECT

private:
    // "tag@position:text", text "-" while the tag is unclosed: compact enough for table rows.
    static QStringList summary(const RVMarkupExtractedComponent &result)
    {
        QStringList out;
        for (const RVMarkupComponent &c : result.textComponents())
            out << c.tagLabel() + u'@' + QString::number(c.position()) + u':' +
                       (c.text() ? *c.text() : u"-"_s);
        return out;
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void extract_data()
    {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QStringList>("components");

        const QString nl = u"\n"_s;
        QTest::newRow("bold word")
            << u"<b>Hi</b> there"_s << nl << u"Hi there"_s << QStringList{u"b@0:Hi"_s};
        QTest::newRow("p around font, empty replacement")
            << u"<p align=left><font size=20>A</font></p>"_s << QString() << u"A"_s
            << QStringList{u"p@0:A"_s, u"font@0:A"_s};
        QTest::newRow("p replacement counts in positions")
            << u"<p align=left><font size=20>A</font></p>"_s << nl << u"\nA"_s
            << QStringList{u"p@0:\nA"_s, u"font@1:A"_s};
        QTest::newRow("long replacement") << u"<p>a</p><p>b</p>"_s << u"¶¶"_s << u"¶¶a¶¶b"_s
                                          << QStringList{u"p@0:¶¶a"_s, u"p@3:¶¶b"_s};
        QTest::newRow("pre begins with p")
            << u"<pre>x</pre>"_s << nl << u"\nx"_s << QStringList{u"pre@0:\nx"_s};
        QTest::newRow("upper-case P is no paragraph")
            << u"<P>x</P>"_s << nl << u"x"_s << QStringList{u"P@0:x"_s};
        QTest::newRow("nested same name")
            << u"<b>1<b>2</b>3</b>"_s << nl << u"123"_s << QStringList{u"b@0:123"_s, u"b@1:2"_s};
        QTest::newRow("unclosed") << u"<b>open"_s << nl << u"open"_s << QStringList{u"b@0:-"_s};
        QTest::newRow("unmatched closing") << u"a</i>b"_s << nl << u"ab"_s << QStringList{};
        QTest::newRow("closing is case-sensitive")
            << u"<B>x</b>"_s << nl << u"x"_s << QStringList{u"B@0:-"_s};
        QTest::newRow("crossed tags")
            << u"<b>1<i>2</b>3</i>"_s << nl << u"123"_s << QStringList{u"b@0:12"_s, u"i@1:23"_s};
        QTest::newRow("entities without tag stay")
            << u"a &lt; b &gt; c"_s << nl << u"a &lt; b &gt; c"_s << QStringList{};
        QTest::newRow("entities before and after first tag")
            << u"&lt;x&gt; <b>y</b> &lt;z&gt;"_s << nl << u"<x> y <z>"_s << QStringList{u"b@4:y"_s};
        QTest::newRow("entity spelling the closing tag")
            << u"<b>&lt;/b&gt;x</b>"_s << nl << u"</b>x"_s << QStringList{u"b@0:</b>x"_s};
        QTest::newRow("entity spelling the next tag")
            << u"<i>x</i>&lt;b&gt;y<b>z</b>"_s << nl << u"x<b>yz"_s
            << QStringList{u"i@0:x"_s, u"b@5:z"_s};
        QTest::newRow("broken entities") << u"<b>&lt&gt;&amp;lt;&</b>"_s << nl << u"&lt>&amp;lt;&"_s
                                         << QStringList{u"b@0:&lt>&amp;lt;&"_s};
        QTest::newRow("stray < without >") << u"a < b"_s << nl << u"a < b"_s << QStringList{};
        QTest::newRow("stray < after tags")
            << u"<b>x</b> a < b"_s << nl << u"x a < b"_s << QStringList{u"b@0:x"_s};
        QTest::newRow("> in text")
            << u"a > b <i>c</i>"_s << nl << u"a > b c"_s << QStringList{u"i@6:c"_s};
        QTest::newRow("< inside tag text")
            << u"x <y <b>z</b>"_s << nl << u"x z"_s << QStringList{u"y@2:-"_s};
        QTest::newRow("empty tag") << u"a<>b</>c"_s << nl << u"abc"_s << QStringList{u"@1:b"_s};
        QTest::newRow("empty markup") << QString() << nl << QString() << QStringList{};
        QTest::newRow("only a tag") << u"<br/>"_s << nl << QString() << QStringList{u"br/@0:-"_s};
        QTest::newRow("lone surrogate")
            << u"<b>\xD800</b>"_s << nl << u"\xD800"_s << QStringList{u"b@0:\xD800"_s};
    }

    void extract()
    {
        QFETCH(QString, markup);
        QFETCH(QString, replacement);
        QFETCH(QString, plain);
        QFETCH(QStringList, components);
        const RVMarkupExtractedComponent result =
            RVMarkupParser::extractTextStyleFromText(markup, replacement);
        QCOMPARE(result.plainText(), plain);
        QCOMPARE(summary(result), components);
        QVERIFY(RVMarkupParser::isConsistent(result));
    }

    void attributes_data()
    {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QStringList>("pairs");

        QTest::newRow("two values") << u"<font size=20 color=blue>"_s << u"font"_s
                                    << QStringList{u"color=blue"_s, u"size=20"_s};
        QTest::newRow("double quotes go, = stays") << u"<a href=\"http://h/?a=b=c\">"_s << u"a"_s
                                                   << QStringList{u"href=http://h/?a=b=c"_s};
        QTest::newRow("single quotes stay")
            << u"<a href='x'>"_s << u"a"_s << QStringList{u"href='x'"_s};
        QTest::newRow("key lower-cased, value and name kept")
            << u"<Font COLOR=Red>"_s << u"Font"_s << QStringList{u"color=Red"_s};
        QTest::newRow("bare key") << u"<input Disabled>"_s << u"input"_s
                                  << QStringList{u"disabled=disabled"_s};
        QTest::newRow("lone quote") << u"<x k=\">"_s << u"x"_s << QStringList{u"k="_s};
        QTest::newRow("three quotes") << u"<x k=\"\"\">"_s << u"x"_s << QStringList{u"k=\""_s};
        QTest::newRow("double space gives an empty key")
            << u"<x  k=1>"_s << u"x"_s << QStringList{u"="_s, u"k=1"_s};
        QTest::newRow("later duplicate wins")
            << u"<x k=1 K=2>"_s << u"x"_s << QStringList{u"k=2"_s};
    }

    void attributes()
    {
        QFETCH(QString, markup);
        QFETCH(QString, tag);
        QFETCH(QStringList, pairs);
        const RVMarkupExtractedComponent result =
            RVMarkupParser::extractTextStyleFromText(markup, u"\n"_s);
        QCOMPARE(result.textComponents().size(), 1);
        const RVMarkupComponent &component = result.textComponents().first();
        QCOMPARE(component.tagLabel(), tag);
        QStringList actual;
        for (auto it = component.attributes().cbegin(); it != component.attributes().cend(); ++it)
            actual << it.key() + u'=' + it.value();
        QCOMPARE(actual, pairs);
    }

    void hexColor_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("red");
        QTest::addColumn<int>("green");
        QTest::addColumn<int>("blue");

        QTest::newRow("red") << u"#FF0000"_s << true << 255 << 0 << 0;
        QTest::newRow("lower case, blanks") << u" #00ff80 \n"_s << true << 0 << 255 << 128;
        QTest::newRow("no hash") << u"0A0B0C"_s << true << 10 << 11 << 12;
        QTest::newRow("extra digits ignored") << u"#12345678"_s << true << 0x12 << 0x34 << 0x56;
        QTest::newRow("three digits") << u"#FFF"_s << false << 0 << 0 << 0;
        QTest::newRow("five digits") << u"#FFFFF"_s << false << 0 << 0 << 0;
        QTest::newRow("hash only") << u"#"_s << false << 0 << 0 << 0;
        QTest::newRow("empty") << QString() << false << 0 << 0 << 0;
        QTest::newRow("not hex") << u"#GG0000"_s << false << 0 << 0 << 0;
        QTest::newRow("blank inside") << u"#FF 000"_s << false << 0 << 0 << 0;
    }

    void hexColor()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const auto rgba = RVMarkupParser::hexColorComponents(text);
        QCOMPARE(rgba.has_value(), valid);
        if (!valid)
            return;
        QFETCH(int, red);
        QFETCH(int, green);
        QFETCH(int, blue);
        QCOMPARE(qRound((*rgba)[0] * 255), red);
        QCOMPARE(qRound((*rgba)[1] * 255), green);
        QCOMPARE(qRound((*rgba)[2] * 255), blue);
        QCOMPARE((*rgba)[3], 1.0);
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("integer");
        QTest::addColumn<double>("real");

        QTest::newRow("plain") << u"20"_s << 20 << 20.0;
        QTest::newRow("sign and unit") << u" -3px"_s << -3 << -3.0;
        QTest::newRow("fraction") << u"1.75em"_s << 1 << 1.75;
        QTest::newRow("plus") << u"+7"_s << 7 << 7.0;
        QTest::newRow("none") << u"abc"_s << 0 << 0.0;
        QTest::newRow("empty") << QString() << 0 << 0.0;
        QTest::newRow("overflow") << u"99999999999"_s << std::numeric_limits<int>::max()
                                  << 99999999999.0;
        QTest::newRow("negative overflow")
            << u"-99999999999"_s << std::numeric_limits<int>::min() << -99999999999.0;
    }

    void numbers()
    {
        QFETCH(QString, text);
        QFETCH(int, integer);
        QFETCH(double, real);
        QCOMPARE(RVMarkupParser::intValue(text), integer);
        QCOMPARE(RVMarkupParser::doubleValue(text), real);
    }

    void description()
    {
        const RVMarkupExtractedComponent result =
            RVMarkupParser::extractTextStyleFromText(u"x<b>y</b><i k=v>"_s, u"\n"_s);
        QCOMPARE(result.textComponents().at(0).description(), u"text: y, position: 1, tag: b"_s);
        QCOMPARE(result.textComponents().at(1).description(),
                 u"text: (null), position: 2, tag: i, attributes: {k = v;}"_s);
    }

    void consistencyCheckCatchesBadComponents()
    {
        RVMarkupComponent outside(u"b"_s, {}, 5);
        QVERIFY(!RVMarkupParser::isConsistent(RVMarkupExtractedComponent({outside}, u"abc"_s)));
        RVMarkupComponent wrongText(u"b"_s, {}, 1);
        wrongText.setText(u"xy"_s);
        QVERIFY(!RVMarkupParser::isConsistent(RVMarkupExtractedComponent({wrongText}, u"abc"_s)));
        wrongText.setText(u"bc"_s);
        QVERIFY(RVMarkupParser::isConsistent(RVMarkupExtractedComponent({wrongText}, u"abc"_s)));
    }
};

QTEST_GUILESS_MAIN(TestRVMarkupParser)
#include "tst_rvmarkupparser.moc"
