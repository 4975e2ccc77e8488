#include "kestrune.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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
