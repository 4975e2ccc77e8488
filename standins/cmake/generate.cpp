#include "generate.h"

#include "buildtree.h"
#include "codemodel.h"
#include "realcmake.h"
#include "solutionplan.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void print(FILE *stream, const QByteArray &bytes)
{
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    fflush(stream);
}

bool touch(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

// The scratch folder: the build, the probe and the file API queries.
bool prepareScratch(const QTemporaryDir &temporary, QString &build, QString &probe)
{
    build = temporary.path() + QStringLiteral("/build");
    probe = temporary.path() + QStringLiteral("/probe.cmake");
    const QString query = build + QStringLiteral("/.cmake/api/v1/query");
    QFile probeFile(probe);
    return temporary.isValid() && QDir().mkpath(query) && touch(query + "/codemodel-v2")
        && touch(query + "/cmakeFiles-v1") && probeFile.open(QIODevice::WriteOnly)
        && probeFile.write(probeScript().toUtf8()) > 0;
}

// CMake's messages, with the scratch folder named as the -B folder the user asked for.
QByteArray moved(QByteArray text, const QString &scratch, const QString &binary)
{
    return text.replace(scratch.toUtf8(), binary.toUtf8());
}

QByteArray configureMessages(const QByteArray &output)
{
    QByteArray kept;
    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith("-- Generating done") || line.startsWith("-- Build files have been"))
            continue;
        if (!line.isEmpty())
            kept += line + '\n';
    }
    return kept;
}

// Configures twice: the second run lists the list files as a re-run does, without the compiler
// detection modules.
bool configure(const QString &realCMake, const CommandLine &line, const QString &build,
    const QString &probe, QByteArray &messages, int &exitCode)
{
    QStringList arguments { QStringLiteral("-S"), line.sourceDir, QStringLiteral("-B"), build,
        QStringLiteral("-G"), QStringLiteral("Ninja Multi-Config"),
        QStringLiteral("-DCMAKE_CONFIGURATION_TYPES=Debug;Release;MinSizeRel;"
                       "RelWithDebInfo"),
        QStringLiteral("-DCMAKE_PROJECT_INCLUDE=") + probe };
    arguments << line.passOn;
    for (int run = 0; run < 2; ++run) {
        const RunResult result = runCaptured(realCMake, arguments);
        if (result.exitCode != 0) {
            print(stdout, moved(result.standardOutput, build, line.binaryDir));
            print(stderr, moved(result.standardError, build, line.binaryDir));
            exitCode = result.exitCode;
            return false;
        }
        if (run == 0) {
            messages = moved(configureMessages(result.standardOutput), build, line.binaryDir);
            print(stderr, moved(result.standardError, build, line.binaryDir));
        }
        arguments
            = QStringList { QStringLiteral("-S"), line.sourceDir, QStringLiteral("-B"), build };
    }
    return true;
}

void reportSkipped(const QStringList &skipped)
{
    for (const QString &target : skipped)
        print(stderr,
            "CMake Warning: the stand-in writes shared libraries only; skipped " + target.toUtf8()
                + "\n");
}

} // namespace

int generateSolution(
    const CommandLine &line, const VsGenerator &generator, const QString &realCMake)
{
    QTemporaryDir temporary(QDir::tempPath() + QStringLiteral("/standin-cmake-XXXXXX"));
    QString build;
    QString probe;
    if (!prepareScratch(temporary, build, probe)) {
        print(stderr, "CMake Error: could not prepare a scratch folder\n");
        return 1;
    }
    QByteArray messages;
    int exitCode = 1;
    if (!configure(realCMake, line, build, probe, messages, exitCode))
        return exitCode;
    Emulation emulation;
    QString error;
    if (!readCodeModel(build, probe, line.binaryDir, emulation.model, error)) {
        print(stderr, "CMake Error: " + error.toUtf8() + "\n");
        return 1;
    }
    reportSkipped(emulation.model.skippedTargets);
    emulation.generator = generator;
    emulation.platform = line.platform.isEmpty() ? generator.defaultPlatform : line.platform;
    emulation.cmakeCommand = QCoreApplication::applicationFilePath();
    planSolutions(emulation);
    print(stdout, messages);
    QStringList failures;
    if (!writeBuildTree(emulation, build, failures)) {
        for (const QString &path : failures)
            print(stderr, "CMake Error: Cannot open file for write: " + path.toUtf8() + "\n");
        print(stdout, "-- Generating done\n");
        return 1;
    }
    print(stdout,
        "-- Generating done\n-- Build files have been written to: " + line.binaryDir.toUtf8()
            + "\n");
    return 0;
}
