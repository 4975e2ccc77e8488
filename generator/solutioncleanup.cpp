#include "kestrune.h"

#include <QDebug>

void CKestrune::cleanSolution(const QString &, const QString &)
{
    qWarning() << "cleanSolution is not implemented yet";
}

void CKestrune::removeCMakeProjectsFromSln(const QString &)
{
    qWarning() << "removeCMakeProjectsFromSln is not implemented yet";
}

void CKestrune::removeCustomBuildFromVcxproj(const QString &)
{
    qWarning() << "removeCustomBuildFromVcxproj is not implemented yet";
}
