#include "cmdvariables.h"

#include <QStringList>

static QString existingName(const QProcessEnvironment &environment, const QString &name)
{
    const QStringList names = environment.keys();
    for (const QString &candidate : names) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return QString();
}

bool findCmdVariable(const QProcessEnvironment &environment, const QString &name, QString &value)
{
    const QString key = existingName(environment, name);
    if (key.isEmpty())
        return false;
    value = environment.value(key);
    return true;
}

// An empty value removes the variable, as "set NAME=" does. An existing variable keeps the
// spelling of its name, so that "set path=..." still changes PATH for the programs started later.
void setCmdVariable(QProcessEnvironment &environment, const QString &name, const QString &value)
{
    const QString key = existingName(environment, name);
    if (value.isEmpty()) {
        if (!key.isEmpty())
            environment.remove(key);
        return;
    }
    environment.insert(key.isEmpty() ? name : key, value);
}
