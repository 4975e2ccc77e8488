#include "commandline.h"

#include <QDir>

namespace {

// The options that take a value, either attached ("-Gname") or as the next argument.
bool takeValue(const QStringList &arguments, int &index, const QString &option, QString &value)
{
    const QString &argument = arguments.at(index);
    if (!argument.startsWith(option))
        return false;
    if (argument.size() > option.size()) {
        value = argument.mid(option.size());
        return true;
    }
    if (index + 1 < arguments.size())
        value = arguments.at(++index);
    return true;
}

QString absoluteClean(const QString &path)
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    QString toolset;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (takeValue(arguments, i, QStringLiteral("-S"), line.sourceDir))
            continue;
        if (takeValue(arguments, i, QStringLiteral("-B"), line.binaryDir))
            continue;
        if (takeValue(arguments, i, QStringLiteral("-G"), line.generator)) {
            line.hasGenerator = true;
            continue;
        }
        if (takeValue(arguments, i, QStringLiteral("-A"), line.platform))
            continue;
        // A toolset means nothing to the configure that stands in for Visual Studio.
        if (takeValue(arguments, i, QStringLiteral("-T"), toolset))
            continue;
        if (!argument.startsWith(QLatin1Char('-')) && line.sourceDir.isEmpty()) {
            line.sourceDir = argument;
            continue;
        }
        line.passOn << argument;
    }
    // Like CMake: a bare source folder builds into the current directory.
    if (line.binaryDir.isEmpty())
        line.binaryDir = QDir::currentPath();
    if (line.sourceDir.isEmpty())
        line.sourceDir = line.binaryDir;
    line.sourceDir = absoluteClean(line.sourceDir);
    line.binaryDir = absoluteClean(line.binaryDir);
    return line;
}

bool findVsGenerator(const QString &name, VsGenerator &generator)
{
    static const VsGenerator known[] = {
        { QStringLiteral("Visual Studio 15 2017"), QVersionNumber(3, 7), false,
            QStringLiteral("# Visual Studio 15"), QStringLiteral("15.0"), QStringLiteral("v141"),
            QStringLiteral("Win32"), false, false },
        { QStringLiteral("Visual Studio 16 2019"), QVersionNumber(3, 14), false,
            QStringLiteral("# Visual Studio Version 16"), QStringLiteral("16.0"),
            QStringLiteral("v142"), QStringLiteral("x64"), true, true },
        { QStringLiteral("Visual Studio 17 2022"), QVersionNumber(3, 21), false,
            QStringLiteral("# Visual Studio Version 17"), QStringLiteral("17.0"),
            QStringLiteral("v143"), QStringLiteral("x64"), true, true },
        { QStringLiteral("Visual Studio 18 2026"), QVersionNumber(4, 2), true, QString(),
            QStringLiteral("18.0"), QStringLiteral("v145"), QStringLiteral("x64"), true, true },
    };
    for (const VsGenerator &candidate : known) {
        if (candidate.name == name) {
            generator = candidate;
            return true;
        }
    }
    return false;
}
