#ifndef STANDIN_CODEMODEL_H
#define STANDIN_CODEMODEL_H

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The build system as the real CMake configured it, with every path moved from the private
// scratch folder into the -B folder, so that the writers see the tree as the Visual Studio
// generator would have seen it. Paths use "/".
struct SourceFile {
    QString path;
    QString group; // source group name
    QString language; // "C" or "CXX" when compiled, empty otherwise
};

struct Target {
    QString name;
    int directory = -1;
    QList<SourceFile> sources;
    QStringList includes;
    QStringList defines; // without the export macro
    QString linkLanguage;
    QStringList linkItems; // named as MSVC's linker takes them
    QStringList libraryDirs;
    QStringList dependencies; // target names
    QMap<QString, QString> outputName; // per configuration
    QMap<QString, QString> runtimeDir;
    QMap<QString, QString> archiveDir;
};

struct Directory {
    QString sourceDir;
    QString binaryDir;
    int project = -1;
    QStringList listFiles; // sorted, each once
    QStringList includes;
    QList<int> targets;
};

struct Project {
    QString name;
    int parent = -1;
    QList<int> directories; // the first one is where project() was called
};

struct CodeModel {
    QString sourceDir;
    QString binaryDir;
    QString cmakeVersion; // the real CMake's, names the compiler detection folder
    bool useFolders = false;
    QList<Directory> directories;
    QList<Project> projects;
    QList<Target> targets;
    QStringList skippedTargets; // kinds the stand-in does not write
};

const QStringList &configurations();

// The CMake code that reports what the file API leaves out; included after every project().
QString probeScript();

bool readCodeModel(const QString &scratchBuild, const QString &probeFile, const QString &binaryDir,
    CodeModel &model, QString &error);

#endif // STANDIN_CODEMODEL_H
