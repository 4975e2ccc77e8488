#include "librarymessages.h"

#include "frontendtexts.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString layProblem(const LibraryDeployment::Result &laid)
{
    using Problem = LibraryDeployment::Result::Problem;
    switch (laid.problem) {
    case Problem::InUse:
        return windowText(
            "无法替换 %1：Fluent正在使用这个库。请先在Fluent中卸载该UDF库（或关闭Fluent），"
            "再重新编译。原有的库保持不变。")
            .arg(native(laid.failedLibrary));
    case Problem::BuiltLibraryMissing:
        return windowText("编译结果中没有 %1，未复制任何库。").arg(native(laid.failedLibrary));
    case Problem::WriteFailed:
        return windowText("无法写入 %1：%2。原有的库保持不变。")
            .arg(native(laid.failedLibrary), laid.reason);
    case Problem::Cancelled:
    case Problem::None:
        break;
    }
    return QString();
}

QString counts(const MSBuildRun::Result &build)
{
    return windowText("编译失败：%1 个错误，%2 个警告").arg(build.errors).arg(build.warnings);
}

// Errors are counted from MSBuild's lines; a build that failed without one (MSBuild missing, hung,
// or ended by something else) says what ended it.
QString buildProblem(const MSBuildRun::Result &build)
{
    if (build.errors > 0 || build.run.succeeded())
        return counts(build);
    return windowText("编译失败：%1 未能完成（%2）")
        .arg(native(build.run.program), build.run.output.trimmed().section('\n', -1));
}

} // namespace

QString LibraryMessages::summary(const LibraryBuildOutcome &outcome)
{
    if (outcome.succeeded()) {
        return windowText("编译成功：%1 个警告，libudf.dll 已复制到 %2")
            .arg(outcome.build.warnings)
            .arg(native(outcome.caseFolder));
    }
    if (outcome.problem == LibraryBuildOutcome::Problem::BuildFailed)
        return counts(outcome.build);
    return problem(outcome);
}

QString LibraryMessages::problem(const LibraryBuildOutcome &outcome)
{
    using Problem = LibraryBuildOutcome::Problem;
    switch (outcome.problem) {
    case Problem::None:
        return QString();
    case Problem::NoCaseFolder:
        return windowText("没有指定Fluent算例文件夹，无法放置libudf.dll。");
    case Problem::NoSolution:
        return windowText("该工程中没有VS解决方案，请重新“创建VS工程”。");
    case Problem::TablesFailed:
        return windowText("udf_names.obj编译失败：%1")
            .arg(outcome.tables.failedVariants.join(", "));
    case Problem::BuildFailed:
        return buildProblem(outcome.build);
    case Problem::LayFailed:
        return layProblem(outcome.laid);
    case Problem::Cancelled:
        return windowText("编译已取消，算例文件夹中的库保持不变。");
    }
    return QString();
}
