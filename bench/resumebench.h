#ifndef RESUMEBENCH_H
#define RESUMEBENCH_H

#include <QString>

// Times the resume of a recorded build root (a 10-file parallel build it creates itself): a new
// engine reads the record, watches the sources and brings both tables up to date. Printed beside
// one regeneration of the same tables, each split into waiting for cmd.exe and the engine's own
// work. The caller puts the tools first on PATH.
void runResumeBenchmark(const QString &workFolder, const QString &installationsFolder);

#endif // RESUMEBENCH_H
