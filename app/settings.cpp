#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
const char settingsPath[] = "../ini/settings.json";

QJsonObject settingsObject(const QByteArray &content)
{
    return QJsonDocument::fromJson(content).object();
}

// A file that holds text but no JSON object was edited by hand; keep it before it is replaced.
void keepHandEditedFile(const QByteArray &content)
{
    if (content.trimmed().isEmpty() || QJsonDocument::fromJson(content).isObject())
        return;
    const QString backupPath = QString::fromLatin1(settingsPath) + ".bak";
    QFile::remove(backupPath);
    QFile backup(backupPath);
    if (backup.open(QIODevice::WriteOnly))
        backup.write(content);
}
} // namespace

void MainWindow::loadSettings()
{
    QFile file(QString::fromLatin1(settingsPath));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QJsonObject settings = settingsObject(file.readAll());
    const auto shown = [&settings](const char *key) {
        return settings.value(QLatin1String(key)).toString().replace('/', '\\');
    };
    ui->editPathFluent->setText(shown("pathFluent"));
    ui->editPathEdem->setText(shown("pathEdem"));
    ui->editPathVS->setText(shown("pathVs"));
}

void MainWindow::storeSetting(const QString &key, const QString &value)
{
    QFile file(QString::fromLatin1(settingsPath));
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
}

void MainWindow::on_editPathEdem_textChanged(const QString &arg1)
{
    storeSetting("pathEdem", arg1);
}

void MainWindow::on_editPathVS_textChanged(const QString &arg1)
{
    storeSetting("pathVs", arg1);
}
