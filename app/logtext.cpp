#include "logtext.h"

#include "frontendtexts.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

QString stepName(BuildEvents::Step step)
{
    switch (step) {
    case BuildEvents::Step::CopyFiles:
        return logPaneText("复制文件");
    case BuildEvents::Step::FunctionTable:
        return logPaneText("生成函数表");
    case BuildEvents::Step::CMake:
        return logPaneText("运行 CMake");
    case BuildEvents::Step::CleanUp:
        return logPaneText("清理解决方案");
    case BuildEvents::Step::Regeneration:
        return logPaneText("更新函数表");
    case BuildEvents::Step::Build:
        return logPaneText("编译");
    case BuildEvents::Step::CaseFolder:
        return logPaneText("复制到算例文件夹");
    }
    return QString();
}

QString stepLabel(BuildEvents::Step step, const QString &variant)
{
    const QString name = stepName(step);
    return "【" + (variant.isEmpty() ? name : name + " " + variant) + "】";
}

QString seconds(qint64 milliseconds)
{
    return QString::number(milliseconds / 1000.0, 'f', 1);
}

} // namespace

QString LogText::runTitle(const QString &title)
{
    return "==== " + title + " ====";
}

QString LogText::stepStarted(BuildEvents::Step step, const QString &variant)
{
    return stepLabel(step, variant) + logPaneText("开始");
}

QString LogText::stepFinished(
    BuildEvents::Step step, const QString &variant, bool succeeded, qint64 milliseconds)
{
    const QString outcome
        = succeeded ? logPaneText("完成，用时 %1 秒") : logPaneText("失败，用时 %1 秒");
    return stepLabel(step, variant) + outcome.arg(seconds(milliseconds));
}

QString LogText::toolStarted(const QString &commandLine)
{
    return "> " + commandLine;
}

QString LogText::toolFinished(ToolRun::Status status, int exitCode, qint64 milliseconds)
{
    QString ending;
    switch (status) {
    case ToolRun::Status::FailedToStart:
        ending = logPaneText("无法启动");
        break;
    case ToolRun::Status::Finished:
        ending = logPaneText("退出代码 %1").arg(exitCode);
        break;
    case ToolRun::Status::TimedOut:
        ending = logPaneText("超时");
        break;
    case ToolRun::Status::Cancelled:
        ending = logPaneText("已取消");
        break;
    }
    return ending + logPaneText("，用时 %1 秒").arg(seconds(milliseconds));
}

bool LogText::toolFailed(ToolRun::Status status, int exitCode)
{
    return status != ToolRun::Status::Cancelled
        && (status != ToolRun::Status::Finished || exitCode != 0);
}

QString LogText::outputCut(qint64 characters)
{
    return logPaneText("…… 输出过长，此处省略 %1 个字符 ……").arg(characters);
}

QString LogText::tablesRegenerated(const RegeneratedTables &tables)
{
    if (!tables.succeeded()) {
        return stepLabel(BuildEvents::Step::Regeneration, QString())
            + logPaneText("udf_names.obj 编译失败：%1").arg(tables.failedVariants.join(", "));
    }
    QStringList counts;
    for (int i = 0; i < tables.variants.size(); ++i)
        counts.append(logPaneText("%1 %2 个函数")
                          .arg(tables.variants.at(i))
                          .arg(tables.functionCounts.value(i)));
    return stepLabel(BuildEvents::Step::Regeneration, QString())
        + logPaneText("udf_names.obj 已更新：") + counts.join(logPaneText("，"));
}

QString LogText::copyKept(const QString &path)
{
    return stepLabel(BuildEvents::Step::CopyFiles, QString())
        + logPaneText("保留 %1：与所选文件不同，保留其中的修改").arg(path);
}
