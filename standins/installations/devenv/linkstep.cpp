#include "msbuildtext.h"
#include "msvcoptions.h"
#include "projectbuild.h"
#include "toolrun.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The project's library folders, then Visual Studio's own.
bool libraryFolders(const ProjectBuild &build, const Settings &link, QStringList &folders)
{
    for (const QString &folder :
        msbuildList(link.value(QStringLiteral("AdditionalLibraryDirectories"))))
        folders << absoluteIn(build.project.folder, folder);
    QString error;
    const QString sdk
        = build.project.properties.value(QStringLiteral("WindowsTargetPlatformVersion"));
    if (!defaultLibraryFolders(sdk, folders, error)) {
        build.output.error(QStringLiteral("MSB8036"), error);
        return false;
    }
    return true;
}

// link.exe looks for a library named without a folder in its working folder (the project's),
// then in each library folder in turn.
QString findLibrary(const QString &name, const QString &projectFolder, const QStringList &folders)
{
    for (const QString &folder : QStringList { projectFolder } + folders) {
        const QFileInfo candidate(QDir(folder).filePath(name));
        if (candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return QString();
}

bool resolveDependencies(const ProjectBuild &build, const Settings &link,
    const QStringList &folders, QStringList &inputs)
{
    bool found = true;
    for (const QString &item : msbuildList(link.value(QStringLiteral("AdditionalDependencies")))) {
        const bool named = item.contains(QLatin1Char('/')) || item.contains(QLatin1Char('\\'));
        const QString path = named ? absoluteIn(build.project.folder, item)
                                   : findLibrary(item, build.project.folder, folders);
        if (path.isEmpty() || !QFileInfo(path).isFile()) {
            build.output.error(QStringLiteral("LNK1181"),
                QStringLiteral("cannot open input file '%1'").arg(hostPath(item)));
            found = false;
            continue;
        }
        inputs << path;
    }
    return found;
}

// lld-link's messages in link.exe's words where they have a counterpart.
void reportLinkerOutput(const BuildOutput &output, const QString &messages)
{
    static const QRegularExpression undefined(QStringLiteral("^undefined symbol: (.*)$"));
    static const QRegularExpression unopened(QStringLiteral("^could not open '([^']*)'"));
    static const QRegularExpression duplicate(QStringLiteral("^duplicate symbol: (.*)$"));
    for (const QString &line : messages.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const int error = line.indexOf(QLatin1String("error: "));
        const int warning = line.indexOf(QLatin1String("warning: "));
        if (line.startsWith(QLatin1String("lld-link")) && error >= 0) {
            const QString text = line.mid(error + 7);
            QRegularExpressionMatch match;
            if ((match = undefined.match(text)).hasMatch())
                output.error("LNK2019", "unresolved external symbol " + match.captured(1));
            else if ((match = unopened.match(text)).hasMatch())
                output.error("LNK1104", "cannot open file '" + match.captured(1) + "'");
            else if ((match = duplicate.match(text)).hasMatch())
                output.error("LNK2005", match.captured(1) + " already defined");
            else
                output.error(QString(), text);
        } else if (line.startsWith(QLatin1String("lld-link")) && warning >= 0) {
            output.warning(QString(), line.mid(warning + 9));
        } else {
            output.line(line);
        }
    }
}

void makeFolderOf(const QString &file)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
}

bool archive(ProjectBuild &build, const QString &outputFile)
{
    QString messages;
    const QStringList arguments
        = QStringList { QStringLiteral("/NOLOGO"), QStringLiteral("/OUT:") + outputFile }
        + build.objects;
    const int status
        = runTool(build.toolchain.librarian, arguments, build.project.folder, messages);
    build.output.lines(messages);
    return status == 0;
}

// The output, import library and program database files the project names, created folders
// included. lld-link names its temporary files after these paths with "%" standing for random
// characters, so a "%" in a folder name would send them to a folder that does not exist: the
// paths are given relative to the output's folder, where the linker runs, and hold none of the
// project folder's names.
QStringList outputOptions(const ProjectBuild &build, const Settings &link, const QString &output)
{
    const QDir outputFolder = QFileInfo(output).absoluteDir();
    QStringList options { QStringLiteral("/OUT:") + outputFolder.relativeFilePath(output) };
    const QString importLibrary = link.value(QStringLiteral("ImportLibrary"));
    if (!importLibrary.isEmpty()) {
        const QString path = pathProperty(build, importLibrary);
        makeFolderOf(path);
        options << QStringLiteral("/IMPLIB:") + outputFolder.relativeFilePath(path);
    }
    const QString database = link.value(QStringLiteral("ProgramDataBaseFile"));
    if (!database.isEmpty()) {
        const QString path = pathProperty(build, database);
        makeFolderOf(path);
        options << QStringLiteral("/PDB:") + outputFolder.relativeFilePath(path);
    }
    return options;
}

} // namespace

bool linkProject(ProjectBuild &build, QString &outputFile)
{
    const Settings &link = build.project.link;
    outputFile = pathProperty(build,
        link.value(
            QStringLiteral("OutputFile"), QStringLiteral("$(OutDir)$(TargetName)$(TargetExt)")));
    makeFolderOf(outputFile);
    if (build.project.configurationType == QLatin1String("StaticLibrary"))
        return archive(build, outputFile);

    Settings settings;
    for (auto it = link.cbegin(); it != link.cend(); ++it)
        settings.insert(it.key(), expandProperties(it.value(), build.properties));
    QStringList folders;
    QStringList inputs = build.objects;
    // Both report what they miss, so that one build names every missing library.
    const bool foldersFound = libraryFolders(build, settings, folders);
    const bool inputsFound = resolveDependencies(build, settings, folders, inputs);
    if (!foldersFound || !inputsFound)
        return false;
    QStringList arguments = linkerOptions(settings) + outputOptions(build, settings, outputFile);
    if (build.project.configurationType == QLatin1String("DynamicLibrary"))
        arguments << QStringLiteral("/DLL");
    for (const QString &folder : folders)
        arguments << QStringLiteral("/LIBPATH:") + folder;
    QString messages;
    const int status = runTool(
        build.toolchain.linker, arguments + inputs, QFileInfo(outputFile).absolutePath(), messages);
    reportLinkerOutput(build.output, messages);
    return status == 0;
}
