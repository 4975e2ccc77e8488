// A stand-in for cmake on hosts without Visual Studio: it writes what CMake's Visual Studio
// generators write, from a configure of the same tree by the real CMake, and hands every other
// command line to the real CMake. A test and demo tool, not part of the product.

#include "cmakeversion.h"
#include "commandline.h"
#include "generate.h"
#include "realcmake.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

int fail(const QString &message)
{
    fprintf(stderr, "CMake Error: %s\n", qPrintable(message));
    return 1;
}

bool asksForVersion(const QStringList &arguments)
{
    const QString first = arguments.value(0);
    return first == QLatin1String("--version") || first == QLatin1String("-version");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    QString error;
    const QVersionNumber version = actedCMakeVersion(error);
    if (version.isNull())
        return fail(error);
    // The version is the one the stand-in acts as, not the real CMake's.
    if (asksForVersion(arguments)) {
        const QByteArray text = versionText(version);
        fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return 0;
    }
    const QString realCMake = findRealCMake();
    if (realCMake.isEmpty())
        return fail(QStringLiteral("the stand-in cmake found no real cmake on PATH"));
    const CommandLine line = parseCommandLine(arguments);
    VsGenerator generator;
    // Other generators, and Visual Studio ones it does not know, are the real CMake's to run or
    // to refuse.
    if (!line.hasGenerator || !findVsGenerator(line.generator, generator))
        return handOver(realCMake, arguments);
    // A CMake older than the generator knows nothing of it, and stops before writing anything.
    if (version < generator.since)
        return fail(QStringLiteral("Could not create named generator ") + line.generator);
    return generateSolution(line, generator, realCMake);
}
