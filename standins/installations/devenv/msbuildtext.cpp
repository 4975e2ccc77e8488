#include "msbuildtext.h"

#include <QDir>
#include <QRegularExpression>

QString hostPath(const QString &projectPath)
{
    QString path = projectPath;
#ifndef Q_OS_WIN
    // Project files separate with backslashes; elsewhere a backslash is part of a file name.
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    return path;
}

QString absoluteIn(const QString &folder, const QString &projectPath)
{
    return QDir::cleanPath(QDir(folder).absoluteFilePath(hostPath(projectPath)));
}

static bool isInheritedReference(const QString &item)
{
    return item.startsWith(QLatin1String("%(")) && item.endsWith(QLatin1Char(')'));
}

QStringList msbuildList(const QString &value)
{
    QStringList items;
    for (const QString &raw : value.split(QLatin1Char(';'))) {
        const QString item = raw.trimmed();
        if (!item.isEmpty() && !isInheritedReference(item))
            items << item;
    }
    return items;
}

QStringList optionList(const QString &value)
{
    QStringList options;
    for (const QString &option : value.split(QRegularExpression(QStringLiteral("\\s+")))) {
        if (!option.isEmpty() && !isInheritedReference(option))
            options << option;
    }
    return options;
}

QString expandProperties(const QString &text, const QHash<QString, QString> &properties)
{
    static const QRegularExpression reference(QStringLiteral("\\$\\(([A-Za-z_][A-Za-z0-9_]*)\\)"));
    QString expanded;
    qsizetype done = 0;
    QRegularExpressionMatchIterator it = reference.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        expanded += text.mid(done, match.capturedStart() - done);
        expanded += properties.value(match.captured(1));
        done = match.capturedEnd();
    }
    return expanded + text.mid(done);
}

bool conditionHolds(const QString &condition, const QString &configurationPlatform)
{
    if (condition.trimmed().isEmpty())
        return true;
    static const QRegularExpression form(QStringLiteral(
        "^\\s*'\\$\\(Configuration\\)\\|\\$\\(Platform\\)'\\s*==\\s*'([^']*)'\\s*$"));
    const QRegularExpressionMatch match = form.match(condition);
    return match.hasMatch()
        && match.captured(1).compare(configurationPlatform, Qt::CaseInsensitive) == 0;
}
