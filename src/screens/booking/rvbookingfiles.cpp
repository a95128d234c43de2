// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/booking/rvbookingfiles.h"

#include "components/rvprogress.h"
#include "models/rvbookingstore.h"
#include "protocols/rvprotocol.h"
#include "screens/booking/rvpasspdfwriter.h"
#include "screens/shared/rvalert.h"
#include "toolkit/view.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>
#include <QStandardPaths>

#include <functional>

using namespace Qt::StringLiterals;

namespace
{
using Writer = std::function<bool(const QString &path, QString *error)>;

void chooseAndWrite(ui::View *view, const QString &suggested, const QString &filter,
                    const Writer &write)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    auto *dialog = new QFileDialog(view != nullptr ? view->window() : nullptr,
                                   QCoreApplication::translate("RVBookingFiles", "保存"),
                                   QDir(folder).filePath(suggested), filter);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(QFileInfo(suggested).suffix());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog,
                     [view = QPointer<ui::View>(view), write](const QString &path) {
                         QString error;
                         if (!write(path, &error))
                             RVAlert::show(error);
                         else if (view)
                             RVAlert::tip(QCoreApplication::translate("RVBookingFiles", "已保存"),
                                          view);
                     });
    dialog->open();
}
} // namespace

void RVBookingFiles::saveCalendar(ui::View *view, const RVBookingCalendar::Entry &entry)
{
    const QString name = RVBookingPass(entry.booking).fileName().chopped(4) + u".ics"_s;
    chooseAndWrite(
        view, name, QCoreApplication::translate("RVBookingFiles", "日历文件 (*.ics)"),
        [entry](const QString &path, QString *error) {
            QSaveFile file(path);
            const QByteArray text = RVBookingCalendar::write({entry}, RVProtocol::serviceHost());
            if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
                return true;
            *error = QCoreApplication::translate("RVBookingFiles", "无法保存 %1：%2")
                         .arg(path, file.errorString());
            return false;
        });
}

void RVBookingFiles::savePass(ui::View *view, const RVBookingPass &pass)
{
    chooseAndWrite(view, pass.fileName(), u"PDF (*.pdf)"_s,
                   [pass](const QString &path, QString *error) {
                       return RVPassPdfWriter::write(pass, path, error);
                   });
}

ui::AlertView *RVBookingFiles::showBookedWithCalendar(const QString &message, ui::View *view,
                                                      const RVBookingCalendar::Entry &entry)
{
    // The offer outlives the confirmation screen; the view is the navigation's.
    return RVAlert::ask(QString(), message, QCoreApplication::translate("RVBookingFiles", "确定"),
                        {QCoreApplication::translate("RVBookingFiles", "添加到日历")},
                        [view = QPointer<ui::View>(view), entry](int buttonIndex) {
                            if (buttonIndex == 1)
                                RVBookingFiles::saveCalendar(view, entry);
                        });
}
