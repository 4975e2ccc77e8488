#include "kestrune.h"

#include <QDebug>

bool CKestrune::writeCouplingVariantCMakeLists(const QStringList &, const QStringList &,
                                               const QString &, const QString &, const QString &,
                                               const QString &, const QString &)
{
    qWarning() << "writeCouplingVariantCMakeLists is not implemented yet";
    return false;
}

bool CKestrune::writeUdfVariantCMakeLists(const QStringList &, const QStringList &, const QString &,
                                          const QString &, const QString &, const QString &)
{
    qWarning() << "writeUdfVariantCMakeLists is not implemented yet";
    return false;
}
