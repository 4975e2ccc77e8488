#include "slnxfile.h"

#include "msbuildtext.h"

#include <QFileInfo>
#include <QXmlStreamReader>

namespace {

// A per-configuration child of a <Project>: Solution="<build type>|<platform>", either part "*";
// without Solution it applies to every configuration.
struct Override {
    QString tag;
    QString solution;
    QString value;
};

struct SlnxProject {
    SolutionProject project;
    QStringList dependencyPaths; // absolute
    QList<Override> overrides;
};

bool appliesTo(const QString &pattern, const QString &configuration)
{
    if (pattern.isEmpty())
        return true;
    const QStringList wanted = pattern.split(QLatin1Char('|'));
    const QStringList parts = configuration.split(QLatin1Char('|'));
    for (int i = 0; i < parts.size(); ++i) {
        const QString part = wanted.value(i, QStringLiteral("*"));
        if (part != QLatin1String("*") && part.compare(parts.at(i), Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

SlnxProject readProject(QXmlStreamReader &xml, const QString &folder)
{
    SlnxProject entry;
    const QString path = xml.attributes().value(QLatin1String("Path")).toString();
    const QString id = xml.attributes().value(QLatin1String("Id")).toString();
    entry.project.path = absoluteIn(folder, path);
    entry.project.name = QFileInfo(entry.project.path).completeBaseName();
    entry.project.guid = id.isEmpty() ? entry.project.path : '{' + id.toUpper() + '}';
    while (xml.readNextStartElement()) {
        const auto attributes = xml.attributes();
        if (xml.name() == QLatin1String("BuildDependency")) {
            entry.dependencyPaths << absoluteIn(
                folder, attributes.value(QLatin1String("Project")).toString());
        } else {
            entry.overrides.append(
                { xml.name().toString(), attributes.value(QLatin1String("Solution")).toString(),
                    attributes.value(QLatin1String("Project")).toString() });
        }
        xml.skipCurrentElement();
    }
    return entry;
}

// The project configuration and whether it is built, for every solution configuration.
void addConfigurations(const SlnxProject &entry, SolutionFile &solution)
{
    for (const QString &configuration : solution.configurations) {
        QString buildType = configuration.section(QLatin1Char('|'), 0, 0);
        QString platform = configuration.section(QLatin1Char('|'), 1);
        bool built = true;
        for (const Override &change : entry.overrides) {
            if (!appliesTo(change.solution, configuration))
                continue;
            if (change.tag == QLatin1String("Platform"))
                platform = change.value;
            else if (change.tag == QLatin1String("BuildType"))
                buildType = change.value;
            else if (change.tag == QLatin1String("Build"))
                built = change.value.compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
        }
        const QString key = entry.project.guid + QLatin1Char('.') + configuration;
        solution.activeConfigurations.insert(key, buildType + QLatin1Char('|') + platform);
        if (built)
            solution.builtProjects.insert(key);
    }
}

void readConfigurations(QXmlStreamReader &xml, SolutionFile &solution)
{
    QStringList buildTypes;
    QStringList platforms;
    while (xml.readNextStartElement()) {
        const QString name = xml.attributes().value(QLatin1String("Name")).toString();
        if (xml.name() == QLatin1String("BuildType"))
            buildTypes << name;
        else if (xml.name() == QLatin1String("Platform"))
            platforms << name;
        xml.skipCurrentElement();
    }
    for (const QString &buildType : buildTypes) {
        for (const QString &platform : platforms)
            solution.configurations << buildType + QLatin1Char('|') + platform;
    }
}

// Projects sit in <Solution> or in <Folder> elements, which may nest.
void readContent(QXmlStreamReader &xml, const QString &folder, SolutionFile &solution,
    QList<SlnxProject> &entries)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("Configurations"))
            readConfigurations(xml, solution);
        else if (xml.name() == QLatin1String("Project"))
            entries << readProject(xml, folder);
        else if (xml.name() == QLatin1String("Folder"))
            readContent(xml, folder, solution, entries);
        else
            xml.skipCurrentElement();
    }
}

} // namespace

bool readSlnxText(
    const QByteArray &text, const QString &folder, SolutionFile &solution, QString &error)
{
    QXmlStreamReader xml(text);
    QList<SlnxProject> entries;
    if (xml.readNextStartElement() && xml.name() == QLatin1String("Solution"))
        readContent(xml, folder, solution, entries);
    else if (!xml.hasError())
        xml.raiseError(QStringLiteral("the root element is not <Solution>"));
    if (xml.hasError()) {
        error = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
        return false;
    }
    QHash<QString, QString> guidOfPath;
    for (const SlnxProject &entry : entries)
        guidOfPath.insert(entry.project.path, entry.project.guid);
    for (SlnxProject &entry : entries) {
        // A dependency on a project the solution no longer holds names no one.
        for (const QString &path : entry.dependencyPaths)
            entry.project.dependencies << guidOfPath.value(path, path);
        addConfigurations(entry, solution);
        solution.projects << entry.project;
    }
    return true;
}
