#include "settingsfile.h"

#include <QFile>
#include <QJsonDocument>

QString SettingsFile::path()
{
    return QStringLiteral("../ini/settings.json");
}

QJsonObject SettingsFile::read()
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QString SettingsFile::storedPath(const QString &key)
{
    return read().value(key).toString().replace(QLatin1Char('\\'), QLatin1Char('/'));
}
