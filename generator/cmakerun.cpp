#include "kestrune.h"

#include <QDebug>

bool CKestrune::runCMake(const QString &)
{
    qWarning() << "runCMake is not implemented yet";
    return false;
}
