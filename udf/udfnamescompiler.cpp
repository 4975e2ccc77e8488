#include "kestrune.h"

#include <QDebug>

void CKestrune::compileUdfNames(const QString &, const QString &, const QString &, const QString &)
{
    qWarning() << "compileUdfNames is not implemented yet";
}

void CKestrune::removeUdfNamesTemporaries(const QString &)
{
    qWarning() << "removeUdfNamesTemporaries is not implemented yet";
}
