#ifndef INSTALLATIONPROBE_H
#define INSTALLATIONPROBE_H

#include <QString>

// Whether an installation folder holds what a build needs, told the way the window shows it
// beside the path field. Paths are taken as typed: backslashes and forward slashes alike.
struct InstallationState {
    bool usable = false;
    QString mark; // "✓ 19.2.0", "✓ VS 2019", "✓" or "✗"
    QString details; // the tool tip: what was found, or what is missing
};

// The makefile that names the Fluent release's include folders.
InstallationState fluentInstallationState(const QString &fluentPath);
// vcvars64.bat, which sets up the compiler, and a version the CMake generators know.
InstallationState visualStudioInstallationState(const QString &vsPath);
// The coupling interface's include folders and its import library.
InstallationState edemInstallationState(const QString &edemPath);

// Marker files of the installations, relative to the installation folder.
extern const char vcvars64Path[];
extern const char edemCouplingLibraryPath[];

#endif // INSTALLATIONPROBE_H
