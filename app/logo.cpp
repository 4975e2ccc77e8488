#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QFutureWatcher>
#include <QIcon>
#include <QImageReader>
#include <QPromise>
#include <QThreadPool>

#include <memory>

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

// The logo is a picture of about 1500 pixels a side. Decoded whole on the window's thread and
// handed whole to the window system as the icon, it took more than half of the window's start;
// it is read off that thread at the largest size it is drawn, and shown once read.
void MainWindow::loadLogo()
{
    auto promise = std::make_shared<QPromise<QImage>>();
    auto *watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        showLogo(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(promise->future());
    QThreadPool::globalInstance()->start([promise] {
        promise->start();
        promise->addResult(readLogo());
        promise->finish();
    });
}

void MainWindow::showLogo(const QImage &logo)
{
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
