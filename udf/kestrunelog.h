#ifndef KESTRUNELOG_H
#define KESTRUNELOG_H

#include <QLoggingCategory>

// The engine's own debug log, on by default as before; QT_LOGGING_RULES="kestrune.debug=false"
// silences it, and a program that keeps it off (kestrune-cli) can have it back with
// "kestrune.debug=true". Its texts stay as they are: users' scripts and our tests read them.
Q_DECLARE_LOGGING_CATEGORY(lcKestrune)

#endif // KESTRUNELOG_H
