#include "windowspaths.h"

static bool hasDrive(const QString &path)
{
    return path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter();
}

bool hostPath(const QString &windowsPath, QString &path, QString &error)
{
    QString rest = windowsPath;
    if (hasDrive(rest)) {
        if (rest.at(0).toUpper() != QLatin1Char('Z')) {
            error = QStringLiteral("unsupported drive %1 in %2: the host is drive Z:")
                        .arg(rest.left(2), windowsPath);
            return false;
        }
        rest.remove(0, 2);
    }
    path = rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return true;
}

QString windowsPath(const QString &hostAbsolutePath)
{
    QString path = hostAbsolutePath;
    return QStringLiteral("Z:") + path.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

QStringList hostArguments(const QStringList &arguments)
{
    QStringList host;
    for (const QString &argument : arguments) {
        const int drive = argument.indexOf(QLatin1String("Z:\\"), 0, Qt::CaseInsensitive);
        if (drive < 0) {
            host << argument;
            continue;
        }
        QString path = argument.mid(drive + 2);
        host << argument.left(drive) + path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    }
    return host;
}
