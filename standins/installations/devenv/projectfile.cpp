#include "projectfile.h"

#include "msbuildtext.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace {

class ProjectReader {
public:
    ProjectReader(QXmlStreamReader &xml, const QString &configuration, ProjectFile &project)
        : xml(xml), configuration(configuration), project(project)
    {
    }
    void readProject();

private:
    bool holds() const
    {
        return conditionHolds(
            xml.attributes().value(QLatin1String("Condition")).toString(), configuration);
    }
    QString include() const { return xml.attributes().value(QLatin1String("Include")).toString(); }
    QString text() { return xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed(); }
    void readSettings(QHash<QString, QString> &settings);
    void readItemDefinitions();
    void readSource();
    void readItems();

    QXmlStreamReader &xml;
    QString configuration;
    ProjectFile &project;
};

// The children of a PropertyGroup or of a tool in an ItemDefinitionGroup: later values win.
void ProjectReader::readSettings(QHash<QString, QString> &settings)
{
    while (xml.readNextStartElement()) {
        if (!holds()) {
            xml.skipCurrentElement();
            continue;
        }
        const QString name = xml.name().toString();
        settings.insert(name, text());
    }
}

void ProjectReader::readItemDefinitions()
{
    while (xml.readNextStartElement()) {
        const QStringView tool = xml.name();
        if (tool == QLatin1String("ClCompile"))
            readSettings(project.clCompile);
        else if (tool == QLatin1String("Link"))
            readSettings(project.link);
        else if (tool == QLatin1String("Lib"))
            readSettings(project.lib);
        else
            xml.skipCurrentElement();
    }
}

void ProjectReader::readSource()
{
    ProjectSource source { include(), QString(), false };
    QHash<QString, QString> metadata;
    readSettings(metadata);
    source.compileAs = metadata.value(QStringLiteral("CompileAs"));
    source.excluded = metadata.value(QStringLiteral("ExcludedFromBuild")).toLower() == "true";
    project.sources << source;
}

void ProjectReader::readItems()
{
    while (xml.readNextStartElement()) {
        const QStringView item = xml.name();
        if (item == QLatin1String("ClCompile") && holds()) {
            readSource();
            continue;
        }
        if (item == QLatin1String("ProjectConfiguration"))
            project.configurations << include();
        else if (item == QLatin1String("CustomBuild"))
            project.customBuilds << include();
        else if (item == QLatin1String("ProjectReference"))
            project.projectReferences << include();
        xml.skipCurrentElement();
    }
}

void ProjectReader::readProject()
{
    while (xml.readNextStartElement()) {
        const QStringView group = xml.name();
        if (!holds())
            xml.skipCurrentElement();
        else if (group == QLatin1String("PropertyGroup"))
            readSettings(project.properties);
        else if (group == QLatin1String("ItemDefinitionGroup"))
            readItemDefinitions();
        else if (group == QLatin1String("ItemGroup"))
            readItems();
        else
            xml.skipCurrentElement();
    }
}

} // namespace

bool readProjectFile(
    const QString &path, const QString &configurationPlatform, ProjectFile &project, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("error MSB4025: The project file could not be loaded. %1")
                    .arg(file.errorString());
        return false;
    }
    project.path = QFileInfo(path).absoluteFilePath();
    project.folder = QFileInfo(path).absolutePath();
    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("Project")) {
        error = QStringLiteral("error MSB4025: The project file could not be loaded: no Project "
                               "element");
        return false;
    }
    ProjectReader(xml, configurationPlatform, project).readProject();
    if (xml.hasError()) {
        error = QStringLiteral("error MSB4025: The project file could not be loaded. %1, line %2")
                    .arg(xml.errorString())
                    .arg(xml.lineNumber());
        return false;
    }
    project.name = project.properties.value(
        QStringLiteral("ProjectName"), QFileInfo(path).completeBaseName());
    project.configurationType = project.properties.value(QStringLiteral("ConfigurationType"));
    return true;
}
