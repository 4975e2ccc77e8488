// Throughput of the definition scanner and cost of one udf_names.c run on a large generated UDF
// project. Prints figures only; it judges nothing.

#include "benchproject.h"
#include "kestrune.h"
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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir temp;
    const QStringList sources = writeBenchProject(temp.path() + "/src", sourceCount, projectBytes);
    const QString variantDirectory = temp.path() + "/3ddp";
    if (sources.isEmpty() || !QDir().mkpath(variantDirectory)) {
        QTextStream(stderr) << "Cannot write the benchmark project in " << temp.path() << '\n';
        return 1;
    }
    // writeUdfNames logs the source list on every run; the figures must stay readable.
    qInstallMessageHandler(dropDebugLines);

    std::vector<QByteArray> contents;
    qint64 bytes = 0;
    for (const QString &source : sources) {
        contents.push_back(contentOf(source));
        bytes += contents.back().size();
    }
    const double megabytes = bytes / (1024.0 * 1024.0);
    qsizetype definitions = 0;
    for (const QByteArray &content : contents)
        definitions += scanUdfDefinitions(content).size();

    CKestrune engine;
    Timing scan { [&] {
        for (const QByteArray &content : contents)
            scanUdfDefinitions(content);
    } };
    Timing filePass { [&] {
        for (const QString &source : sources)
            engine.findUdfDefinitions(source);
    } };
    Timing writer { [&] { engine.writeUdfNames(sources, variantDirectory); } };
    Timing threeReads { [&] {
        for (int pass = 0; pass < 3; ++pass) {
            for (const QString &source : sources)
                contentOf(source);
        }
    } };
    // Rounds interleave the measurements, so that a busy spell of the machine hits all of them.
    for (int round = 0; round < rounds; ++round) {
        for (Timing *timing : { &scan, &filePass, &writer, &threeReads })
            timing->measure();
    }
    QElapsedTimer timer;
    timer.start();
    int referenceHeads = 0;
    for (const QByteArray &content : contents)
        referenceHeads += regularExpressionHeads(content);
    const double referenceMs = timer.nsecsElapsed() / 1e6;

    out.setRealNumberNotation(QTextStream::FixedNotation);
    out.setRealNumberPrecision(2);
    out << "Project: " << sources.size() << " sources, " << megabytes << " MB, " << definitions
        << " definitions\n";
    out << "Times are the best of " << rounds << " rounds; files in the page cache.\n";
    out << "                                           wall ms     CPU ms\n";
    const auto line = [&](const char *label, const Timing &timing) {
        out << label << qSetFieldWidth(10) << timing.wallMs << timing.cpuMs << qSetFieldWidth(0);
    };
    line("Scanner, in memory                      ", scan);
    out << "   " << megabytes / scan.wallMs * 1000 << " MB/s (wall), "
        << megabytes / scan.cpuMs * 1000 << " MB/s (CPU)\n";
    line("Scanner pass over the files (read, scan)", filePass);
    out << "   " << megabytes / filePass.wallMs * 1000 << " MB/s (wall)\n";
    line("writeUdfNames over the whole project    ", writer);
    out << "\n";
    line("Reading the files three times           ", threeReads);
    out << "\n";
    out << "Ratio writeUdfNames / one scanner pass:   " << writer.wallMs / filePass.wallMs
        << " (wall), " << writer.cpuMs / filePass.cpuMs << " (CPU)\n";
    out << "Ratio writeUdfNames / three reads:        " << writer.wallMs / threeReads.wallMs
        << " (wall), " << writer.cpuMs / threeReads.cpuMs << " (CPU)\n";
    out << "Reference, regular expressions, one run:  " << megabytes / referenceMs * 1000
        << " MB/s (" << referenceHeads << " heads; comments over lines not removed)\n";
    return 0;
}
