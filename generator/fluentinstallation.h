#ifndef FLUENTINSTALLATION_H
#define FLUENTINSTALLATION_H

#include <QPair>
#include <QString>
#include <QStringList>

// What Kestrune reads of a Fluent installation: its release numbers, taken from the installation's
// path, and the include folders its UDF makefile lists.
namespace FluentInstallation {

// (library release, release), e.g. ("1920", "19.2.0").
QPair<QString, QString> release(const QString &fluentPath);
// Where the installation keeps the makefile that lists its include folders.
QString makefilePath(const QString &fluentPath);
// The include folders of one variant as the makefile lists them; none when it cannot be read.
QStringList includeDirs(
    const QString &makefilePath, const QString &fluentPath, const QString &variant);

} // namespace FluentInstallation

#endif // FLUENTINSTALLATION_H
