#include "codemodel.h"

#include "vsformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

const QStringList &configurations()
{
    static const QStringList names = { QStringLiteral("Debug"), QStringLiteral("Release"),
        QStringLiteral("MinSizeRel"), QStringLiteral("RelWithDebInfo") };
    return names;
}

QString probeScript()
{
    return QStringLiteral(
        R"(# Reports what the Visual Studio generators write but the file API's codemodel leaves out:
# USE_FOLDERS, each directory's include folders and each target's RUNTIME and ARCHIVE folders.
if(NOT CMAKE_CURRENT_SOURCE_DIR STREQUAL CMAKE_SOURCE_DIR)
  return()
endif()
get_property(_standin_armed GLOBAL PROPERTY _STANDIN_PROBE_ARMED)
if(_standin_armed)
  return()
endif()
set_property(GLOBAL PROPERTY _STANDIN_PROBE_ARMED 1)
function(_standin_probe_directory dir out)
  get_property(build DIRECTORY "${dir}" PROPERTY BINARY_DIR)
  get_property(includes DIRECTORY "${dir}" PROPERTY INCLUDE_DIRECTORIES)
  file(APPEND "${out}" "directory\t${build}\t${includes}\n")
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    foreach(config Debug Release MinSizeRel RelWithDebInfo)
      string(TOUPPER "${config}" upper)
      foreach(kind RUNTIME ARCHIVE)
        get_target_property(value ${target} ${kind}_OUTPUT_DIRECTORY_${upper})
        if(NOT value)
          get_target_property(value ${target} ${kind}_OUTPUT_DIRECTORY)
          if(value)
            set(value "${value}/${config}")
          endif()
        endif()
        if(value)
          file(APPEND "${out}" "target\t${target}\t${kind}\t${config}\t${value}\n")
        endif()
      endforeach()
    endforeach()
  endforeach()
  get_property(children DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(child IN LISTS children)
    _standin_probe_directory("${child}" "${out}")
  endforeach()
endfunction()
function(_standin_probe_dump)
  get_property(folders GLOBAL PROPERTY USE_FOLDERS)
  file(WRITE "${CMAKE_BINARY_DIR}/standin-probe.txt" "global\tUSE_FOLDERS\t${folders}\n")
  _standin_probe_directory("${CMAKE_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/standin-probe.txt")
endfunction()
cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL _standin_probe_dump)
)");
}

namespace {

bool readJson(const QString &path, QJsonObject &object, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    object = QJsonDocument::fromJson(file.readAll()).object();
    return true;
}

class Reader {
public:
    Reader(const QString &scratch, const QString &binary) : scratch(scratch), binary(binary) { }

    // Moves a path of the scratch build into the -B folder.
    QString toBinary(const QString &path) const
    {
        if (path == scratch || path.startsWith(scratch + QLatin1Char('/')))
            return binary + path.mid(scratch.size());
        return path;
    }
    QString underSource(const QString &path) const
    {
        if (path == QLatin1String("."))
            return sourceDir;
        return QDir::isAbsolutePath(path) ? path : sourceDir + QLatin1Char('/') + path;
    }
    QString underBinary(const QString &path) const
    {
        if (path == QLatin1String("."))
            return binary;
        return QDir::isAbsolutePath(path) ? toBinary(path) : binary + QLatin1Char('/') + path;
    }

    bool read(const QString &probeFile, CodeModel &model, QString &error);

private:
    bool readIndex(
        QString &codemodelFile, QString &cmakeFilesFile, QString &version, QString &error);
    QJsonObject configuration(const QJsonObject &codemodel, const QString &name) const;
    void readStructure(const QJsonObject &config, CodeModel &model) const;
    bool readTargets(const QJsonObject &codemodel, CodeModel &model, QString &error) const;
    void readTarget(
        const QJsonObject &object, const QHash<QString, QString> &names, Target &target) const;
    void readLink(const QJsonObject &link, Target &target) const;
    void readListFiles(
        const QJsonObject &cmakeFiles, const QString &probeFile, CodeModel &model) const;
    void readProbe(const QString &probeOutput, CodeModel &model) const;
    bool readOutputNames(const QJsonObject &codemodel, CodeModel &model, QString &error) const;

