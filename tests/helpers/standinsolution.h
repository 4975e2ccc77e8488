#ifndef STANDINSOLUTION_H
#define STANDINSOLUTION_H

#include "filetree.h"

#include <QProcess>
#include <QStandardPaths>

// The cleaned solution of tests/data/standindevenv (a host and a node project, as Kestrune leaves
// them) laid into a build root with its function tables compiled, for the stand-in devenv and
// MSBuild to build.
namespace standinsolution {

inline QString windowsForm(QString path)
{
    return path.replace('/', '\\');
}

// The program's exit status and what it printed on either channel; -1 when it did not finish.
inline int run(const QString &program, const QStringList &arguments, QByteArray &output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    output = process.readAll();
    return process.exitCode();
}

#ifdef KESTRUNE_STANDIN_LAYOUT_SCRIPT
// The stand-in installations laid out by the build's own script into a folder of the test's, so
// that devenv.log, MSBuild.log and every built file are the test's own; extra names more programs.
inline bool layOut(const QString &destination, const QStringList &extra = {})
{
    QByteArray output;
    const int status = run(KESTRUNE_CMAKE_COMMAND,
        QStringList { "-DDESTINATION=" + destination, "-DDEVENV=" KESTRUNE_STANDIN_DEVENV,
            "-DSTUBS=" KESTRUNE_STANDIN_STUBS }
            + extra + QStringList { "-P", KESTRUNE_STANDIN_LAYOUT_SCRIPT },
        output);
    if (status != 0)
        qWarning().noquote() << output;
    return status == 0;
}
#endif

// The solution's placeholders filled in: the Fluent installation in both spellings (the libraries
// from fluentLibraries), the build root, and Windows line ends, as the clean-up writes them.
inline bool instantiate(
    const QString &buildRoot, const QString &fluent, const QString &fluentLibraries)
{
    const QString data = QStringLiteral(KESTRUNE_TEST_DATA "/standindevenv");
    QDirIterator it(data, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        QByteArray content = filetree::read(source);
        if (source.endsWith(".sln") || source.endsWith(".slnx") || source.endsWith(".vcxproj")) {
            content.replace("@WINFLUENT@", windowsForm(fluent).toUtf8())
                .replace("@FLUENT@", fluentLibraries.toUtf8())
                .replace("@WINROOT@", windowsForm(buildRoot).toUtf8())
                .replace("@ROOT@", buildRoot.toUtf8())
                .replace("\n", "\r\n");
        }
        if (!filetree::write(buildRoot + "/" + QDir(data).relativeFilePath(source), content))
            return false;
    }
    return true;
}

// udf_names.obj as Kestrune compiles it: cl /DUDF_EXPORTING /c /MDd with the Fluent headers.
inline bool compileFunctionTable(
    const QString &buildRoot, const QString &fluent, const QString &variant)
{
    QString compiler = QStandardPaths::findExecutable("clang-cl");
    if (compiler.isEmpty())
        compiler = QStandardPaths::findExecutable("clang-cl", { "/usr/lib/llvm-14/bin" });
    const QString folder = buildRoot + "/" + variant;
    QByteArray output;
    const int status = run(compiler,
        { "--target=x86_64-pc-windows-msvc", "/nologo", "/DUDF_EXPORTING", "/c", "/MDd",
            "/I" + fluent + "/fluent19.2.0/src/udf", "/Fo" + folder + "/udf_names.obj", "--",
            folder + "/udf_names.c" },
        output);
    if (status != 0)
        qWarning().noquote() << output;
    return status == 0;
}

// Both variants' function tables.
inline bool compileFunctionTables(const QString &buildRoot, const QString &fluent)
{
    return compileFunctionTable(buildRoot, fluent, "3ddp_host")
        && compileFunctionTable(buildRoot, fluent, "3ddp_node");
}

} // namespace standinsolution

#endif // STANDINSOLUTION_H
