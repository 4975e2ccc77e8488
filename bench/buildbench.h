#ifndef BUILDBENCH_H
#define BUILDBENCH_H

#include <QString>
#include <QStringList>

// Times whole parallel builds (buildUdfSolution, variant 3ddp_host) of a 10-file project that it
// writes itself and of a large project whose sources it is given, and prints each split into the
// engine's own work and the time spent waiting for cmake and cmd.exe. The caller puts the tools
// first on PATH (the stand-ins on hosts without Windows) and names the folder that holds the
// Fluent and Visual Studio installations ("ANSYS Inc/v192/fluent",
// "Microsoft Visual Studio/2019/Community"). Everything is written below workFolder.
void runBuildBenchmark(const QString &workFolder, const QString &installationsFolder,
    const QStringList &largeProjectSources);

#endif // BUILDBENCH_H
