#include "clicommands.h"

#include "clioptions.h"
#include "console.h"
#include "consolelog.h"
#include "createchecks.h"
#include "frontendtexts.h"
#include "interruption.h"
#include "kestrune.h"
#include "logtext.h"

#include <QCoreApplication>
#include <QDir>

bool resumeBuildRoot(CKestrune &engine, const QString &folder)
{
    QString reason;
    const BuildRecordFile::Status status = engine.resumeBuild(folder, &reason);
    if (status == BuildRecordFile::Status::Read)
        return true;
    Console::errorLine(CreateChecks::resumeProblem(folder, status, reason));
    return false;
}

namespace {

bool reportTables(const RegeneratedTables &tables)
{
    Console::outLine(LogText::tablesRegenerated(tables));
    if (!tables.succeeded() && !tables.compilerMessage.isEmpty())
        Console::errorLine(tables.compilerMessage);
    return tables.succeeded();
}

} // namespace

int runRefresh(const CliOptions &options)
{
    CKestrune engine;
    if (!resumeBuildRoot(engine, options.root))
        return 1;
    ConsoleLog log(engine.events());
    const RegeneratedTables tables = engine.refreshTables();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    return reportTables(tables) ? 0 : 1;
}

// One line per regeneration: a script or a terminal beside the editor sees each save's outcome.
int runWatch(const CliOptions &options)
{
    CKestrune engine;
    if (!resumeBuildRoot(engine, options.root))
        return 1;
    // The sources may have changed while no one watched.
    bool upToDate = reportTables(engine.refreshTables());
    const QString root = engine.recordedBuild().buildRoot;
    Console::outLine(cliText("正在监测 %1（Ctrl+C 结束）")
                         .arg(QDir::toNativeSeparators(root + QStringLiteral("/src"))));
    QObject::connect(engine.events(), &BuildEvents::tablesRegenerated, &engine,
        [&upToDate](const QStringList &variants, const QList<int> &counts,
            const QStringList &failed, const QString &message) {
            upToDate = reportTables({ variants, counts, failed, message });
        });
    quitOnInterrupt(*QCoreApplication::instance());
    QCoreApplication::exec();
    engine.waitForRegeneration();
    Console::outLine(cliText("监测结束"));
    return upToDate ? 0 : 1;
}
