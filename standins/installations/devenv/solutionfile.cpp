#include "solutionfile.h"

#include "msbuildtext.h"
#include "slnxfile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString folderType = QStringLiteral("2150E333-8FDC-42A3-9474-1A3956D46DE8");

enum class Section { None, Dependencies, SolutionConfigurations, ProjectConfigurations };

struct SolutionReader {
    QString folder;
    SolutionFile &solution;
    Section section = Section::None;
    SolutionProject *current = nullptr;

    void readProjectLine(const QString &line);
    void readSectionLine(const QString &line);
    void readLine(const QString &line);
};

void SolutionReader::readProjectLine(const QString &line)
{
    static const QRegularExpression project(
        QStringLiteral("^Project\\(\"\\{([^}]+)\\}\"\\)\\s*=\\s*\"([^\"]*)\"\\s*,\\s*\"([^\"]*)"
                       "\"\\s*,\\s*\"([^\"]+)\""));
    const QRegularExpressionMatch match = project.match(line);
    current = nullptr;
    if (!match.hasMatch() || match.captured(1).compare(folderType, Qt::CaseInsensitive) == 0)
        return;
    solution.projects.append({ match.captured(2), absoluteIn(folder, match.captured(3)),
        match.captured(4).toUpper(), {} });
    current = &solution.projects.last();
}

void SolutionReader::readSectionLine(const QString &line)
{
    const int equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return;
    const QString key = line.left(equals).trimmed();
    const QString value = line.mid(equals + 1).trimmed();
    if (section == Section::Dependencies && current) {
        current->dependencies << key.toUpper();
    } else if (section == Section::SolutionConfigurations) {
        solution.configurations << key;
    } else if (section == Section::ProjectConfigurations) {
        // "{GUID}.Debug|x64.ActiveCfg" or "{GUID}.Debug|x64.Build.0"
        const int firstDot = key.indexOf(QLatin1Char('.'));
        const QString guid = key.left(firstDot).toUpper();
        if (key.endsWith(QLatin1String(".ActiveCfg"))) {
            const QString configuration = key.mid(firstDot + 1).chopped(10);
            solution.activeConfigurations.insert(guid + "." + configuration, value);
        } else if (key.endsWith(QLatin1String(".Build.0"))) {
            solution.builtProjects.insert(guid + "." + key.mid(firstDot + 1).chopped(8));
        }
    }
}

void SolutionReader::readLine(const QString &rawLine)
{
    const QString line = rawLine.trimmed();
    if (rawLine.startsWith(QLatin1String("Project(")))
        return readProjectLine(rawLine);
    if (rawLine.startsWith(QLatin1String("EndProject")))
        current = nullptr;
    if (line.startsWith(QLatin1String("ProjectSection(ProjectDependencies)")))
        section = Section::Dependencies;
    else if (line.startsWith(QLatin1String("GlobalSection(SolutionConfigurationPlatforms)")))
        section = Section::SolutionConfigurations;
    else if (line.startsWith(QLatin1String("GlobalSection(ProjectConfigurationPlatforms)")))
        section = Section::ProjectConfigurations;
    else if (line.startsWith(QLatin1String("EndProjectSection"))
        || line.startsWith(QLatin1String("EndGlobalSection"))
        || line.startsWith(QLatin1String("GlobalSection(")))
        section = Section::None;
    else if (section != Section::None)
        readSectionLine(line);
}

} // namespace

bool readSolutionFile(const QString &path, SolutionFile &solution, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot open the solution file '%1': %2")
                    .arg(path, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    const QString folder = QFileInfo(path).absolutePath();
    if (path.endsWith(QLatin1String(".slnx"), Qt::CaseInsensitive)) {
        QString detail;
        if (readSlnxText(bytes, folder, solution, detail))
            return true;
        error = QStringLiteral("'%1' is not a Visual Studio solution file: %2").arg(path, detail);
        return false;
    }
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    if (!text.contains(QLatin1String("Microsoft Visual Studio Solution File"))) {
        error = QStringLiteral("'%1' is not a Visual Studio solution file").arg(path);
        return false;
    }
    SolutionReader reader { folder, solution };
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        reader.readLine(line);
    }
    return true;
}

QList<SolutionProject> projectsToBuild(
    const SolutionFile &solution, const QString &solutionConfiguration)
{
    QList<SolutionProject> pending;
    for (const SolutionProject &project : solution.projects) {
        if (solution.builtProjects.contains(project.guid + "." + solutionConfiguration))
            pending << project;
    }
    const auto waits = [&pending](const SolutionProject &project) {
        return std::any_of(pending.begin(), pending.end(), [&](const SolutionProject &other) {
            return project.dependencies.contains(other.guid);
        });
    };
    QList<SolutionProject> ordered;
    while (!pending.isEmpty()) {
        const int before = pending.size();
        for (int i = 0; i < pending.size(); ++i) {
            if (!waits(pending.at(i)))
                ordered << pending.takeAt(i--);
        }
        if (pending.size() == before) // a dependency cycle: the rest in the order of the file
            return ordered + pending;
    }
    return ordered;
}
