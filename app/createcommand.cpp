#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "buildtree.h"
#include "createchecks.h"
#include "kestrune.h"
#include "logpane.h"

#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>

namespace {
QString withForwardSlashes(QString path)
{
    return path.replace('\\', '/');
}
} // namespace

void MainWindow::warn(const QString &text)
{
    QMessageBox::warning(this, tr("警告"), text, QMessageBox::Ok, QMessageBox::NoButton);
}

bool MainWindow::installationsFound(const QString &fluentFolder, const QString &vsFolder)
{
    const QString problem = CreateChecks::installationProblem(fluentFolder, vsFolder,
        !ui->rbtnFluentUdf->isChecked(), withForwardSlashes(ui->editPathEdem->text()));
    if (problem.isEmpty())
        return true;
    warn(problem);
    return false;
}

QString MainWindow::variantName() const
{
    return CreateChecks::variantName(ui->cbDimension->currentIndex() != 0,
        ui->cbPrecision->currentIndex() != 0, ui->cbParallel->currentIndex() != 0);
}

CKestrune::CreateRequest::BuildType MainWindow::buildType() const
{
    using BuildType = CKestrune::CreateRequest::BuildType;
    if (ui->rbtnCoupling_Euler->isChecked())
        return BuildType::CouplingEuler;
    return ui->rbtnFluentUdf->isChecked() ? BuildType::FluentUdf : BuildType::LayoutOnly;
}

// What cmd, CMake and Visual Studio cannot take in a build root is refused before anything is
// written, naming what is wrong.
bool MainWindow::projectFolderUsable(const QString &folder)
{
    const QString problem = CreateChecks::projectFolderProblem(folder);
    if (problem.isEmpty())
        return true;
    warn(problem);
    return false;
}

// The copies in src hold the user's edits: a solution made before is made again around them, never
// by deleting them.
bool MainWindow::regenerateAgreed(const QString &solution)
{
    QMessageBox box(QMessageBox::Question, tr("警告"),
        tr("该文件夹中已有VS工程：\n %1\n重新生成将保留src和include中的文件及其修改，"
           "按当前选项重新生成VS工程吗？")
            .arg(solution),
        QMessageBox::NoButton, this);
    QPushButton *regenerate = box.addButton(tr("重新生成"), QMessageBox::AcceptRole);
    box.addButton(tr("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(regenerate);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
    return box.clickedButton() == regenerate;
}

void MainWindow::on_btnCreateVsProject_clicked()
{
    const QString fluentFolder = withForwardSlashes(ui->editPathFluent->text());
    const QString vsFolder = withForwardSlashes(ui->editPathVS->text());
    if (!installationsFound(fluentFolder, vsFolder))
        return;
    if (ui->listSourceFiles->count() == 0) {
        warn(CreateChecks::noSourceProblem());
        return;
    }

    projectPath = QFileDialog::getExistingDirectory(
        this, tr("工程文件保存在..."), "./", QFileDialog::ShowDirsOnly);
    if (projectPath.isEmpty())
        return;
    qDebug() << projectPath;
    if (!projectFolderUsable(projectPath))
        return;

    const QString existing = CreateChecks::existingSolution(projectPath);
    if (!existing.isEmpty() && !regenerateAgreed(existing))
        return;

    ui->progressBar->setValue(33);
    CKestrune::CreateRequest request;
    request.buildType = buildType();
    request.headers = headerFiles;
    request.sources = sourceFiles;
    request.projectFolder = projectPath;
    request.variant = variantName();
    request.fluentPath = fluentFolder;
    request.edemPath = withForwardSlashes(ui->editPathEdem->text());
    request.vsPath = vsFolder;
    request.regenerateInPlace = !existing.isEmpty();
    projectPath = BuildTree::root(projectPath);
    runCreate(request);
}

// Without a create of this window's own, the build root is asked for and resumed: its sources are
// watched again and its tables brought up to date, since they may have changed while no one
// watched.
void MainWindow::on_btnOpenVsProject_clicked()
{
    if (projectPath.isEmpty() && !resumeBuildRoot())
        return;
    // A resumed build opens with the Visual Studio it was made for.
    const QString vsFolder = resumedBuildRoot == projectPath
        ? QString(generator->recordedBuild().vsPath).replace('/', '\\')
        : ui->editPathVS->text();
    QString program = vsFolder + "\\Common7\\IDE\\devenv.exe";
    // Visual Studio 2026 gets FLUENTUDF.slnx from CMake, the older ones FLUENTUDF.sln.
    QString solution = CKestrune::solutionFileOf(projectPath);
    if (solution.isEmpty())
        solution = BuildTree::solutionWithoutSuffix(projectPath) + ".sln";
    const QStringList arguments = { solution };
    qDebug() << program << arguments;
#ifndef Q_OS_WIN
    // Elsewhere a backslash is an ordinary file-name character, and the program would not start.
    program.replace('\\', '/');
#endif
    if (!QProcess::startDetached(program, arguments, QString()))
        warn(tr("无法启动Visual Studio：%1").arg(program));
}

bool MainWindow::resumeBuildRoot()
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, tr("工程文件保存在..."), "./", QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return false;
    QString reason;
    const BuildRecordFile::Status status = generator->resumeBuild(folder, &reason);
    if (status != BuildRecordFile::Status::Read) {
        warn(CreateChecks::resumeProblem(folder, status, reason));
        return false;
    }
    const BuildRecord &record = generator->recordedBuild();
    projectPath = record.buildRoot;
    resumedBuildRoot = record.buildRoot;
    logPane->startRun(tr("打开VS工程：%1").arg(projectPath));
    logPane->appendLine(tr("已恢复 %1（%2），监测 %3 个源文件")
                            .arg(projectPath, record.variant)
                            .arg(generator->watchedSources().size()));
    statusBar()->showMessage(
        tr("已恢复 %1，正在更新函数表…").arg(projectPath), statusMessageTimeoutMs);
    generator->refreshTablesInBackground();
    return true;
}
