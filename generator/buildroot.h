#ifndef BUILDROOT_H
#define BUILDROOT_H

#include <QString>
#include <QStringList>

// The build root laid out below a project folder, with copies of the picked headers and sources.
namespace BuildRoot {

// Returns 0, or 1 when a folder and 2 when a copy could not be made; the copies made are appended.
int create(const QStringList &headers, const QStringList &sources, const QString &projectFolder,
    QStringList &headerCopies, QStringList &sourceCopies);
// The same for a build root made before, whose copies may hold the user's edits: a copy already
// in src or include is never replaced; those that differ from the picked file are listed in kept.
int createKeepingCopies(const QStringList &headers, const QStringList &sources,
    const QString &projectFolder, QStringList &headerCopies, QStringList &sourceCopies,
    QStringList &kept);
// Copies the file into the folder target names, replacing a file there; target becomes the copy.
bool copyFileReplacing(const QString &source, QString &target);
// What of a build root CMake, Visual Studio or cmd cannot take (";", "${", "$(", a network path's
// "\\\\"); empty when it is usable.
QString unusablePart(const QString &buildRoot);

} // namespace BuildRoot

#endif // BUILDROOT_H
