#include "kestrune.h"

#include <QDebug>

bool CKestrune::buildCouplingSolution(QStringList, QStringList, QString, QString, QString,
                                      QString, QString)
{
    qWarning() << "buildCouplingSolution is not implemented yet";
    return false;
}

bool CKestrune::buildUdfSolution(QStringList, QStringList, QString, QString, QString, QString)
{
    qWarning() << "buildUdfSolution is not implemented yet";
    return false;
}
