// A stand-in for cmake on hosts without Visual Studio: it writes what CMake's Visual Studio
// generators write, from a configure of the same tree by the real CMake, and hands every other
// command line to the real CMake. A test and demo tool, not part of the product.

#include "commandline.h"
#include "generate.h"
#include "realcmake.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    const QString realCMake = findRealCMake();
    if (realCMake.isEmpty()) {
        fprintf(stderr, "CMake Error: the stand-in cmake found no real cmake on PATH\n");
        return 1;
    }
    const CommandLine line = parseCommandLine(arguments);
    VsGenerator generator;
    // Other generators, and Visual Studio ones it does not know, are the real CMake's to run or
    // to refuse.
    if (!line.hasGenerator || !findVsGenerator(line.generator, generator))
        return handOver(realCMake, arguments);
    return generateSolution(line, generator, realCMake);
}
