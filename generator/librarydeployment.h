#ifndef LIBRARYDEPLOYMENT_H
#define LIBRARYDEPLOYMENT_H

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The built libraries laid into a Fluent case folder where Fluent's own build puts them:
//
//   <case>/libudf/win64/<variant>/libudf.dll      a plain UDF build
//   <case>/edem_udf/win64/<variant>/libudf.dll    the EDEM coupling build
//
// A library is written beside its target and renamed into place, so that a copy that fails or is
// cancelled leaves the old library as it was, never half a new one.
namespace LibraryDeployment {

// Where the solution puts a variant's library for a configuration ("Debug", "Release").
QString builtLibrary(
    const QString &buildRoot, const QString &configuration, bool coupling, const QString &variant);
// Where Fluent loads a variant's library from, in its case folder.
QString caseLibrary(const QString &caseFolder, bool coupling, const QString &variant);

struct Copy {
    QString built;
    QString target;
};
// One copy per variant, in the order given.
QList<Copy> copiesOf(const QString &buildRoot, const QString &caseFolder,
    const QString &configuration, bool coupling, const QStringList &variants);

struct Result {
    enum class Problem { None, BuiltLibraryMissing, InUse, WriteFailed, Cancelled };
    Problem problem = Problem::None;
    QStringList laid; // the targets replaced, in order
    QString failedLibrary; // the built library that is missing, or the target that was refused
    QString reason; // what the file system said
    bool succeeded() const { return problem == Problem::None; }
    bool inUse() const { return problem == Problem::InUse; }
};

// Lays every library or, when a built library is missing or a target is in use, none. cancelled
// is asked between pieces of the copy.
Result lay(const QList<Copy> &copies, const std::function<bool()> &cancelled = {});

// Whether a process has the library loaded, so that replacing it would fail (Windows) or change
// the code under a running solver (elsewhere).
bool isInUse(const QString &library);

} // namespace LibraryDeployment

#endif // LIBRARYDEPLOYMENT_H
