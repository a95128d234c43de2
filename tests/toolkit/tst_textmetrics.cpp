// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/font.h"
#include "toolkit/label.h"
#include "toolkit/textmetrics.h"

#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

class TestTextMetrics : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void wraps_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qreal>("width");
        QTest::addColumn<int>("minLines");
        QTest::addColumn<int>("maxLines");
        QTest::newRow("short, one line") << u"医院"_s << 1000.0 << 1 << 1;
        QTest::newRow("latin words")
            << u"alpha beta gamma delta epsilon zeta eta theta"_s << 120.0 << 3 << 8;
        QTest::newRow("chinese, no spaces") << QString(40, QChar(0x533B)) << 100.0 << 4 << 40;
        QTest::newRow("line feeds") << u"a\nb\nc"_s << 1000.0 << 3 << 3;
        QTest::newRow("absent") << QString() << 100.0 << 0 << 0;
        QTest::newRow("empty") << u""_s << 100.0 << 0 << 0;
        QTest::newRow("one space") << u" "_s << 100.0 << 1 << 1;
    }
    void wraps()
    {
        QFETCH(QString, text);
        QFETCH(qreal, width);
        QFETCH(int, minLines);
        QFETCH(int, maxLines);
        const QFont font = ui::Font::systemFontOfSize(16);
        const qreal line = ui::TextMetrics::lineHeight(font);
        const QSizeF size = ui::TextMetrics::sizeWithFont(text, font, QSizeF(width, 1e6));
        QVERIFY2(size.width() <= width, qPrintable(QString::number(size.width())));
        const int lines = int(std::lround(size.height() / line));
        QVERIFY2(lines >= minLines && lines <= maxLines, qPrintable(QString::number(lines)));
        if (!text.isEmpty() && !text.contains(u'\n'))
            QCOMPARE(ui::TextMetrics::sizeWithFont(text, font).height(), line);
        if (text.isEmpty()) {
            // No text takes no room at all, in either measurement.
            QCOMPARE(size, QSizeF(0, 0));
            QCOMPARE(ui::TextMetrics::sizeWithFont(text, font), QSizeF(0, 0));
            QCOMPARE(ui::TextMetrics::sizeWithFont(text, font, QSizeF(280, 2000),
                                                   ui::LineBreakMode::CharacterWrap),
                     QSizeF(0, 0));
        }
    }

    void heightLimitKeepsWholeLines()
    {
        const QFont font = ui::Font::systemFontOfSize(15);
        const qreal line = ui::TextMetrics::lineHeight(font);
        const QString text(60, QChar(0x533B));
        const QSizeF size = ui::TextMetrics::sizeWithFont(text, font, QSizeF(100, line * 2.5));
        QCOMPARE(size.height(), line * 2);
    }

    // A face named after an existing font, at another size: same weight and slant.
    void faceAtAnotherSizeKeepsItsWeight_data()
    {
        QTest::addColumn<QFont>("face");
        QTest::addColumn<qreal>("size");
        QTest::newRow("bold system (a button's title)")
            << ui::Font::boldSystemFontOfSize(15) << 20.0;
        QTest::newRow("regular system") << ui::Font::systemFontOfSize(15) << 20.0;
        QTest::newRow("italic system") << ui::Font::italicSystemFontOfSize(12) << 9.0;
        QTest::newRow("named bold") << ui::Font::fontWithName(u"Helvetica-Bold"_s, 15) << 22.0;
        QTest::newRow("named bold italic")
            << ui::Font::fontWithName(u"Arial-BoldItalicMT"_s, 15) << 11.0;
    }
    void faceAtAnotherSizeKeepsItsWeight()
    {
        QFETCH(QFont, face);
        QFETCH(qreal, size);
        const QFont resized = ui::Font::fontWithName(ui::Font::fontName(face), size);
        QCOMPARE(resized.pixelSize(), int(size));
        QCOMPARE(resized.bold(), face.bold());
        QCOMPARE(resized.italic(), face.italic());
        QCOMPARE(resized.family(), face.family());
    }

    void labelShowsAtMostItsLines()
    {
        ui::Label label(QRectF(0, 0, 100, 200));
        label.setFont(ui::Font::systemFontOfSize(13));
        label.setText(QString(80, QChar(0x533B)));
        label.setNumberOfLines(2);
        label.setLineBreakMode(ui::LineBreakMode::WordWrap);
        QCOMPARE(label.displayedLines().size(), 2);
        label.setNumberOfLines(1);
        label.setLineBreakMode(ui::LineBreakMode::TailTruncation);
        QVERIFY(label.displayedLines().constFirst().endsWith(QChar(0x2026)));
        label.setNumberOfLines(0);
        QVERIFY(label.displayedLines().size() > 2);
    }
};

QTEST_MAIN(TestTextMetrics)
#include "tst_textmetrics.moc"
