#include "kestrune.h"

#include <QDebug>

#include "udfscanner.h"

QStringList scanUdfDefinitions(const QByteArray &)
{
    qWarning() << "scanUdfDefinitions is not implemented yet";
    return {};
}

QStringList CKestrune::findUdfDefinitions(const QString &)
{
    qWarning() << "findUdfDefinitions is not implemented yet";
    return {};
}
