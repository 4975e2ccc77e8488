#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "installationfinder.h"
#include "installationprobe.h"
#include "settingsfile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
QJsonObject settingsObject(const QByteArray &content)
{
    return QJsonDocument::fromJson(content).object();
}

// A file that holds text but no JSON object was edited by hand; keep it before it is replaced.
void keepHandEditedFile(const QByteArray &content)
{
    if (content.trimmed().isEmpty() || QJsonDocument::fromJson(content).isObject())
        return;
    const QString backupPath = SettingsFile::path() + ".bak";
    QFile::remove(backupPath);
    QFile backup(backupPath);
    if (backup.open(QIODevice::WriteOnly))
        backup.write(content);
}
} // namespace

// The machine fills a field only on a first start or when the settings lost its key, and only when
// the form's default names no installation here: a path the settings hold is never replaced.
void MainWindow::loadSettings()
{
    const bool fluentDefaultUsable = fluentInstallationState(ui->editPathFluent->text()).usable;
    const bool edemDefaultUsable = edemInstallationState(ui->editPathEdem->text()).usable;
    const bool vsDefaultUsable = visualStudioInstallationState(ui->editPathVS->text()).usable;
    const QStringList held = showStoredPaths();
    if (!fluentDefaultUsable && !held.contains("pathFluent"))
        fillPath(ui->editPathFluent, "Fluent", findFluentInstallation());
    if (!edemDefaultUsable && !held.contains("pathEdem"))
        fillPath(ui->editPathEdem, "Edem", findEdemInstallation());
    if (!vsDefaultUsable && !held.contains("pathVs"))
        startVisualStudioSearch();
}

// Returns the keys that hold a path. An empty value is no path: the load of a file that lacked
// the key stored it so. Without a readable file the fields keep the form's defaults.
QStringList MainWindow::showStoredPaths()
{
    if (!QFileInfo(SettingsFile::path()).isReadable())
        return {};
    const QJsonObject settings = SettingsFile::read();
    const auto shown = [&settings](const char *key) {
        return settings.value(QLatin1String(key)).toString().replace('/', '\\');
    };
    ui->editPathFluent->setText(shown("pathFluent"));
    ui->editPathEdem->setText(shown("pathEdem"));
    ui->editPathVS->setText(shown("pathVs"));
    QStringList held;
    for (auto member = settings.begin(); member != settings.end(); ++member) {
        if (!member.value().toString().isEmpty())
            held.append(member.key());
    }
    return held;
}

void MainWindow::storeSetting(const QString &key, const QString &value)
{
    QFile file(SettingsFile::path());
    if (!file.open(QIODevice::ReadWrite))
        return;
    const QByteArray content = file.readAll();
    keepHandEditedFile(content);
    QJsonObject settings = settingsObject(content);
    settings.insert(key, QString(value).replace('\\', '/'));
    file.resize(0);
    file.seek(0);
    file.write(QJsonDocument(settings).toJson(QJsonDocument::Indented));
}

void MainWindow::on_editPathFluent_textChanged(const QString &arg1)
{
    storeSetting("pathFluent", arg1);
    showInstallationState(ui->labelFluentStatus, fluentInstallationState(arg1));
}

void MainWindow::on_editPathEdem_textChanged(const QString &arg1)
{
    storeSetting("pathEdem", arg1);
    showInstallationState(ui->labelEdemStatus, edemInstallationState(arg1));
}

void MainWindow::on_editPathVS_textChanged(const QString &arg1)
{
    storeSetting("pathVs", arg1);
    showInstallationState(ui->labelVsStatus, visualStudioInstallationState(arg1));
}
