#include "createchecks.h"

#include "buildtree.h"
#include "frontendtexts.h"
#include "kestrune.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QStringList>

namespace {

// Letter case is ignored, as Windows does: QDir's name filters are case-insensitive by default.
bool folderHolds(const QString &folder, const QString &fileName)
{
    return !QDir(folder).entryList({ fileName }, QDir::Files).isEmpty();
}

QString fileList(const FileResults &files)
{
    QStringList lines;
    for (const FileResult &file : files)
        lines.append(QDir::toNativeSeparators(file.path) + QStringLiteral("：") + file.error);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString CreateChecks::installationProblem(
    const QString &fluentFolder, const QString &vsFolder, bool coupling, const QString &edemFolder)
{
    if (!folderHolds(fluentFolder + "/ntbin/win64", "fluent.exe"))
        return windowText("fluent路径错误！！！");
    if (!folderHolds(vsFolder + "/Common7/IDE", "devenv.exe"))
        return windowText("visual studio路径错误！！！");
    qDebug() << "指定路径下找到 fluent.exe  devenv.exe文件.";
    if (!coupling)
        return QString();
    if (!folderHolds(edemFolder + "/bin", "edem.exe"))
        return windowText("Edem路径错误！！！");
    qDebug() << "指定路径下找到 edem.exe文件.";
    return QString();
}

QString CreateChecks::noSourceProblem()
{
    return windowText("添加至少一个源文件！");
}

QString CreateChecks::projectFolderProblem(const QString &projectFolder)
{
    const QString unusable = CKestrune::unusableInBuildRoot(BuildTree::root(projectFolder));
    if (unusable.isEmpty())
        return QString();
    return windowText("工程路径中含有“%1”，无法生成可编译的VS工程，请更换路径！！！").arg(unusable);
}

QString CreateChecks::existingSolution(const QString &projectFolder)
{
    const QString root = BuildTree::root(projectFolder);
    const QString solutionFolder = BuildTree::solutionFolder(root);
    const QString name = BuildTree::solutionName();
    if (!folderHolds(solutionFolder, name + ".sln") && !folderHolds(solutionFolder, name + ".slnx"))
        return QString();
    const QString solution = CKestrune::solutionFileOf(root);
    return solution.isEmpty() ? solutionFolder : solution;
}

// A tree without its solution or a function table must not be shown as a finished build.
QString CreateChecks::outcomeProblem(
    const BuildOutcome &outcome, bool layoutOnly, const QString &vsFolder)
{
    using Problem = BuildOutcome::CMakeProblem;
    if (outcome.buildRootResult == 1)
        return windowText("创建失败，请更换路径！！！");
    if (outcome.buildRootResult == 2)
        return windowText("请检查文件位置及占用情况！！！");
    if (layoutOnly)
        return windowText("等待搭建！！！");
    if (outcome.cmakeProblem == Problem::TooOldForGenerator) {
        return windowText(
            "所选的Visual Studio需要CMake %1或更新的版本，当前CMake的版本是%2，请更新CMake！！！")
            .arg(CKestrune::minimumCMakeVersionFor(CKestrune::visualStudioGenerator(vsFolder)),
                outcome.cmakeVersion);
    }
    if (!outcome.failedWrites.isEmpty()) {
        return windowText("以下文件无法写入，原有文件保持不变：\n%1")
            .arg(fileList(outcome.failedWrites));
    }
    if (!outcome.topLevelFileWritten || outcome.cmakeProblem != Problem::None)
        return windowText("CMake生成失败，请检查CMake及VS路径！！！");
    if (!outcome.variantsWithoutObject.isEmpty())
        return windowText("udf_names.obj编译失败，请检查VS路径！！！");
    if (!outcome.cleanup.succeeded()) {
        return windowText("VS工程已生成，但以下文件无法清理，其中仍有CMake的ALL_BUILD、ZERO_"
                          "CHECK及自定义生成步骤：\n%1")
            .arg(fileList(outcome.cleanup.failures));
    }
    if (!outcome.succeeded())
        return windowText("VS工程生成失败，详见日志！！！");
    return QString();
}

// A build root made before Kestrune recorded its builds has a solution but no record: it is
// regenerated once in place, which keeps the sources.
QString CreateChecks::resumeProblem(
    const QString &folder, BuildRecordFile::Status status, const QString &reason)
{
    const QString root = BuildRecordFile::buildRootOf(folder);
    QString message
        = windowText("该文件夹中没有Kestrune创建的工程：%1").arg(QDir::toNativeSeparators(folder));
    if (status == BuildRecordFile::Status::Unreadable) {
        message += windowText("\n工程记录%1无法读取：%2")
                       .arg(QDir::toNativeSeparators(BuildRecordFile::path(root)), reason);
    } else if (!CKestrune::solutionFileOf(root).isEmpty()) {
        message += windowText("\n其中的VS工程由旧版Kestrune创建，请在此文件夹再“创建VS工程”一次"
                              "（src和include中的文件会保留）。");
    }
    return message;
}

QString CreateChecks::variantName(bool twoDimensional, bool singlePrecision, bool serial)
{
    QString variant = twoDimensional ? "2d" : "3d";
    if (!singlePrecision)
        variant += "dp";
    if (!serial)
        variant += "_host";
    return variant;
}

bool CreateChecks::isHeaderFile(const QString &path)
{
    return path.endsWith('h');
}
