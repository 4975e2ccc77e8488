#ifndef CREATECHECKS_H
#define CREATECHECKS_H

#include "buildoutcome.h"
#include "buildrecord.h"

#include <QString>

// What the create command checks before it writes anything, shared by the window and the command
// line so that both refuse the same things with the same words. Each returns the message to show,
// empty when the check passes.
namespace CreateChecks {

// fluent.exe, devenv.exe and (for a coupling build) edem.exe where each installation keeps it;
// the folders with "/" as separator.
QString installationProblem(
    const QString &fluentFolder, const QString &vsFolder, bool coupling, const QString &edemFolder);
QString noSourceProblem();
// What cmd, CMake and Visual Studio cannot take in the build root below the project folder.
QString projectFolderProblem(const QString &projectFolder);
// The solution an earlier create left below the project folder; empty when there is none.
QString existingSolution(const QString &projectFolder);

// What the user is told of a create that did not finish; empty when it did. vsFolder is the Visual
// Studio installation the create was given.
QString outcomeProblem(const BuildOutcome &outcome, bool layoutOnly, const QString &vsFolder);
// Why a folder cannot be resumed: no record (or one of an older Kestrune), or one that cannot be
// read.
QString resumeProblem(const QString &folder, BuildRecordFile::Status status, const QString &reason);

// The Fluent variant of the options: "3d" or "2d", "dp" for double precision, "_host" for a
// parallel build ("3ddp_host").
QString variantName(bool twoDimensional, bool singlePrecision, bool serial);

// The window's lists and the command line sort picked files alike: a name ending in "h" is a
// header (.h, .hpp, .hh), any other a source.
bool isHeaderFile(const QString &path);

} // namespace CreateChecks

#endif // CREATECHECKS_H
