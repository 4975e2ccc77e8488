#ifndef GOLDENFILE_H
#define GOLDENFILE_H

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

// Golden-file comparison for generated text: byte for byte, line ends included. On a mismatch the
// actual text goes to golden-actual/<golden>.actual under the test's working folder and a unified
// diff is printed; KESTRUNE_REGENERATE_GOLDEN=1 rewrites the golden file instead (review the diff).
namespace golden {

inline QString dataPath(const QString &relativePath)
{
    return QStringLiteral(KESTRUNE_TEST_DATA "/solution/") + relativePath;
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Replaces the volatile folders of a test run (its temporary folder, say) by placeholders.
inline QByteArray normalized(QByteArray text, const QList<QPair<QString, QByteArray>> &placeholders)
{
    for (const auto &placeholder : placeholders)
        text.replace(placeholder.first.toUtf8(), placeholder.second);
    return text;
}

inline bool matches(const QByteArray &actual, const QString &relativeGoldenPath)
{
    const QString goldenPath = dataPath(relativeGoldenPath);
    if (qEnvironmentVariableIntValue("KESTRUNE_REGENERATE_GOLDEN") == 1) {
        QDir().mkpath(QFileInfo(goldenPath).absolutePath());
        QFile file(goldenPath);
        return file.open(QIODevice::WriteOnly) && file.write(actual) == actual.size();
    }
    if (readAll(goldenPath) == actual)
        return true;

    const QString actualPath
        = QDir::currentPath() + "/golden-actual/" + relativeGoldenPath + ".actual";
    QDir().mkpath(QFileInfo(actualPath).absolutePath());
    QFile file(actualPath);
    if (file.open(QIODevice::WriteOnly))
        file.write(actual);
    file.close();
    QProcess diff;
    diff.start(QStringLiteral("diff"), { QStringLiteral("-u"), goldenPath, actualPath });
    diff.waitForFinished(5000);
    qWarning().noquote() << "Mismatch with" << goldenPath << "\n"
                         << QString::fromUtf8(diff.readAllStandardOutput());
    return false;
}

} // namespace golden

#endif // GOLDENFILE_H
