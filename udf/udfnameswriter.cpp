#include "kestrune.h"

#include <QDebug>

void CKestrune::writeUdfNames(const QStringList &, const QString &)
{
    qWarning() << "writeUdfNames is not implemented yet";
}
