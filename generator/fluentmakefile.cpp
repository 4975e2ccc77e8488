#include "kestrune.h"

#include <QDebug>

QStringList CKestrune::readFluentIncludeDirs(const QString &, const QString &, const QString &)
{
    qWarning() << "readFluentIncludeDirs is not implemented yet";
    return {};
}

QPair<QString, QString> CKestrune::fluentRelease(const QString &)
{
    qWarning() << "fluentRelease is not implemented yet";
    return {};
}
