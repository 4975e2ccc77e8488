#ifndef GOLDENFILE_H
#define GOLDENFILE_H

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

// Golden-file comparison for generated text: byte for byte, line ends included. Golden files lie
// under tests/data. On a mismatch both texts go to golden-actual/ under the test's working folder
// and a unified diff is printed; KESTRUNE_REGENERATE_GOLDEN=1 rewrites the golden file instead
// (review the diff before committing it).
namespace golden {

inline QString dataPath(const QString &relativePath)
{
    return QStringLiteral(KESTRUNE_TEST_DATA "/") + relativePath;
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline bool writeAll(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Replaces the volatile folders of a test run (its temporary folder, say) by placeholders.
inline QByteArray normalized(QByteArray text, const QList<QPair<QString, QByteArray>> &placeholders)
{
    for (const auto &placeholder : placeholders)
        text.replace(placeholder.first.toUtf8(), placeholder.second);
    return text;
}

// Keeps both texts as golden-actual/<name>.expected and .actual and prints their unified diff.
inline void showDifference(
    const QByteArray &expected, const QByteArray &actual, const QString &name)
{
    const QString base = QDir::currentPath() + "/golden-actual/" + name;
    writeAll(base + ".expected", expected);
    writeAll(base + ".actual", actual);
    QProcess diff;
    diff.start(
        QStringLiteral("diff"), { QStringLiteral("-u"), base + ".expected", base + ".actual" });
    diff.waitForFinished(5000);
    qWarning().noquote() << "Mismatch with" << name << "\n"
                         << QString::fromUtf8(diff.readAllStandardOutput());
}

inline bool matches(const QByteArray &actual, const QString &relativeGoldenPath)
{
    const QString goldenPath = dataPath(relativeGoldenPath);
    if (qEnvironmentVariableIntValue("KESTRUNE_REGENERATE_GOLDEN") == 1)
        return writeAll(goldenPath, actual);
    const QByteArray expected = readAll(goldenPath);
    if (expected == actual)
        return true;
    showDifference(expected, actual, relativeGoldenPath);
    return false;
}

} // namespace golden

#endif // GOLDENFILE_H
