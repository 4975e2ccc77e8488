#include "solutionbuild.h"

#include "buildoutput.h"
#include "projectbuilder.h"
#include "solutionfile.h"
#include "toolchain.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

// The solution configuration to build: the one asked for, else the solution's first.
bool chooseConfiguration(const QString &wanted, const QString &platform,
    const SolutionFile &solution, QString &configuration)
{
    configuration = wanted.isEmpty()
        ? solution.configurations.value(0)
        : wanted + QLatin1Char('|') + (platform.isEmpty() ? QStringLiteral("x64") : platform);
    for (const QString &known : solution.configurations) {
        if (known.compare(configuration, Qt::CaseInsensitive) == 0) {
            configuration = known;
            return true;
        }
    }
    BuildOutput::toolError(
        QStringLiteral("Invalid solution configuration \"%1\". The solution offers: %2.")
            .arg(configuration, solution.configurations.join(QStringLiteral(", "))));
    return false;
}

} // namespace

bool buildSolution(const QString &solutionPath, const QString &wanted, const QString &platform,
    SolutionBuild &build)
{
    SolutionFile solution;
    QString error;
    Toolchain toolchain;
    QString configuration;
    if (!readSolutionFile(solutionPath, solution, error) || !findToolchain(toolchain, error)) {
        BuildOutput::toolError(error);
        return false;
    }
    if (!chooseConfiguration(wanted, platform, solution, configuration))
        return false;
    const QString solutionFolder = QFileInfo(solutionPath).absolutePath();
    int number = 0;
    for (const SolutionProject &project : projectsToBuild(solution, configuration)) {
        const QString projectConfiguration = solution.activeConfigurations.value(
            project.guid + QLatin1Char('.') + configuration, configuration);
        if (buildProject(project, projectConfiguration, solutionFolder, toolchain, ++number))
            ++build.succeeded;
        else
            ++build.failed;
    }
    return true;
}

bool recordStart(const QString &logName, const QStringList &arguments)
{
    QFile log(QCoreApplication::applicationDirPath() + QLatin1Char('/') + logName);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        fprintf(stderr, "stand-in: cannot open %s: %s\n", qPrintable(log.fileName()),
            qPrintable(log.errorString()));
        return false;
    }
    const QByteArray line = arguments.join(QLatin1Char('\t')).toUtf8() + '\n';
    if (log.write(line) != line.size() || !log.flush()) {
        fprintf(stderr, "stand-in: cannot write %s: %s\n", qPrintable(log.fileName()),
            qPrintable(log.errorString()));
        return false;
    }
    return true;
}
