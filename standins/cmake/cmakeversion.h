#ifndef STANDIN_CMAKEVERSION_H
#define STANDIN_CMAKEVERSION_H

#include <QByteArray>
#include <QString>
#include <QVersionNumber>

// The CMake release the stand-in acts as: what "cmake --version" answers and which Visual Studio
// generators exist. KESTRUNE_STANDIN_CMAKE_VERSION ("3.31.6", "4.2.0", ...) chooses another one
// than the default, so that tests can meet an old CMake.
QVersionNumber actedCMakeVersion(QString &error);

// CMake's answer to --version.
QByteArray versionText(const QVersionNumber &version);

#endif // STANDIN_CMAKEVERSION_H
