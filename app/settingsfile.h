#ifndef SETTINGSFILE_H
#define SETTINGSFILE_H

#include <QJsonObject>
#include <QString>

// The settings file "../ini/settings.json", relative to the working folder: the installation
// paths "pathFluent", "pathEdem" and "pathVs", with "/" as separator.
namespace SettingsFile {

QString path();
// The file's object; empty when there is no file or it holds no JSON object.
QJsonObject read();
// A stored installation path with "/" as separator; empty when the file holds none.
QString storedPath(const QString &key);

} // namespace SettingsFile

#endif // SETTINGSFILE_H
