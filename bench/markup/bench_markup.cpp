// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
//
// Parses and lays out a 10 KB markup text with the markup label, and the same text written as
// HTML with QTextDocument::setHtml plus its layout at the same width, alternating the two,
// and prints the median of each and their ratio. Twice: the label given its text again (what
// every paint, size query and cell reuse does, and what a label keeps the layout of), and the
// label given a text it has never laid out (every paragraph new each round).
#include "components/rvmarkuplabel.h"
#include "components/rvmarkupparser.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace
{

constexpr int Width = 320;
constexpr int Rounds = 101;
constexpr qsizetype TargetBytes = 10 * 1024;

struct Texts {
    QString markup;
    QString html;
};

// One card-like paragraph per person, in both languages, until the markup holds 10 KB. The
// markup needs no line break between paragraphs ("<p" starts one); HTML collapses it anyway.
// People are numbered from first on, so that texts of different rounds share no paragraph.
Texts makeTexts(int first = 0)
{
    Texts t;
    for (int i = first; t.markup.toUtf8().size() < TargetBytes; ++i) {
        const QString n = QString::number(i);
        t.markup += u"<p align=left><font size=16>姓名：</font><font size=16 color=blue>张三"_s +
                    n +
                    u"</font> <b>预约</b> <i>成功</i> the doctor sees patients on <u>Monday</u> "
                    u"and <font color=#CC3300>Thursday</font> mornings, see "
                    u"<a href='http://example.com/d/"_s +
                    n + u"'>the schedule</a> &lt;"_s + n + u"&gt;</p>"_s;
        t.html += u"<p align=\"left\"><span style=\"font-size:16px\">姓名：</span>"
                  u"<span style=\"font-size:16px; color:blue\">张三"_s +
                  n +
                  u"</span> <b>预约</b> <i>成功</i> the doctor sees patients on <u>Monday</u> "
                  u"and <span style=\"color:#CC3300\">Thursday</span> mornings, see "
                  u"<a href=\"http://example.com/d/"_s +
                  n + u"\">the schedule</a> &lt;"_s + n + u"&gt;</p>\n"_s;
    }
    return t;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double fastest(const std::vector<double> &values)
{
    return *std::min_element(values.begin(), values.end());
}

double timeMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

struct Figures {
    std::vector<double> markup;
    std::vector<double> html;
};

void report(const char *what, const Figures &f)
{
    const double markupMs = median(f.markup);
    const double htmlMs = median(f.html);
    std::printf("%s\n", what);
    std::printf("  median RVMarkupLabel setText+optimumSize:  %8.3f ms\n", markupMs);
    std::printf("  median QTextDocument setHtml+layout:       %8.3f ms\n", htmlMs);
    std::printf("  ratio markup / HTML: %.3f (goal <= 0.6)\n", markupMs / htmlMs);
    // The fastest rounds are the least disturbed by other load on the machine.
    std::printf("  fastest: markup %.3f ms, HTML %.3f ms, ratio %.3f\n", fastest(f.markup),
                fastest(f.html), fastest(f.markup) / fastest(f.html));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const Texts texts = makeTexts();
    std::vector<Texts> fresh;
    for (int round = 0; round < Rounds; ++round)
        fresh.push_back(makeTexts((round + 1) * 1000));

    RVMarkupLabel label(QRect(0, 0, Width, 568));
    RVMarkupLabel newTextLabel(QRect(0, 0, Width, 568));
    const QFont font = label.font();
    std::vector<double> parseOnly;
    Figures again;
    Figures unseen;
    QSizeF labelSize;
    QSizeF documentSize;
    // A fresh document each time, as a label showing a new text gets one.
    auto document = [&font, &documentSize](const QString &html) {
        QTextDocument document;
        document.setDefaultFont(font);
        document.setDocumentMargin(0);
        document.setTextWidth(Width);
        document.setHtml(html);
        documentSize = document.documentLayout()->documentSize();
    };
    for (int round = 0; round < Rounds; ++round) {
        parseOnly.push_back(
            timeMs([&] { RVMarkupParser::extractTextStyleFromText(texts.markup, u"\n"_s); }));
        again.markup.push_back(timeMs([&] {
            label.setText(texts.markup);
            labelSize = label.optimumSize();
        }));
        again.html.push_back(timeMs([&] { document(texts.html); }));
        unseen.markup.push_back(timeMs([&] {
            newTextLabel.setText(fresh[round].markup);
            newTextLabel.optimumSize();
        }));
        unseen.html.push_back(timeMs([&] { document(fresh[round].html); }));
    }
    document(texts.html);

    std::printf("markup text: %lld bytes (%lld characters), HTML: %lld bytes, width %d, "
                "%d rounds\n",
                qlonglong(texts.markup.toUtf8().size()), qlonglong(texts.markup.size()),
                qlonglong(texts.html.toUtf8().size()), Width, Rounds);
    std::printf("laid-out size: label %.1f x %.1f, QTextDocument %.1f x %.1f\n", labelSize.width(),
                labelSize.height(), documentSize.width(), documentSize.height());
    std::printf("median parse only (RVMarkupParser): %8.3f ms\n", median(parseOnly));
    report("the same text again:", again);
    report("a text never laid out before:", unseen);
    return 0;
}
