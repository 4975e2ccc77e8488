#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "kestrune.h"

#include <QAction>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>

namespace {
const int statusTimerIntervalMs = 5000;
const int statusMessageTimeoutMs = 3000;
} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    ui->setupUi(this);

    auto *aboutAction = new QAction(tr("关于我们"), this);
    menuBar()->addAction(aboutAction);
    connect(aboutAction, &QAction::triggered, this, &MainWindow::showAboutBox);

    loadSettings();

    generator = new CKestrune;

    if (ui->rbtnFluentUdf->isChecked())
        ui->editPathEdem->setEnabled(false);

    auto *statusTimer = new QTimer(this);
    connect(statusTimer, &QTimer::timeout, this, &MainWindow::monitorUdfNames);
    statusTimer->start(statusTimerIntervalMs);
}

MainWindow::~MainWindow()
{
    delete generator;
    delete ui;
}

void MainWindow::showAboutBox()
{
    const QStringList lines = {
        QStringLiteral("Kestrune"),
        QStringLiteral("Version:3.0.0"),
        QStringLiteral("Contact: kestrune-support@varnholt.example"),
        QString(),
        QStringLiteral("Copyright (C) 2026 the Kestrune developers."),
        QStringLiteral("All rights reserved."),
    };
    QMessageBox::information(this, tr("About Kestrune"), lines.join('\n'), QMessageBox::Ok,
                             QMessageBox::NoButton);
}

void MainWindow::on_btnCreateVsProject_clicked() { }

void MainWindow::on_btnOpenVsProject_clicked() { }

void MainWindow::on_btnAdd_clicked() { }

void MainWindow::on_btnDel_clicked() { }

void MainWindow::on_rbtnFluentUdf_toggled(bool)
{
    ui->editPathEdem->setEnabled(!ui->rbtnFluentUdf->isChecked());
}

void MainWindow::on_editPathFluent_textChanged(const QString &) { }

void MainWindow::on_editPathEdem_textChanged(const QString &) { }

void MainWindow::on_editPathVS_textChanged(const QString &) { }

void MainWindow::loadSettings() { }

void MainWindow::monitorUdfNames()
{
    if (projectPath.isEmpty())
        statusBar()->showMessage(tr("文件监测中..."), statusMessageTimeoutMs);
    else
        statusBar()->showMessage(projectPath + tr("/src文件夹监测中..."), statusMessageTimeoutMs);
}
