#include "clicommands.h"

#include "clioptions.h"
#include "console.h"
#include "consolelog.h"
#include "frontendtexts.h"
#include "kestrune.h"
#include "librarymessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The case folder is named once per build root; it is kept in the record for later builds.
bool useCaseFolder(CKestrune &engine, const QString &given)
{
    if (!given.isEmpty()) {
        const QString folder = QDir::cleanPath(QFileInfo(given).absoluteFilePath());
        QString error;
        if (!engine.setCaseFolder(folder, &error)) {
            Console::errorLine(cliText("无法记录算例文件夹：%1").arg(error));
            return false;
        }
    }
    if (!engine.recordedBuild().caseFolder.isEmpty())
        return true;
    Console::errorLine(cliText("没有指定Fluent算例文件夹：第一次编译时请用 --case FOLDER 指定。"));
    return false;
}

} // namespace

int runBuild(const CliOptions &options)
{
    CKestrune engine;
    if (!resumeBuildRoot(engine, options.root) || !useCaseFolder(engine, options.caseFolder))
        return 1;
    ConsoleLog log(engine.events());
    const LibraryBuildOutcome outcome = engine.buildLibraries(
        options.configuration.isEmpty() ? QStringLiteral("Debug") : options.configuration);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    // The diagnostics once more, together, as the compiler wrote them; then the counts.
    for (const BuildDiagnostic &diagnostic : outcome.build.diagnostics)
        Console::outLine(diagnostic.printedLine);
    for (const QString &library : outcome.laid.laid)
        Console::outLine(cliText("已复制到 %1").arg(QDir::toNativeSeparators(library)));
    Console::outLine(LibraryMessages::summary(outcome));
    if (outcome.succeeded())
        return 0;
    if (outcome.problem != LibraryBuildOutcome::Problem::BuildFailed)
        Console::errorLine(LibraryMessages::problem(outcome));
    else
        Console::errorLine(LibraryMessages::summary(outcome));
    return 1;
}
