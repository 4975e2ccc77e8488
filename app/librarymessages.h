#ifndef LIBRARYMESSAGES_H
#define LIBRARYMESSAGES_H

#include "librarybuild.h"

#include <QString>

// What the user is told of a build of the libraries, the same in the window and on the command
// line.
namespace LibraryMessages {

// One line: the counts of errors and warnings, and where the libraries went.
QString summary(const LibraryBuildOutcome &outcome);
// Why the build did not end with the libraries in the case folder, and what to do; empty when it
// did.
QString problem(const LibraryBuildOutcome &outcome);

} // namespace LibraryMessages

#endif // LIBRARYMESSAGES_H
