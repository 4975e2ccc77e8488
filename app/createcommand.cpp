#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "buildtree.h"
#include "kestrune.h"

#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>

namespace {
// Letter case is ignored, as Windows does: QDir's name filters are case-insensitive by default.
bool folderHolds(const QString &folder, const QString &fileName)
{
    return !QDir(folder).entryList({ fileName }, QDir::Files).isEmpty();
}

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
    if (!folderHolds(fluentFolder + "/ntbin/win64", "fluent.exe")) {
        warn(tr("fluent路径错误！！！"));
        return false;
    }
    if (!folderHolds(vsFolder + "/Common7/IDE", "devenv.exe")) {
        warn(tr("visual studio路径错误！！！"));
        return false;
    }
    qDebug() << "指定路径下找到 fluent.exe  devenv.exe文件.";
    if (ui->rbtnFluentUdf->isChecked())
        return true;
    const QString edemFolder = withForwardSlashes(ui->editPathEdem->text());
    if (!folderHolds(edemFolder + "/bin", "edem.exe")) {
        warn(tr("Edem路径错误！！！"));
        return false;
    }
    qDebug() << "指定路径下找到 edem.exe文件.";
    return true;
}

QString MainWindow::variantName() const
{
    QString variant = ui->cbDimension->currentIndex() == 0 ? "3d" : "2d";
    if (ui->cbPrecision->currentIndex() == 0)
        variant += "dp";
    if (ui->cbParallel->currentIndex() == 0)
        variant += "_host";
    return variant;
}

CKestrune::CreateRequest::BuildType MainWindow::buildType() const
{
    using BuildType = CKestrune::CreateRequest::BuildType;
    if (ui->rbtnCoupling_Euler->isChecked())
        return BuildType::CouplingEuler;
    return ui->rbtnFluentUdf->isChecked() ? BuildType::FluentUdf : BuildType::LayoutOnly;
}

// A tree without its solution or a function table must not be shown as a finished build.
bool MainWindow::checkBuildResult(const CKestrune::BuildOutcome &outcome)
{
    using Problem = CKestrune::BuildOutcome::CMakeProblem;
    if (outcome.cmakeProblem == Problem::TooOldForGenerator) {
        warn(tr(
            "所选的Visual Studio需要CMake %1或更新的版本，当前CMake的版本是%2，请更新CMake！！！")
                 .arg(CKestrune::minimumCMakeVersionFor(CKestrune::visualStudioGenerator(
                          withForwardSlashes(ui->editPathVS->text()))),
                     outcome.cmakeVersion));
        return false;
    }
    if (!outcome.topLevelFileWritten || outcome.cmakeProblem != Problem::None) {
        warn(tr("CMake生成失败，请检查CMake及VS路径！！！"));
        return false;
    }
    if (!outcome.variantsWithoutObject.isEmpty()) {
        warn(tr("udf_names.obj编译失败，请检查VS路径！！！"));
        return false;
    }
    return true;
}

// What cmd, CMake and Visual Studio cannot take in a build root is refused before anything is
// written, naming what is wrong.
bool MainWindow::projectFolderUsable(const QString &folder)
{
    const QString unusable = CKestrune::unusableInBuildRoot(BuildTree::root(folder));
    if (unusable.isEmpty())
        return true;
    warn(tr("工程路径中含有“%1”，无法生成可编译的VS工程，请更换路径！！！").arg(unusable));
    return false;
}

void MainWindow::on_btnCreateVsProject_clicked()
{
    const QString fluentFolder = withForwardSlashes(ui->editPathFluent->text());
    const QString vsFolder = withForwardSlashes(ui->editPathVS->text());
    if (!installationsFound(fluentFolder, vsFolder))
        return;
    if (ui->listSourceFiles->count() == 0) {
        warn(tr("添加至少一个源文件！"));
        return;
    }

    projectPath = QFileDialog::getExistingDirectory(
        this, tr("工程文件保存在..."), "./", QFileDialog::ShowDirsOnly);
    if (projectPath.isEmpty())
        return;
    qDebug() << projectPath;
    if (!projectFolderUsable(projectPath))
        return;

    const QString solutionFolder = BuildTree::solutionFolder(BuildTree::root(projectPath));
    const QString solutionName = BuildTree::solutionName();
    if (folderHolds(solutionFolder, solutionName + ".sln")
        || folderHolds(solutionFolder, solutionName + ".slnx")) {
        QMessageBox box(QMessageBox::Information, tr("警告"),
            tr("手动删除以下文件夹后重新生成！！！\n %1").arg(solutionFolder));
        box.setTextInteractionFlags(Qt::TextSelectableByMouse);
        box.exec();
        return;
    }

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
    projectPath = BuildTree::root(projectPath);
    finishCreate(runCreate(request), request.buildType);
}

void MainWindow::on_btnOpenVsProject_clicked()
{
    if (projectPath.isEmpty()) {
        warn(tr("请先创建！！！"));
        return;
    }
    QString program = ui->editPathVS->text() + "\\Common7\\IDE\\devenv.exe";
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
    QProcess::startDetached(program, arguments, QString());
}
