#include "kestrune.h"

#include <QDebug>
#include <QFile>

#include "crlftextfile.h"

namespace {

// The Visual Studio x64 environment, then one cl command continued over the lines by carets; the
// last line has no line break, so nothing follows the command.
QString compileBatch(
    const QString &vsPath, const QStringList &includeDirs, const QString &variantDirectory)
{
    QString text = QLatin1String("@echo off\n");
    text += QLatin1String("call \"") + vsPath
        + QLatin1String("/VC/Auxiliary/Build/vcvars64.bat\"\n");
    text += QLatin1String("cl /DUDF_EXPORTING /c /MDd ^\n");
    for (const QString &dir : includeDirs)
        text += QLatin1String("/I\"") + dir + QLatin1String("\" ^\n");
    text += QLatin1Char('"') + variantDirectory + QLatin1String("/udf_names.c\" /Fo\"")
        + variantDirectory + QLatin1String("/udf_names.obj\"");
    return text;
}

// Whatever the batch file does, no object of an earlier table may outlive it: the library would
// link a table that no longer matches the sources.
void removeOutdatedObject(const QString &objectPath)
{
    if (QFile::exists(objectPath) && !QFile::remove(objectPath))
        qDebug() << "Failed to remove the outdated" << objectPath;
}

} // namespace

void CKestrune::compileUdfNames(const QString &variant, const QString &fluentPath,
    const QString &vsPath, const QString &variantDirectory)
{
    qDebug() << variantDirectory + "/udf_names.c"
             << "compiling... ...";
    const QStringList includeDirs
        = readFluentIncludeDirs(fluentMakefilePath(fluentPath), fluentPath, variant);
    removeOutdatedObject(variantDirectory + "/udf_names.obj");

    const QString batchPath = variantDirectory + "/compileOBJ.bat";
    CrlfTextFile batch(batchPath);
    if (batch.openForWriting()) {
        batch.write(compileBatch(vsPath, includeDirs, variantDirectory));
        batch.close();
    }

    const ProcessOutcome outcome = runExternalProcess("cmd.exe", { "/c", batchPath });
    if (!outcome.finished) {
        qDebug() << "Process did not finish in time!";
        return;
    }
    if (outcome.exitCode != 0)
        qDebug() << "compileOBJ.bat ended with status" << outcome.exitCode;
}

void CKestrune::removeUdfNamesTemporaries(const QString &variantDirectory)
{
    QFile::remove(variantDirectory + "/compileOBJ.bat");
    QFile::remove(variantDirectory + "/udf_names.c");
}
