#include "vsformat.h"

#include <QCryptographicHash>
#include <QDir>
#include <QUuid>

#include <algorithm>

QString backslashed(const QString &path)
{
    QString result = path;
    return result.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

QString vsGuid(const QString &topBinaryDir, const QString &name)
{
    static const QUuid nameSpace(QStringLiteral("{ee30c4be-5192-4fb0-b335-722a2dffe760}"));
    const QUuid uuid = QUuid::createUuidV3(nameSpace, topBinaryDir + QLatin1Char('|') + name);
    return uuid.toString(QUuid::WithoutBraces).toUpper();
}

QString md5Hex(const QString &text)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
}

QString shellArgument(const QString &argument)
{
    static const QString specials = QStringLiteral(" \t'#&<>|^");
    const bool needsQuotes = argument.isEmpty()
        || std::any_of(
            argument.begin(), argument.end(), [](QChar c) { return specials.contains(c); });
    if (!needsQuotes)
        return argument;
    QString inner = argument;
    inner.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString xmlText(const QString &text)
{
    QString result = text;
    result.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    result.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    result.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return result;
}

QString xmlAttribute(const QString &text)
{
    QString result = xmlText(text);
    result.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
    result.replace(QLatin1Char('\n'), QStringLiteral("&#10;"));
    return result;
}

QString solutionRelativeFolder(const QString &solutionDir, const QString &targetDir)
{
    QString relative = QDir(solutionDir).relativeFilePath(targetDir);
    if (relative == QLatin1String("."))
        return QString();
    const QStringList parts = relative.split(QLatin1Char('/'));
    if (std::all_of(parts.begin(), parts.end(), [](const QString &p) { return p == ".."; }))
        relative += QLatin1Char('/');
    return backslashed(relative) + QLatin1Char('\\');
}

bool lessBytewise(const QString &left, const QString &right)
{
    return left.toUtf8() < right.toUtf8();
}

void sortUniqueBytewise(QStringList &list)
{
    std::sort(list.begin(), list.end(), lessBytewise);
    list.erase(std::unique(list.begin(), list.end()), list.end());
}

QString exportMacro(const QString &targetName)
{
    QString macro = targetName + QStringLiteral("_EXPORTS");
    for (QChar &c : macro) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('_'))
            c = QLatin1Char('_');
    }
    if (macro.at(0).isDigit())
        macro.prepend(QLatin1Char('_'));
    return macro;
}
