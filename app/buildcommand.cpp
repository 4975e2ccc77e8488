#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "diagnosticslist.h"
#include "librarymessages.h"
#include "logpane.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QUrl>

// The build menu: a build in either configuration (F7 builds Debug, as Visual Studio's own key
// does) and the case folder the libraries go to.
void MainWindow::setUpBuildMenu()
{
    QMenu *menu = menuBar()->addMenu(tr("编译"));
    buildAction = menu->addAction(tr("编译 Debug"), this, [this] { buildLibraries("Debug"); });
    buildAction->setObjectName("actionBuild");
    buildAction->setShortcut(Qt::Key_F7);
    buildReleaseAction
        = menu->addAction(tr("编译 Release"), this, [this] { buildLibraries("Release"); });
    buildReleaseAction->setObjectName("actionBuildRelease");
    buildReleaseAction->setShortcut(Qt::CTRL | Qt::Key_F7);
    menu->addSeparator();
    QAction *caseAction = menu->addAction(tr("更换算例文件夹…"), this, [this] {
        if (!projectPath.isEmpty() || resumeBuildRoot())
            chooseCaseFolder();
    });
    caseAction->setObjectName("actionChooseCase");
    connect(
        generator->events(), &BuildEvents::librariesBuilt, this, &MainWindow::showLibrariesBuilt);
    connect(diagnostics, &DiagnosticsList::openRequested, this, &MainWindow::openAtLine);
}

// Fluent loads a library from the case folder it runs in; the folder is asked once per build root.
bool MainWindow::chooseCaseFolder()
{
    const QString folder
        = QFileDialog::getExistingDirectory(this, tr("选择Fluent算例文件夹（libudf将放在其中）"),
            QFileInfo(projectPath).path(), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return false;
    QString error;
    if (!generator->setCaseFolder(folder, &error)) {
        warn(tr("无法记录算例文件夹：%1").arg(error));
        return false;
    }
    logPane->appendLine(tr("算例文件夹：%1").arg(QDir::toNativeSeparators(folder)));
    return true;
}

void MainWindow::buildLibraries(const QString &configuration)
{
    if (generator->isCreating() || generator->isBuildingLibraries())
        return;
    if (projectPath.isEmpty() && !resumeBuildRoot())
        return;
    if (generator->recordedBuild().buildRoot != projectPath) {
        warn(tr("请先创建！！！"));
        return;
    }
    if (generator->recordedBuild().caseFolder.isEmpty() && !chooseCaseFolder())
        return;
    logPane->startRun(tr("编译 %1：%2").arg(configuration, projectPath));
    diagnostics->clear();
    if (!generator->startLibraryBuild(configuration)) {
        warn(tr("请先创建！！！"));
        return;
    }
    setBuilding(true);
    statusBar()->showMessage(tr("正在编译 %1…").arg(configuration));
}

void MainWindow::setBuilding(bool building)
{
    setCreating(building);
    buildAction->setEnabled(!building);
    buildReleaseAction->setEnabled(!building);
}

void MainWindow::showLibrariesBuilt(const LibraryBuildOutcome &outcome)
{
    setBuilding(false);
    if (closeAfterCreate) {
        close();
        return;
    }
    diagnostics->showDiagnostics(outcome.build.diagnostics);
    for (const QString &library : outcome.laid.laid)
        logPane->appendLine(tr("已复制到 %1").arg(QDir::toNativeSeparators(library)));
    const QString summary = LibraryMessages::summary(outcome);
    logPane->appendLine(summary);
    statusBar()->showMessage(summary, statusMessageTimeoutMs);
    using Problem = LibraryBuildOutcome::Problem;
    if (outcome.succeeded() || outcome.problem == Problem::Cancelled)
        return;
    logPane->showFailure();
    if (outcome.problem != Problem::BuildFailed || outcome.build.errors == 0)
        warn(LibraryMessages::problem(outcome));
}

// Visual Studio opens the file at the line in the instance the user has; without it the file opens
// in whatever the system opens it with.
void MainWindow::openAtLine(const QString &file, int line)
{
    QString devenv = generator->recordedBuild().vsPath + "/Common7/IDE/devenv.exe";
    if (!QFileInfo::exists(devenv)) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
        return;
    }
    QStringList arguments { "/Edit", QDir::toNativeSeparators(file) };
    if (line > 0)
        arguments << "/Command" << QStringLiteral("Edit.GoTo %1").arg(line);
    if (!QProcess::startDetached(devenv, arguments, QString()))
        warn(tr("无法启动Visual Studio：%1").arg(QDir::toNativeSeparators(devenv)));
}
