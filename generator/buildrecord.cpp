#include "buildrecord.h"

#include "buildtree.h"
#include "solutionrequest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

const int formatVersion = 1;

QJsonArray relativeTo(const QString &root, const QStringList &paths)
{
    const QDir dir(root);
    QJsonArray array;
    for (const QString &path : paths)
        array.append(dir.relativeFilePath(path));
    return array;
}

// A record names only files inside its build root: one that points elsewhere was not written by
// us, and the watcher must not regenerate from (or append to) files outside.
bool absoluteIn(const QString &root, const QJsonValue &value, QStringList &paths)
{
    if (!value.isArray())
        return false;
    for (const QJsonValue &item : value.toArray()) {
        const QString relative = item.toString();
        const QString path = QDir::cleanPath(root + QLatin1Char('/') + relative);
        if (relative.isEmpty() || QDir::isAbsolutePath(relative)
            || !path.startsWith(root + QLatin1Char('/')))
            return false;
        paths.append(path);
    }
    return true;
}

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

BuildRecord BuildRecord::of(const SolutionRequest &request)
{
    BuildRecord record;
    record.coupling = request.coupling;
    record.variant = request.variant;
    record.fluentPath = request.fluentPath;
    record.edemPath = request.edemPath;
    record.vsPath = request.vsPath;
    record.headers = request.headers;
    record.sources = request.sources;
    record.nodeSources = request.nodeSources();
    record.buildRoot = request.buildRoot;
    return record;
}

SolutionRequest BuildRecord::solutionRequest() const
{
    return { coupling, headers, sources, variant, fluentPath, edemPath, vsPath, buildRoot };
}

QString BuildRecordFile::path(const QString &buildRoot)
{
    return buildRoot + QLatin1String("/kestrune.json");
}

bool BuildRecordFile::write(const BuildRecord &record, QString *error)
{
    QJsonObject object;
    object.insert(QStringLiteral("format"), formatVersion);
    object.insert(QStringLiteral("buildType"),
        record.coupling ? QStringLiteral("euler") : QStringLiteral("udf"));
    object.insert(QStringLiteral("variant"), record.variant);
    object.insert(QStringLiteral("fluentPath"), record.fluentPath);
    object.insert(QStringLiteral("edemPath"), record.edemPath);
    object.insert(QStringLiteral("vsPath"), record.vsPath);
    object.insert(QStringLiteral("headers"), relativeTo(record.buildRoot, record.headers));
    object.insert(QStringLiteral("sources"), relativeTo(record.buildRoot, record.sources));
    object.insert(QStringLiteral("nodeSources"), relativeTo(record.buildRoot, record.nodeSources));
    object.insert(QStringLiteral("caseFolder"), record.caseFolder);

    QSaveFile file(path(record.buildRoot));
    const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Indented);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(error, file.errorString());
    return true;
}

BuildRecordFile::Status BuildRecordFile::read(
    const QString &buildRoot, BuildRecord &record, QString *error)
{
    QFile file(path(buildRoot));
    if (!file.exists())
        return Status::Missing;
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error, file.errorString());
        return Status::Unreadable;
    }
    QJsonParseError parseError;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll(), &parseError).object();
    const QString buildType = object.value(QStringLiteral("buildType")).toString();
    const QString variant = object.value(QStringLiteral("variant")).toString();
    BuildRecord read;
    read.buildRoot = QDir::cleanPath(buildRoot);
    const bool valid = parseError.error == QJsonParseError::NoError
        && object.value(QStringLiteral("format")).toInt() == formatVersion
        && (buildType == QLatin1String("udf") || buildType == QLatin1String("euler"))
        && (BuildTree::isSerialVariant(variant) || BuildTree::isHostVariant(variant))
        && absoluteIn(read.buildRoot, object.value(QStringLiteral("headers")), read.headers)
        && absoluteIn(read.buildRoot, object.value(QStringLiteral("sources")), read.sources)
        && absoluteIn(read.buildRoot, object.value(QStringLiteral("nodeSources")), read.nodeSources)
        && !read.sources.isEmpty();
    if (!valid) {
        fail(error,
            parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                         : QStringLiteral("not a build record"));
        return Status::Unreadable;
    }
    read.coupling = buildType == QLatin1String("euler");
    read.variant = variant;
    read.fluentPath = object.value(QStringLiteral("fluentPath")).toString();
    read.edemPath = object.value(QStringLiteral("edemPath")).toString();
    read.vsPath = object.value(QStringLiteral("vsPath")).toString();
    read.caseFolder = object.value(QStringLiteral("caseFolder")).toString();
    record = read;
    return Status::Read;
}

QString BuildRecordFile::buildRootOf(const QString &folder)
{
    const QString cleaned = QDir::cleanPath(folder);
    if (QFileInfo::exists(path(cleaned))
        || QFileInfo(cleaned).fileName() == QFileInfo(BuildTree::root(cleaned)).fileName())
        return cleaned;
    return BuildTree::root(cleaned);
}
