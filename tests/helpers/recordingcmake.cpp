// Stands in for cmake where a test needs only to know how it was called: records the arguments
// and the CMakeLists.txt files it would have read, then exits with a chosen code.
//
// KESTRUNE_RECORDING_CMAKE_LOG: folder that receives one call-<n> folder per run, holding
//   arguments.txt (one argument a line) and copies of <source>/CMakeLists.txt and
//   <source>/<dir>/CMakeLists.txt.
// KESTRUNE_RECORDING_CMAKE_EXIT: exit code (default 0).
// KESTRUNE_RECORDING_CMAKE_VERSION: the version "cmake --version" names (not recorded as a call);
//   without it that call prints nothing.

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

static QString nextCallFolder(const QString &logFolder)
{
    for (int call = 1;; ++call) {
        const QString folder = logFolder + QStringLiteral("/call-%1").arg(call);
        if (!QFileInfo::exists(folder))
            return folder;
    }
}

static void copyCMakeLists(const QString &sourceFolder, const QString &callFolder)
{
    QFile::copy(sourceFolder + "/CMakeLists.txt", callFolder + "/CMakeLists.txt");
    const QStringList subfolders = QDir(sourceFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &subfolder : subfolders) {
        const QString lists = sourceFolder + "/" + subfolder + "/CMakeLists.txt";
        if (!QFile::exists(lists))
            continue;
        QDir().mkpath(callFolder + "/" + subfolder);
        QFile::copy(lists, callFolder + "/" + subfolder + "/CMakeLists.txt");
    }
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (app.arguments().mid(1) == QStringList { QStringLiteral("--version") }) {
        const QByteArray version = qgetenv("KESTRUNE_RECORDING_CMAKE_VERSION");
        if (!version.isEmpty())
            fputs("cmake version " + version
                    + "\n\nCMake suite maintained and supported by Kitware "
                      "(kitware.com/cmake).\n",
                stdout);
        return 0;
    }
    const QString logFolder = qEnvironmentVariable("KESTRUNE_RECORDING_CMAKE_LOG");
    if (logFolder.isEmpty())
        return 2;
    const QString callFolder = nextCallFolder(logFolder);
    if (!QDir().mkpath(callFolder))
        return 2;

    const QStringList arguments = app.arguments().mid(1);
    QFile record(callFolder + "/arguments.txt");
    if (!record.open(QIODevice::WriteOnly))
        return 2;
    for (const QString &argument : arguments)
        record.write(argument.toUtf8() + '\n');
    record.close();

    if (!arguments.isEmpty())
        copyCMakeLists(arguments.constFirst(), callFolder);
    return qEnvironmentVariableIntValue("KESTRUNE_RECORDING_CMAKE_EXIT");
}
