// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// The yardstick of the start-up benchmark: a bare Qt Widgets window of the application's size
// that quits after its first paint.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace
{
class Window final : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(rect(), Qt::white);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Window window;
    window.setFixedSize(320, 568);
    window.show();
    return QApplication::exec();
}
