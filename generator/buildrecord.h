#ifndef BUILDRECORD_H
#define BUILDRECORD_H

#include <QString>
#include <QStringList>

struct SolutionRequest;

// What a build root says of the build that made it, so that a later start of Kestrune (the window
// or the command line) can watch its sources and regenerate its function tables without being
// told again. It lies in the build root as "kestrune.json", UTF-8 JSON:
//
//   {
//       "buildType": "udf",                 "udf" or "euler" (Fluent-EDEM coupling)
//       "caseFolder": "",                    the Fluent case folder the library is laid into
//       "edemPath": "", "fluentPath": "...", "vsPath": "...",   installation folders, "/"
//       "format": 1,
//       "headers": ["include/a.h"],          the copies, relative to the build root
//       "nodeSources": ["src/a.c"],          the node variant's sources (parallel builds)
//       "sources": ["src/a.c", "src/b.c"],
//       "variant": "3ddp_host"
//   }
//
// Paths are held in full while in memory.
struct BuildRecord {
    bool coupling = false;
    QString variant;
    QString fluentPath;
    QString edemPath;
    QString vsPath;
    QStringList headers;
    QStringList sources;
    QStringList nodeSources;
    QString caseFolder;
    QString buildRoot; // where the record lies; not stored in it

    static BuildRecord of(const SolutionRequest &request);
    SolutionRequest solutionRequest() const;
};

namespace BuildRecordFile {

enum class Status { Read, Missing, Unreadable };

QString path(const QString &buildRoot);
// Written beside and renamed into place, so that a record is whole or absent.
bool write(const BuildRecord &record, QString *error = nullptr);
Status read(const QString &buildRoot, BuildRecord &record, QString *error = nullptr);

// The build root a user means by a folder: the folder itself when it holds a record or is named
// like a build root, else the build root below it.
QString buildRootOf(const QString &folder);

} // namespace BuildRecordFile

#endif // BUILDRECORD_H
