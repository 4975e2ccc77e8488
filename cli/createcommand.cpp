#include "clicommands.h"

#include "clioptions.h"
#include "console.h"
#include "consolelog.h"
#include "createchecks.h"
#include "installationfinder.h"
#include "kestrune.h"
#include "logtext.h"
#include "settingsfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

namespace {

// The form's own defaults, used when neither the settings nor the machine name an installation.
const char defaultFluent[] = "C:/Program Files/ANSYS Inc/v192/fluent";
const char defaultVisualStudio[] = "C:/Program Files (x86)/Microsoft Visual Studio/2019/Community";
const char defaultEdem[] = "C:/Program Files/DEM Solutions/EDEM 2018";

QString withForwardSlashes(QString path)
{
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

// vswhere is asked as the window asks it, and waited for here: there is nothing else to do.
QString visualStudioOfMachine()
{
    VisualStudioSearch search;
    QString found;
    bool reported = false;
    QEventLoop loop;
    QObject::connect(
        &search, &VisualStudioSearch::finished, &loop, [&](const FoundInstallation &installation) {
            found = installation.path;
            reported = true;
            loop.quit();
        });
    search.start();
    if (!reported)
        loop.exec();
    return found;
}

// As the window fills its fields: the command line, then the settings file, then the machine.
QString installationPath(const QString &given, const char *settingsKey,
    const std::function<QString()> &ofMachine, const char *formDefault)
{
    if (!given.isEmpty())
        return withForwardSlashes(given);
    const QString stored = SettingsFile::storedPath(QLatin1String(settingsKey));
    if (!stored.isEmpty())
        return stored;
    const QString found = ofMachine();
    return found.isEmpty() ? QString::fromUtf8(formDefault) : withForwardSlashes(found);
}

QString variantOf(const CliOptions &options)
{
    return CreateChecks::variantName(options.dimension == QLatin1String("2d"),
        options.precision == QLatin1String("single"), options.mode == QLatin1String("serial"));
}

CKestrune::CreateRequest::BuildType buildTypeOf(const CliOptions &options)
{
    using BuildType = CKestrune::CreateRequest::BuildType;
    if (options.type == QLatin1String("euler"))
        return BuildType::CouplingEuler;
    return options.type == QLatin1String("dpm") ? BuildType::LayoutOnly : BuildType::FluentUdf;
}

// Sorted as the window's add command sorts them; a file name is taken once per list.
void sortPickedFiles(const QStringList &files, QStringList &headers, QStringList &sources)
{
    QStringList headerNames, sourceNames;
    for (const QString &file : files) {
        const QFileInfo info(file);
        const bool isHeader = CreateChecks::isHeaderFile(info.fileName());
        QStringList &names = isHeader ? headerNames : sourceNames;
        if (names.contains(info.fileName()))
            continue;
        names.append(info.fileName());
        (isHeader ? headers : sources).append(QDir::cleanPath(info.absoluteFilePath()));
    }
}

int fail(const QString &message)
{
    Console::errorLine(message);
    return 1;
}

} // namespace

int runCreate(const CliOptions &options)
{
    CKestrune::CreateRequest request;
    request.buildType = buildTypeOf(options);
    request.variant = variantOf(options);
    request.fluentPath = installationPath(
        options.fluentPath, "pathFluent", [] { return findFluentInstallation().path; },
        defaultFluent);
    request.vsPath
        = installationPath(options.vsPath, "pathVs", visualStudioOfMachine, defaultVisualStudio);
    const bool coupling = request.buildType != CKestrune::CreateRequest::BuildType::FluentUdf;
    if (coupling) {
        request.edemPath = installationPath(
            options.edemPath, "pathEdem", [] { return findEdemInstallation().path; }, defaultEdem);
    }
    const QString problem = CreateChecks::installationProblem(
        request.fluentPath, request.vsPath, coupling, request.edemPath);
    if (!problem.isEmpty())
        return fail(problem);
    sortPickedFiles(options.files, request.headers, request.sources);
    if (request.sources.isEmpty())
        return fail(CreateChecks::noSourceProblem());

    request.projectFolder = QDir::cleanPath(QFileInfo(options.projectFolder).absoluteFilePath());
    const QString folderProblem = CreateChecks::projectFolderProblem(request.projectFolder);
    if (!folderProblem.isEmpty())
        return fail(folderProblem);
    const QString existing = CreateChecks::existingSolution(request.projectFolder);
    if (!existing.isEmpty() && !options.regenerate) {
        return fail(QCoreApplication::translate("kestrune-cli",
            "该文件夹中已有VS工程：%"
            "1\n如需按当前选项重新生成（src和include中的文件会保留），请加上 "
            "--regenerate")
                        .arg(QDir::toNativeSeparators(existing)));
    }
    request.regenerateInPlace = !existing.isEmpty();

    CKestrune engine;
    ConsoleLog log(engine.events());
    Console::outLine(LogText::runTitle(
        QCoreApplication::translate("LogPane", "创建VS工程：%1").arg(request.projectFolder)));
    const CKestrune::BuildOutcome outcome = engine.createSolution(request);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    for (const QString &copy : outcome.keptCopies)
        Console::outLine(LogText::copyKept(copy));
    const QString outcomeProblem = CreateChecks::outcomeProblem(outcome,
        request.buildType == CKestrune::CreateRequest::BuildType::LayoutOnly, request.vsPath);
    if (!outcomeProblem.isEmpty()) {
        if (!outcome.compilerMessage.isEmpty())
            Console::errorLine(outcome.compilerMessage);
        if (!outcome.cmakeMessage.isEmpty())
            Console::errorLine(outcome.cmakeMessage);
        return fail(outcomeProblem);
    }
    Console::outLine(QCoreApplication::translate("kestrune-cli", "已创建：%1")
                         .arg(QDir::toNativeSeparators(outcome.solutionPath)));
    return 0;
}
