#include "kestrune.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

int CKestrune::createBuildRoot(QStringList headers, QStringList sources, QString projectFolder,
    QStringList &headerCopies, QStringList &sourceCopies)
{
    const QString root = projectFolder + "/buildByVarnholt";
    QDir dir;
    if (!dir.exists(root)) {
        if (!dir.mkpath(root)) {
            qDebug() << "Failed to create varnholtPath directory";
            return 1;
        }
        qDebug() << "varnholtPath directory created successfully";
    }

    const QString srcPath = root + "/src";
    const QString includePath = root + "/include";
    if (dir.exists(srcPath) && dir.exists(includePath)) {
        qDebug() << "srcPath directory already exists";
    } else {
        if (!dir.mkpath(srcPath)) {
            qDebug() << "Failed to create srcPath directory";
            return 1;
        }
        qDebug() << "srcPath directory created successfully";
        if (!dir.mkpath(includePath)) {
            qDebug() << "Failed to create includePath directory";
            return 1;
        }
        qDebug() << "includePath directory created successfully";
    }

    for (const QString &header : headers) {
        QString target = includePath;
        if (!copyFileReplacing(header, target))
            return 2;
        headerCopies.append(target);
    }
    for (const QString &source : sources) {
        QString target = srcPath;
        if (!copyFileReplacing(source, target))
            return 2;
        sourceCopies.append(target);
    }
    return 0;
}

bool CKestrune::copyFileReplacing(const QString &source, QString &target)
{
    target += "/" + QFileInfo(source).fileName();

    if (!QFile::exists(source)) {
        qWarning() << "Source file does not exist:" << source;
        return false;
    }
    // Rebuilding from an earlier tree can pick the copy itself; removing the target would then
    // delete the user's only file.
    if (QFile::exists(target) && QFileInfo(source) == QFileInfo(target)) {
        qDebug() << "File is already in place:" << target;
        return true;
    }
    if (QFile::exists(target) && !QFile::remove(target)) {
        qWarning() << "Failed to remove existing file:" << target;
        return false;
    }
    if (!QFile::copy(source, target)) {
        qWarning() << "Failed to copy file from" << source << "to" << target;
        return false;
    }
    qDebug() << "File copied successfully from" << source << "to" << target;
    return true;
}

// What of a build root no generated file can carry, whatever it escapes:
// - ";" splits CMake's list properties (sources, include and link folders) with no escape;
// - "${" and "$NAME{" are expanded by CMake in source file paths;
// - "$(", "@(" and "%(" start MSBuild properties, item lists and metadata in the project files;
// - a network path ("\\server\share") cannot be cmd's working directory.
// Returns the piece found, empty when the build root is usable.
QString CKestrune::unusableInBuildRoot(const QString &buildRoot)
{
    if (buildRoot.startsWith(QLatin1String("//")) || buildRoot.startsWith(QLatin1String("\\\\")))
        return QStringLiteral("\\\\");
    static const QRegularExpression unusable(QStringLiteral(";|\\$[A-Za-z]*\\{|[$@%]\\("));
    return unusable.match(buildRoot).captured(0);
}
