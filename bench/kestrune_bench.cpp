// Throughput of the definition scanner and cost of one udf_names.c run on a large generated UDF
// project. Prints figures only; it judges nothing.

#include "benchproject.h"
#include "buildbench.h"
#include "kestrune.h"
#include "responsivenessbench.h"
#include "resumebench.h"
#include "udfscanner.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int sourceCount = 200;
constexpr qint64 projectBytes = 11 * 1024 * 1024;
constexpr int rounds = 15;

// Wall-clock and processor time of one piece of work, the best of all rounds: on a machine shared
// with others the least disturbed round comes closest to the work's own cost, and processor time
// leaves out the waits for a core.
struct Timing {
    std::function<void()> work;
    double wallMs = 1e300;
    double cpuMs = 1e300;

    void measure()
    {
        QElapsedTimer wall;
        const std::clock_t cpuStart = std::clock();
        wall.start();
        work();
        const double wallElapsed = wall.nsecsElapsed() / 1e6;
        const double cpuElapsed = 1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        wallMs = std::min(wallMs, wallElapsed);
        cpuMs = std::min(cpuMs, cpuElapsed);
    }
};

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The comment removal and head pattern that a plain regular-expression scanner would use; a
// reference for the hand-written scanner's speed.
int regularExpressionHeads(const QByteArray &content)
{
    static const QRegularExpression lineComment("//.*");
    static const QRegularExpression blockComment("/\\*.*?\\*/");
    static const QRegularExpression head("\\bDEFINE_\\w+\\s*\\([^)]*\\)");
    QString text = QString::fromUtf8(content);
    text.remove(lineComment).remove(blockComment);
    int count = 0;
    for (auto it = head.globalMatch(text); it.hasNext(); it.next())
        ++count;
    return count;
}

void dropDebugLines(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg)
        QTextStream(stderr) << message << '\n';
}

struct Project {
    QStringList sources;
    QString variantDirectory;
    std::vector<QByteArray> contents;
    double megabytes = 0;
    qsizetype definitions = 0;
};

bool makeProject(const QString &folder, Project &project)
{
    project.sources = writeBenchProject(folder + "/src", sourceCount, projectBytes);
    project.variantDirectory = folder + "/3ddp";
    if (project.sources.isEmpty() || !QDir().mkpath(project.variantDirectory))
        return false;
    qint64 bytes = 0;
    for (const QString &source : project.sources) {
        project.contents.push_back(contentOf(source));
        bytes += project.contents.back().size();
        project.definitions += scanUdfDefinitions(project.contents.back()).size();
    }
    project.megabytes = bytes / (1024.0 * 1024.0);
    return true;
}

struct Figures {
    Timing scan, filePass, writer, threeReads;
    double referenceMs = 0;
    int referenceHeads = 0;
};

void measure(const Project &project, Figures &figures)
{
    CKestrune engine;
    figures.scan.work = [&] {
        for (const QByteArray &content : project.contents)
            scanUdfDefinitions(content);
    };
    figures.filePass.work = [&] {
        for (const QString &source : project.sources)
            engine.findUdfDefinitions(source);
    };
    figures.writer.work = [&] { engine.writeUdfNames(project.sources, project.variantDirectory); };
    figures.threeReads.work = [&] {
        for (int pass = 0; pass < 3; ++pass) {
            for (const QString &source : project.sources)
                contentOf(source);
        }
    };
    // Rounds interleave the measurements, so that a busy spell of the machine hits all of them.
    for (int round = 0; round < rounds; ++round) {
        for (Timing *timing :
            { &figures.scan, &figures.filePass, &figures.writer, &figures.threeReads })
            timing->measure();
    }
    QElapsedTimer timer;
    timer.start();
    for (const QByteArray &content : project.contents)
        figures.referenceHeads += regularExpressionHeads(content);
    figures.referenceMs = timer.nsecsElapsed() / 1e6;
}

void print(const Project &project, const Figures &figures)
{
    QTextStream out(stdout);
    out.setRealNumberNotation(QTextStream::FixedNotation);
    out.setRealNumberPrecision(2);
    const double megabytes = project.megabytes;
    out << "Project: " << project.sources.size() << " sources, " << megabytes << " MB, "
        << project.definitions << " definitions\n"
        << "Times are the best of " << rounds << " rounds; files in the page cache.\n"
        << "                                           wall ms     CPU ms\n";
    const auto line = [&](const char *label, const Timing &timing, const QString &note) {
        out << label << qSetFieldWidth(10) << timing.wallMs << timing.cpuMs << qSetFieldWidth(0)
            << note << "\n";
    };
    const auto rate = [&](const Timing &timing) {
        return QString("   %1 MB/s (wall), %2 MB/s (CPU)")
            .arg(megabytes / timing.wallMs * 1000, 0, 'f', 1)
            .arg(megabytes / timing.cpuMs * 1000, 0, 'f', 1);
    };
    line("Scanner, in memory                      ", figures.scan, rate(figures.scan));
    line("Scanner pass: findUdfDefinitions on all ", figures.filePass, rate(figures.filePass));
    line("writeUdfNames over the whole project    ", figures.writer, QString());
    line("Reading the files three times           ", figures.threeReads, QString());
    const auto ratio = [&](const char *label, const Timing &base) {
        out << label << figures.writer.wallMs / base.wallMs << " (wall), "
            << figures.writer.cpuMs / base.cpuMs << " (CPU)\n";
    };
    ratio("Ratio writeUdfNames / one scanner pass:   ", figures.filePass);
    ratio("Ratio writeUdfNames / three reads:        ", figures.threeReads);
    out << "Reference, regular expressions, one run:  " << megabytes / figures.referenceMs * 1000
        << " MB/s (" << figures.referenceHeads << " heads; comments over lines not removed)\n";
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir temp;
    Project project;
    if (!makeProject(temp.path(), project)) {
        QTextStream(stderr) << "Cannot write the benchmark project in " << temp.path() << '\n';
        return 1;
    }
    // writeUdfNames logs the source list on every run; the figures must stay readable.
    qInstallMessageHandler(dropDebugLines);
    Figures figures;
    measure(project, figures);
    print(project, figures);

    // Whole builds go through the tools; on hosts without Windows the stand-ins take their place.
    qputenv("PATH", QByteArray(KESTRUNE_STANDINS_BIN) + ':' + qgetenv("PATH"));
    runBuildBenchmark(temp.path() + "/build", KESTRUNE_STANDIN_INSTALLATIONS, project.sources);
    runResponsivenessBenchmark(
        temp.path() + "/responsive", KESTRUNE_STANDIN_INSTALLATIONS, project.sources);
    runResumeBenchmark(temp.path() + "/resume", KESTRUNE_STANDIN_INSTALLATIONS);
    return 0;
}
