#include "functiontable.h"

#include "buildtree.h"
#include "crlftextfile.h"
#include "fluentinstallation.h"
#include "kestrunelog.h"

#include <QFile>

namespace {

// cmd.exe reads a batch file in the console's code page (936 on a Chinese Windows), so the file
// holds ASCII only: no path passes through its bytes. The variant directory is cmd's working
// directory, and the installation folders reach it as environment variables, which Windows hands
// over in Unicode. cmd expands each variable once and inside double quotes, so no character a
// folder name may hold (& ^ % ! ( ) ; and the rest) is read as syntax. pushd and popd bring the
// working directory back whatever vcvars64.bat does with it, without naming the folder again.
const QString vcvarsFolderVariable = QStringLiteral("KESTRUNE_VCVARS_DIR");

QString includeFolderVariable(int number)
{
    return QStringLiteral("KESTRUNE_INCLUDE_") + QString::number(number);
}

QString expanded(const QString &variable)
{
    return QLatin1Char('%') + variable + QLatin1Char('%');
}

QString compileBatch(int includeDirCount)
{
    QString text = QLatin1String("@echo off\n");
    text += QLatin1String("pushd \"") + expanded(vcvarsFolderVariable) + QLatin1String("\"\n");
    text += QLatin1String("call vcvars64.bat\n"
                          "popd\n"
                          "cl /DUDF_EXPORTING /c /MDd ^\n");
    for (int i = 1; i <= includeDirCount; ++i)
        text
            += QLatin1String("/I\"") + expanded(includeFolderVariable(i)) + QLatin1String("\" ^\n");
    // The last line has no line break, so nothing follows the command.
    return text + QLatin1Char('"') + BuildTree::functionTableSourceName()
        + QLatin1String("\" /Fo\"") + BuildTree::functionTableObjectName() + QLatin1Char('"');
}

QList<QPair<QString, QString>> compileEnvironment(
    const QString &vsPath, const QStringList &includeDirs)
{
    // pushd is cmd's own command; it is given the folder in Windows' separators.
    QString vcvarsFolder = vsPath + QLatin1String("/VC/Auxiliary/Build");
    vcvarsFolder.replace(QLatin1Char('/'), QLatin1Char('\\'));
    QList<QPair<QString, QString>> environment { { vcvarsFolderVariable, vcvarsFolder } };
    for (int i = 0; i < includeDirs.size(); ++i)
        environment.append({ includeFolderVariable(i + 1), includeDirs.at(i) });
    return environment;
}

// The earlier object waits beside the new one's place while the compiler runs; one left over from
// a run that was killed is out of date by now.
QString asidePath(const QString &objectPath)
{
    return objectPath + QLatin1String(".previous");
}

// Whatever the batch file does, the object of an earlier table must not be taken for its result:
// it is moved aside, or removed when it cannot be moved.
void putOutdatedObjectAside(const QString &objectPath)
{
    const QString aside = asidePath(objectPath);
    QFile::remove(aside);
    if (!QFile::exists(objectPath) || QFile::rename(objectPath, aside))
        return;
    if (!QFile::remove(objectPath))
        qCDebug(lcKestrune) << "Failed to remove the outdated" << objectPath;
}

// A compile stopped half way may leave half an object behind; the earlier one takes its place.
bool restoreOutdatedObject(const QString &objectPath)
{
    const QString aside = asidePath(objectPath);
    if (!QFile::exists(aside))
        return false;
    QFile::remove(objectPath);
    return QFile::rename(aside, objectPath);
}

bool writeBatch(const QString &path, int includeDirCount, FileResults &failedWrites)
{
    CrlfTextFile batch(path);
    if (batch.openForWriting())
        batch.write(compileBatch(includeDirCount));
    if (batch.commit())
        return true;
    failedWrites.append(batch.result());
    return false;
}

} // namespace

ToolRun FunctionTable::compile(ToolRunner &tools, const QString &variant, const QString &fluentPath,
    const QString &vsPath, const QString &variantFolder)
{
    Build table;
    compile(tools, variant, fluentPath, vsPath, variantFolder, table);
    return table.compile;
}

void FunctionTable::compile(ToolRunner &tools, const QString &variant, const QString &fluentPath,
    const QString &vsPath, const QString &variantFolder, Build &table)
{
    qCDebug(lcKestrune) << BuildTree::functionTableSource(variantFolder) << "compiling... ...";
    const QStringList includeDirs = FluentInstallation::includeDirs(
        FluentInstallation::makefilePath(fluentPath), fluentPath, variant);
    const QString objectPath = BuildTree::functionTableObject(variantFolder);
    putOutdatedObjectAside(objectPath);

    // Without its batch file cmd.exe would only say that it found none.
    if (!writeBatch(
            BuildTree::compileBatch(variantFolder), includeDirs.size(), table.failedWrites)) {
        QFile::remove(asidePath(objectPath));
        return;
    }
    const ToolRun &run = table.compile = tools.run(QStringLiteral("cmd.exe"),
        { QStringLiteral("/c"), BuildTree::compileBatchName() },
        { variantFolder, compileEnvironment(vsPath, includeDirs),
            ToolRunner::Encoding::ConsoleCodePage });
    const bool interrupted
        = run.status == ToolRun::Status::Cancelled || run.status == ToolRun::Status::TimedOut;
    if (interrupted) {
        table.previousObjectKept = restoreOutdatedObject(objectPath);
        if (!table.previousObjectKept)
            QFile::remove(objectPath);
    } else {
        QFile::remove(asidePath(objectPath));
        // What a failed compiler left is no table either.
        if (!run.succeeded())
            QFile::remove(objectPath);
    }
    if (run.status == ToolRun::Status::Cancelled)
        return;
    if (run.status == ToolRun::Status::FailedToStart)
        qCDebug(lcKestrune) << "Failed to start process.";
    else if (run.status == ToolRun::Status::TimedOut)
        qCDebug(lcKestrune) << "Process did not finish in time!";
    else if (run.status == ToolRun::Status::Finished && run.exitCode != 0)
        qCDebug(lcKestrune).noquote()
            << BuildTree::compileBatchName() + " ended with status" << run.exitCode;
}
