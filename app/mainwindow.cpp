#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "createchecks.h"
#include "kestrune.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>

namespace {
const int statusTimerIntervalMs = 5000;
} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    loadLogo();

    auto *aboutAction = new QAction(tr("关于我们"), this);
    menuBar()->addAction(aboutAction);
    connect(aboutAction, &QAction::triggered, this, &MainWindow::showAboutBox);

    loadSettings();
    showInstallationStates();

    generator = new CKestrune;
    setUpLogPane();
    connectBuildEvents();
    setUpBuildMenu();

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
        tr("Kestrune"),
        tr("Version:3.0.0"),
        tr("Contact: kestrune-support@varnholt.example"),
        QString(),
        tr("Copyright (C) 2026 the Kestrune developers."),
        tr("All rights reserved."),
    };
    QMessageBox::information(
        this, tr("About Kestrune"), lines.join('\n'), QMessageBox::Ok, QMessageBox::NoButton);
}

void MainWindow::on_btnAdd_clicked()
{
    const QStringList paths = QFileDialog::getOpenFileNames(
        this, tr("Select one or more files to open"), ".", tr("Files (*.h *.c *.cpp)"));
    for (const QString &path : paths)
        addPickedFile(path);
}

// A file name is listed once per list: of two files with the same name the first one picked stays.
void MainWindow::addPickedFile(const QString &path)
{
    const QString fileName = path.mid(path.lastIndexOf('/') + 1);
    const bool isHeader = CreateChecks::isHeaderFile(fileName);
    QListWidget *list = isHeader ? ui->listHeaderFiles : ui->listSourceFiles;
    QStringList &paths = isHeader ? headerFiles : sourceFiles;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->text() == fileName)
            return;
    }
    list->addItem(fileName);
    paths.append(path);
}

void MainWindow::on_btnDel_clicked()
{
    const QList<QPair<QListWidget *, QStringList *>> lists = {
        { ui->listHeaderFiles, &headerFiles },
        { ui->listSourceFiles, &sourceFiles },
    };
    for (const auto &[list, paths] : lists) {
        // Each row is looked up just before its removal, so rows and paths stay aligned.
        const QList<QListWidgetItem *> selected = list->selectedItems();
        for (QListWidgetItem *item : selected) {
            const int row = list->row(item);
            delete list->takeItem(row);
            paths->removeAt(row);
        }
    }
}

void MainWindow::on_rbtnFluentUdf_toggled(bool)
{
    ui->editPathEdem->setEnabled(!ui->rbtnFluentUdf->isChecked());
}

void MainWindow::monitorUdfNames()
{
    if (projectPath.isEmpty())
        statusBar()->showMessage(tr("文件监测中..."), statusMessageTimeoutMs);
    else
        statusBar()->showMessage(projectPath + tr("/src文件夹监测中..."), statusMessageTimeoutMs);
}
