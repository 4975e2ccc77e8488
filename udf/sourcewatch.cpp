#include "kestrune.h"

#include <QDebug>

void CKestrune::onSourceFileChanged(const QString &)
{
    qWarning() << "onSourceFileChanged is not implemented yet";
}