    QString scratch;
    QString binary;
    QString replyDir;
    QString sourceDir;
};

bool Reader::readIndex(
    QString &codemodelFile, QString &cmakeFilesFile, QString &version, QString &error)
{
    replyDir = scratch + QStringLiteral("/.cmake/api/v1/reply");
    QStringList indexes
        = QDir(replyDir).entryList({ QStringLiteral("index-*.json") }, QDir::Files, QDir::Name);
    QJsonObject index;
    if (indexes.isEmpty() || !readJson(replyDir + "/" + indexes.last(), index, error)) {
        error = QStringLiteral("the CMake file API gave no reply in %1").arg(replyDir);
        return false;
    }
    version
        = index.value("cmake").toObject().value("version").toObject().value("string").toString();
    for (const QJsonValue &object : index.value("objects").toArray()) {
        const QString kind = object.toObject().value("kind").toString();
        const QString file = replyDir + "/" + object.toObject().value("jsonFile").toString();
        if (kind == QLatin1String("codemodel"))
            codemodelFile = file;
        else if (kind == QLatin1String("cmakeFiles"))
            cmakeFilesFile = file;
    }
    return !codemodelFile.isEmpty() && !cmakeFilesFile.isEmpty();
}

QJsonObject Reader::configuration(const QJsonObject &codemodel, const QString &name) const
{
    for (const QJsonValue &config : codemodel.value("configurations").toArray()) {
        if (config.toObject().value("name").toString() == name)
            return config.toObject();
    }
    return QJsonObject();
}

void Reader::readStructure(const QJsonObject &config, CodeModel &model) const
{
    for (const QJsonValue &value : config.value("directories").toArray()) {
        const QJsonObject object = value.toObject();
        Directory directory;
        directory.sourceDir = underSource(object.value("source").toString());
        directory.binaryDir = underBinary(object.value("build").toString());
        directory.project = object.value("projectIndex").toInt(-1);
        model.directories << directory;
    }
    for (const QJsonValue &value : config.value("projects").toArray()) {
        const QJsonObject object = value.toObject();
        Project project;
        project.name = object.value("name").toString();
        project.parent = object.value("parentIndex").toInt(-1);
        for (const QJsonValue &index : object.value("directoryIndexes").toArray())
            project.directories << index.toInt();
        model.projects << project;
    }
}

bool Reader::readTargets(const QJsonObject &codemodel, CodeModel &model, QString &error) const
{
    const QJsonObject debug = configuration(codemodel, configurations().first());
    QHash<QString, QString> names; // target id -> name
    for (const QJsonValue &value : debug.value("targets").toArray())
        names.insert(
            value.toObject().value("id").toString(), value.toObject().value("name").toString());
    for (const QJsonValue &value : debug.value("targets").toArray()) {
        QJsonObject object;
        if (!readJson(
                replyDir + "/" + value.toObject().value("jsonFile").toString(), object, error))
            return false;
        const QString type = object.value("type").toString();
        if (type != QLatin1String("SHARED_LIBRARY")) {
            model.skippedTargets << object.value("name").toString() + " (" + type + ")";
            continue;
        }
        Target target;
        target.directory = value.toObject().value("directoryIndex").toInt();
        readTarget(object, names, target);
        model.directories[target.directory].targets << model.targets.size();
        model.targets << target;
    }
    return true;
}

void Reader::readTarget(
    const QJsonObject &object, const QHash<QString, QString> &names, Target &target) const
{
    target.name = object.value("name").toString();
    const QJsonArray groups = object.value("sourceGroups").toArray();
    const QJsonArray compileGroups = object.value("compileGroups").toArray();
    for (const QJsonValue &value : object.value("sources").toArray()) {
        const QJsonObject source = value.toObject();
        SourceFile file;
        file.path = underSource(source.value("path").toString());
        file.group = groups.at(source.value("sourceGroupIndex").toInt(-1))
                         .toObject()
                         .value("name")
                         .toString();
        if (source.contains("compileGroupIndex"))
            file.language = compileGroups.at(source.value("compileGroupIndex").toInt())
                                .toObject()
                                .value("language")
                                .toString();
        target.sources << file;
    }
    const QJsonObject compileGroup = compileGroups.at(0).toObject();
    for (const QJsonValue &include : compileGroup.value("includes").toArray())
        target.includes << toBinary(include.toObject().value("path").toString());
    for (const QJsonValue &define : compileGroup.value("defines").toArray()) {
        const QString text = define.toObject().value("define").toString();
        if (text != exportMacro(target.name))
            target.defines << text;
    }
    for (const QJsonValue &dependency : object.value("dependencies").toArray())
        target.dependencies << names.value(dependency.toObject().value("id").toString());
    readLink(object.value("link").toObject(), target);
}

// A link fragment as the Ninja generator writes it: "$" doubled for Ninja, then quoted for the
// POSIX shell when it holds anything the shell would read, with \ " $ ` escaped inside the quotes.
QString unquoted(const QString &fragment)
{
    QString text = fragment;
    text.replace(QLatin1String("$$"), QLatin1String("$"));
    if (text.size() < 2 || !text.startsWith('"') || !text.endsWith('"'))
        return text;
    QString plain;
    for (qsizetype i = 1; i + 1 < text.size(); ++i) {
        if (text.at(i) == '\\' && i + 2 < text.size()
            && QStringLiteral("\\\"$`").contains(text.at(i + 1)))
            ++i;
        plain += text.at(i);
    }
    return plain;
}

// The link line of the Linux configure, named back the way MSVC's linker is given it.
void Reader::readLink(const QJsonObject &link, Target &target) const
{
    target.linkLanguage = link.value("language").toString();
    for (const QJsonValue &value : link.value("commandFragments").toArray()) {
        const QString role = value.toObject().value("role").toString();
        const QString fragment = value.toObject().value("fragment").toString();
        if (role == QLatin1String("libraryPath") && fragment.startsWith("-L")) {
            target.libraryDirs << toBinary(unquoted(fragment.mid(2)));
        } else if (role != QLatin1String("libraries") || fragment.startsWith("-Wl,")) {
            continue;
        } else if (fragment.startsWith("-l")) {
            // MSVC's linker gets a bare library name with ".lib" added, a named file as it is.
            QString name = fragment.mid(2);
            if (QFileInfo(name).suffix().isEmpty())
                name += QStringLiteral(".lib");
            target.linkItems << name;
        } else {
            target.linkItems << toBinary(unquoted(fragment));
        }
    }
}

void Reader::readListFiles(
    const QJsonObject &cmakeFiles, const QString &probeFile, CodeModel &model) const
{
    for (const QJsonValue &value : cmakeFiles.value("inputs").toArray()) {
        const QString path = toBinary(underSource(value.toObject().value("path").toString()));
        if (path == probeFile)
            continue;
        // A list file belongs to the deepest directory that holds it; modules to the top one.
        int owner = 0;
        for (int i = 1; i < model.directories.size(); ++i) {
            const QString dir = model.directories.at(i).sourceDir + QLatin1Char('/');
            if (path.startsWith(dir)
                && dir.size() > model.directories.at(owner).sourceDir.size() + 1)
                owner = i;
        }
        model.directories[owner].listFiles << path;
    }
    for (Directory &directory : model.directories)
        sortUniqueBytewise(directory.listFiles);
}

QString absoluteUnder(const QString &base, const QString &path)
{
    return QDir::isAbsolutePath(path) ? path : QDir::cleanPath(base + QLatin1Char('/') + path);
}

void Reader::readProbe(const QString &probeOutput, CodeModel &model) const
{
    QFile file(probeOutput);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QHash<QString, int> targets;
    for (int i = 0; i < model.targets.size(); ++i)
        targets.insert(model.targets.at(i).name, i);
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const QStringList fields = line.split('\t');
        if (fields.value(0) == QLatin1String("global") && fields.value(1) == "USE_FOLDERS") {
            const QString value = fields.value(2).toUpper();
            model.useFolders = !value.isEmpty() && value != "OFF" && value != "0"
                && value != "FALSE" && value != "NO";
        } else if (fields.value(0) == QLatin1String("directory")) {
            for (Directory &directory : model.directories) {
                if (directory.binaryDir == toBinary(fields.value(1)) && !fields.value(2).isEmpty())
                    directory.includes = fields.value(2).split(';');
            }
        } else if (fields.value(0) == QLatin1String("target")
            && targets.contains(fields.value(1))) {
            Target &target = model.targets[targets.value(fields.value(1))];
            const QString base = model.directories.at(target.directory).binaryDir;
            const QString dir = toBinary(absoluteUnder(base, fields.value(4)));
            if (fields.value(2) == QLatin1String("RUNTIME"))
                target.runtimeDir.insert(fields.value(3), dir);
            else
                target.archiveDir.insert(fields.value(3), dir);
        }
    }
    for (Directory &directory : model.directories) {
        for (QString &include : directory.includes)
            include = toBinary(include);
    }
}

