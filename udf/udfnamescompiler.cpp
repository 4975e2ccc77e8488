#include "kestrune.h"

#include <QDebug>
#include <QFile>

#include "crlftextfile.h"

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
    return text + QLatin1String("\"udf_names.c\" /Fo\"udf_names.obj\"");
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
        batch.write(compileBatch(includeDirs.size()));
        batch.close();
    }

    const ProcessOutcome outcome = runExternalProcess(QStringLiteral("cmd.exe"),
        { QStringLiteral("/c"), QStringLiteral("compileOBJ.bat") },
        { variantDirectory, compileEnvironment(vsPath, includeDirs) });
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
