#include "installationfinder.h"

#include "installationprobe.h"
#include "kestrune.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QVersionNumber>

#include <algorithm>

namespace {
// vswhere answers in well under a second on a healthy machine.
const int vswhereTimeLimitMs = 3000;

// Installers write folders with backslashes, sometimes with a trailing one.
QString folderOf(QString path)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

bool isFile(const QString &path)
{
    return QFileInfo(path).isFile();
}

// Both program folders of 64-bit Windows; a 32-bit one has the first only.
QStringList programFolders()
{
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QStringList folders;
    for (const char *name : { "ProgramFiles", "ProgramFiles(x86)" }) {
        const QString folder = folderOf(environment.value(QLatin1String(name)));
        if (!folder.isEmpty() && !folders.contains(folder))
            folders.append(folder);
    }
    return folders;
}

FoundInstallation foundIn(const QString &path, FoundInstallation::Origin origin)
{
    return { path, origin, QString() };
}
} // namespace

FoundInstallation findFluentInstallation()
{
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    static const QRegularExpression awpRoot(
        QStringLiteral("^AWP_ROOT\\d{3}$"), QRegularExpression::CaseInsensitiveOption);
    QStringList variables = environment.keys().filter(awpRoot);
    // The release is the last three digits, so the newest sorts last.
    std::sort(variables.begin(), variables.end(),
        [](const QString &a, const QString &b) { return a.right(3) > b.right(3); });
    for (const QString &variable : variables) {
        const QString fluentPath = folderOf(environment.value(variable)) + QLatin1String("/fluent");
        if (isFile(CKestrune::fluentMakefilePath(fluentPath)))
            return { fluentPath, FoundInstallation::EnvironmentVariable, variable };
    }
    return {};
}

FoundInstallation findEdemInstallation()
{
    static const QRegularExpression edemFolder(QStringLiteral("^EDEM (\\d{4}(\\.\\d+)*)$"));
    FoundInstallation newest;
    QVersionNumber newestYear;
    for (const QString &programs : programFolders()) {
        const QString vendor = programs + QLatin1String("/DEM Solutions");
        const QStringList names = QDir(vendor).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString &name : names) {
            const QRegularExpressionMatch match = edemFolder.match(name);
            const QString candidate = vendor + QLatin1Char('/') + name;
            if (!match.hasMatch()
                || !isFile(candidate + QLatin1Char('/') + QLatin1String(edemCouplingLibraryPath)))
                continue;
            const QVersionNumber year = QVersionNumber::fromString(match.captured(1));
            if (newest.path.isEmpty() || year > newestYear) {
                newest = foundIn(candidate, FoundInstallation::ProgramFolders);
                newestYear = year;
            }
        }
    }
    return newest;
}

FoundInstallation findVisualStudioInProgramFolders()
{
    const QStringList folders = programFolders();
    for (const char *version : { "18", "2022", "2019", "2017" }) {
        for (const QString &programs : folders) {
            for (const char *edition :
                { "Community", "Professional", "Enterprise", "BuildTools" }) {
                const QString candidate = programs + QLatin1String("/Microsoft Visual Studio/")
                    + QLatin1String(version) + QLatin1Char('/') + QLatin1String(edition);
                if (isFile(candidate + QLatin1String("/Common7/IDE/devenv.exe"))
                    || isFile(candidate + QLatin1Char('/') + QLatin1String(vcvars64Path)))
                    return foundIn(candidate, FoundInstallation::ProgramFolders);
            }
        }
    }
    return {};
}

FoundInstallation newestVisualStudioOf(const QByteArray &vswhereOutput)
{
    FoundInstallation newest;
    QVersionNumber newestVersion;
    const QJsonArray installations = QJsonDocument::fromJson(vswhereOutput).array();
    for (const QJsonValue &entry : installations) {
        const QJsonObject installation = entry.toObject();
        const QString path
            = folderOf(installation.value(QLatin1String("installationPath")).toString());
        const QVersionNumber version = QVersionNumber::fromString(
            installation.value(QLatin1String("installationVersion")).toString());
        if (path.isEmpty() || CKestrune::visualStudioGenerator(path).isEmpty())
            continue;
        if (newest.path.isEmpty() || version > newestVersion) {
            newest = foundIn(path, FoundInstallation::Vswhere);
            newestVersion = version;
        }
    }
    return newest;
}

QString vswherePath()
{
    const QString programs = folderOf(
        QProcessEnvironment::systemEnvironment().value(QStringLiteral("ProgramFiles(x86)")));
    if (programs.isEmpty())
        return QString();
    return programs + QLatin1String("/Microsoft Visual Studio/Installer/vswhere.exe");
}

QStringList vswhereArguments()
{
    return { QStringLiteral("-products"), QStringLiteral("*"), QStringLiteral("-requires"),
        QStringLiteral("Microsoft.VisualStudio.Component.VC.Tools.x86.x64"),
        QStringLiteral("-format"), QStringLiteral("json"), QStringLiteral("-utf8") };
}

VisualStudioSearch::VisualStudioSearch(QObject *parent) : QObject(parent)
{
    vswhere.setStandardErrorFile(QProcess::nullDevice());
    timeLimit.setSingleShot(true);
    timeLimit.setInterval(vswhereTimeLimitMs);
    connect(&timeLimit, &QTimer::timeout, this, &VisualStudioSearch::giveUpOnVswhere);
    connect(&vswhere, &QProcess::finished, this, &VisualStudioSearch::readAnswer);
    connect(&vswhere, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            report(findVisualStudioInProgramFolders());
    });
}

// A window closed while vswhere still runs must not leave it behind.
VisualStudioSearch::~VisualStudioSearch()
{
    if (vswhere.state() == QProcess::NotRunning)
        return;
    vswhere.disconnect(this);
    vswhere.kill();
    vswhere.waitForFinished(1000);
}

void VisualStudioSearch::start()
{
    const QString program = vswherePath();
    if (!isFile(program)) {
        report(findVisualStudioInProgramFolders());
        return;
    }
    vswhere.start(program, vswhereArguments());
    timeLimit.start();
}

void VisualStudioSearch::readAnswer(int exitCode, QProcess::ExitStatus exitStatus)
{
    timeLimit.stop();
    FoundInstallation found;
    if (exitStatus == QProcess::NormalExit && exitCode == 0)
        found = newestVisualStudioOf(vswhere.readAllStandardOutput());
    if (found.path.isEmpty())
        found = findVisualStudioInProgramFolders();
    report(found);
}

void VisualStudioSearch::giveUpOnVswhere()
{
    vswhere.disconnect(this);
    vswhere.kill();
    report(findVisualStudioInProgramFolders());
}

void VisualStudioSearch::report(const FoundInstallation &found)
{
    if (reported)
        return;
    reported = true;
    timeLimit.stop();
    emit finished(found);
}
