#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QIcon>
#include <QImageReader>
#include <QTimer>

namespace {

// The largest size the window system asks of a window icon; the label is smaller still.
constexpr int largestIconSide = 256;

QImage readLogo()
{
    QImageReader reader(QStringLiteral(":/Logo.png"));
    reader.setScaledSize(
        reader.size().scaled(largestIconSide, largestIconSide, Qt::KeepAspectRatio));
    return reader.read();
}

} // namespace

// The logo is a picture of about 1500 pixels a side. Decoded whole before the window shows and
// handed whole to the window system as the icon, it took more than half of the window's start; it
// is read once the window is up, at the largest size it is drawn.
void MainWindow::loadLogo()
{
    QTimer::singleShot(0, this, &MainWindow::showLogo);
}

void MainWindow::showLogo()
{
    const QImage logo = readLogo();
    const auto atSide = [&logo](int side) {
        return QPixmap::fromImage(
            logo.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    };
    QIcon icon(QPixmap::fromImage(logo));
    for (const int side : { 16, 24, 32, 48, 64, 128 })
        icon.addPixmap(atSide(side));
    setWindowIcon(icon);
    const qreal ratio = devicePixelRatio();
    QPixmap shown = atSide(qRound(ui->label_4->maximumWidth() * ratio));
    shown.setDevicePixelRatio(ratio);
    ui->label_4->setPixmap(shown);
}
