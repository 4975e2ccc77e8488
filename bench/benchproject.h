#ifndef BENCHPROJECT_H
#define BENCHPROJECT_H

#include <QString>
#include <QStringList>

// Writes a large, realistic UDF project for benchmarks: sourceCount C sources (every twentieth a
// C++ source) of about totalBytes together, with definitions of many types, heads over several
// lines, comments, commented-out definitions and literals that hold "//" and "DEFINE_". The
// content depends only on the arguments. Returns the source paths in order, or an empty list when
// the folder or a file cannot be written.
QStringList writeBenchProject(const QString &folder, int sourceCount, qint64 totalBytes);

#endif // BENCHPROJECT_H
