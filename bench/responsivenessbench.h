#ifndef RESPONSIVENESSBENCH_H
#define RESPONSIVENESSBENCH_H

#include <QString>
#include <QStringList>

// While the create command's work runs off the calling thread (createSolution of a parallel
// 3ddp_host build of the given sources), the longest time the calling thread went without
// processing an event; then, after a save, how long the regeneration of both function tables took
// against one compile of one variant, and the engine's own share of it. The tools must be on PATH.
void runResponsivenessBenchmark(
    const QString &workFolder, const QString &installationsFolder, const QStringList &sources);

#endif // RESPONSIVENESSBENCH_H
