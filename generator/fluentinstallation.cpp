#include "fluentinstallation.h"

#include "kestrunelog.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>

namespace {

// One include line of makefile_nt.udf turned into a directory; false when the line names no folder
// of the Fluent installation.
bool includeDirOfLine(const QString &line, const QString &fluentPath, const QString &release,
    const QString &variant, QString &dir)
{
    const qsizetype option = line.indexOf(QLatin1String("-I"));
    if (option < 0)
        return false;
    dir = line.mid(option + 2).trimmed();
    if (!dir.contains(QLatin1String("FLUENT_INC")))
        return false;
    // The opening quote of -I"$(FLUENT_INC)"; its closing quote goes with the variable below.
    dir.remove(0, 1);
    dir.replace(QLatin1String("$(FLUENT_INC)\""), fluentPath);
    dir.replace(QLatin1String("$(RELEASE)"), release);
    dir.replace(QLatin1String("$(FLUENT_ARCH)"), QLatin1String("win64"));
    dir.replace(QLatin1String("$(VERSION)"), variant);
    const qsizetype continuation = dir.indexOf(QLatin1String(" \\"));
    if (continuation >= 0)
        dir.truncate(continuation);
    dir.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return true;
}

} // namespace

QStringList FluentInstallation::includeDirs(
    const QString &makefilePath, const QString &fluentPath, const QString &variant)
{
    QFile makefile(makefilePath);
    if (!makefile.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qCDebug(lcKestrune) << "无法打开文件" << makefilePath << "进行读取";
        return {};
    }
    const QString release = FluentInstallation::release(fluentPath).second;
    QStringList dirs;
    QTextStream lines(&makefile);
    QString line;
    QString dir;
    while (lines.readLineInto(&line)) {
        if (includeDirOfLine(line, fluentPath, release, variant, dir))
            dirs.append(dir);
    }
    return dirs;
}

namespace {

// The release folder of an installation is named "v" and three digits (".../ANSYS Inc/v241/fluent",
// ".../ANSYS Student/v222/fluent"); the last such folder counts, whatever other folder names hold.
QString releaseFolderDigits(const QString &fluentPath)
{
    static const QRegularExpression separator(QStringLiteral("[/\\\\]"));
    const QStringList folders = fluentPath.split(separator);
    for (auto folder = folders.crbegin(); folder != folders.crend(); ++folder) {
        if (folder->size() == 4 && folder->startsWith(QLatin1Char('v'))
            && std::all_of(folder->cbegin() + 1, folder->cend(),
                [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }))
            return folder->mid(1);
    }
    return QString();
}

// Without a release folder: the three characters just before the "\fluent" of ...\v192\fluent.
QString releasePieceBeforeFluent(const QString &fluentPath)
{
    const qsizetype found = fluentPath.indexOf(QLatin1String("fluent"));
    const qsizetype first = qMax<qsizetype>(0, found - 4);
    const qsizetype last = found - 2;
    return fluentPath.mid(first, qMax<qsizetype>(0, last - first + 1));
}

} // namespace

QPair<QString, QString> FluentInstallation::release(const QString &fluentPath)
{
    QString piece = releaseFolderDigits(fluentPath);
    if (piece.isEmpty())
        piece = releasePieceBeforeFluent(fluentPath);
    const QString release
        = piece.left(2) + QLatin1Char('.') + piece.mid(2, 1) + QLatin1String(".0");
    return { piece + QLatin1Char('0'), release };
}

QString FluentInstallation::makefilePath(const QString &fluentPath)
{
    return fluentPath + "/fluent" + release(fluentPath).second + "/src/udf/makefile_nt.udf";
}