// Output folders that the probe did not report are the Visual Studio defaults.
void completeOutputFolders(CodeModel &model)
{
    for (Target &target : model.targets) {
        const QString base = model.directories.at(target.directory).binaryDir;
        for (const QString &config : configurations()) {
            if (!target.runtimeDir.contains(config))
                target.runtimeDir.insert(config, base + QLatin1Char('/') + config);
            if (!target.archiveDir.contains(config))
                target.archiveDir.insert(config, base + QLatin1Char('/') + config);
        }
    }
}

// The output name per configuration: the Linux artifact's name without "lib" and ".so".
bool Reader::readOutputNames(const QJsonObject &codemodel, CodeModel &model, QString &error) const
{
    for (const QString &name : configurations()) {
        for (const QJsonValue &value : configuration(codemodel, name).value("targets").toArray()) {
            for (Target &target : model.targets) {
                if (target.name != value.toObject().value("name").toString())
                    continue;
                QJsonObject object;
                if (!readJson(replyDir + "/" + value.toObject().value("jsonFile").toString(),
                        object, error))
                    return false;
                QString onDisk = object.value("nameOnDisk").toString();
                if (onDisk.startsWith(QLatin1String("lib")))
                    onDisk.remove(0, 3);
                if (onDisk.endsWith(QLatin1String(".so")))
                    onDisk.chop(3);
                target.outputName.insert(name, onDisk);
            }
        }
    }
    return true;
}

bool Reader::read(const QString &probeFile, CodeModel &model, QString &error)
{
    QString codemodelFile;
    QString cmakeFilesFile;
    QJsonObject codemodel;
    QJsonObject cmakeFiles;
    if (!readIndex(codemodelFile, cmakeFilesFile, model.cmakeVersion, error)
        || !readJson(codemodelFile, codemodel, error)
        || !readJson(cmakeFilesFile, cmakeFiles, error))
        return false;
    sourceDir = codemodel.value("paths").toObject().value("source").toString();
    model.sourceDir = sourceDir;
    model.binaryDir = binary;
    readStructure(configuration(codemodel, configurations().first()), model);
    if (!readTargets(codemodel, model, error))
        return false;
    readListFiles(cmakeFiles, probeFile, model);
    readProbe(scratch + QStringLiteral("/standin-probe.txt"), model);
    completeOutputFolders(model);
    return readOutputNames(codemodel, model, error);
}

} // namespace

bool readCodeModel(const QString &scratchBuild, const QString &probeFile, const QString &binaryDir,
    CodeModel &model, QString &error)
{
    Reader reader(scratchBuild, binaryDir);
    return reader.read(probeFile, model, error);
}
