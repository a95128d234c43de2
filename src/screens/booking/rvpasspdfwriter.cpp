// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/booking/rvpasspdfwriter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace
{
constexpr int kQuietModules = 4; // the light border a scanner needs around the code
constexpr qreal kMarginMm = 8;
constexpr qreal kCodeShare = 0.62; // of the page's width
constexpr qreal kTitlePoints = 16;
constexpr qreal kLinePoints = 12;

QFont fontOf(qreal points, bool bold)
{
    QFont font;
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Draws the text wrapped to the area's width from top; returns where the next text starts.
qreal drawWrapped(QPainter &painter, const QRectF &area, qreal top, const QString &text,
                  int alignment)
{
    const QRectF room(area.left(), top, area.width(), area.bottom() - top);
    const int flags = alignment | Qt::AlignTop | Qt::TextWordWrap;
    QRectF used;
    painter.drawText(room, flags, text, &used);
    return used.bottom() + painter.fontMetrics().leading() + painter.fontMetrics().height() / 3.0;
}
} // namespace

void RVPassPdfWriter::paintCode(QPainter &painter, const RVQrCode &code, const QRectF &square)
{
    const qreal module = square.width() / (code.size() + 2 * kQuietModules);
    painter.fillRect(square, Qt::white);
    // One path for all the dark modules, so that no seam shows between two of them.
    QPainterPath dark;
    dark.setFillRule(Qt::WindingFill);
    for (int y = 0; y < code.size(); ++y) {
        for (int x = 0; x < code.size(); ++x) {
            if (code.isDark(x, y))
                dark.addRect(square.left() + (x + kQuietModules) * module,
                             square.top() + (y + kQuietModules) * module, module, module);
        }
    }
    painter.fillPath(dark, Qt::black);
}

void RVPassPdfWriter::paint(QPainter &painter, const RVBookingPass &pass, const QRectF &area)
{
    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(fontOf(kTitlePoints, true));
    qreal top = drawWrapped(painter, area, area.top(), RVBookingPass::title(), Qt::AlignHCenter);
    if (const auto code = pass.qrCode()) {
        const qreal side = std::min(area.width() * kCodeShare, area.bottom() - top);
        const QRectF square(area.center().x() - side / 2, top, side, side);
        paintCode(painter, *code, square);
        top = square.bottom() + painter.fontMetrics().height() / 2.0;
    }
    painter.setFont(fontOf(kLinePoints, false));
    for (const QString &line : pass.lines())
        top = drawWrapped(painter, area, top, line, Qt::AlignLeft);
    painter.restore();
}

bool RVPassPdfWriter::write(const RVBookingPass &pass, const QString &path, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QCoreApplication::translate("RVPassPdfWriter", "无法写入 %1：%2")
                     .arg(QFileInfo(path).absoluteFilePath(), file.errorString());
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A6), QPageLayout::Portrait,
                                         QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                         QPageLayout::Millimeter));
        writer.setTitle(RVBookingPass::title());
        writer.setCreator(u"rv-patient"_s);
        QPainter painter;
        if (!painter.begin(&writer)) {
            *error = QCoreApplication::translate("RVPassPdfWriter", "无法生成 PDF：%1").arg(path);
            file.cancelWriting();
            return false;
        }
        paint(painter, pass, painter.viewport());
        painter.end();
    }
    if (!file.commit()) {
        *error = QCoreApplication::translate("RVPassPdfWriter", "无法写入 %1：%2")
                     .arg(QFileInfo(path).absoluteFilePath(), file.errorString());
        return false;
    }
    return true;
}
