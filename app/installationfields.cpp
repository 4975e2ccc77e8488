#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "installationfinder.h"
#include "installationprobe.h"

#include <QStatusBar>

namespace {
const char usableColour[] = "color: #2e7d32;";
const char unusableColour[] = "color: #c62828;";

QString foundPathNote(const QString &fieldName, const FoundInstallation &found)
{
    switch (found.origin) {
    case FoundInstallation::EnvironmentVariable:
        return MainWindow::tr("%1 路径取自 %2").arg(fieldName, found.variable);
    case FoundInstallation::Vswhere:
        return MainWindow::tr("%1 路径取自 vswhere").arg(fieldName);
    default:
        return MainWindow::tr("%1 路径取自默认安装位置").arg(fieldName);
    }
}
} // namespace

// Fields whose text did not change while loading fired no slot; every mark starts from here.
void MainWindow::showInstallationStates()
{
    showInstallationState(
        ui->labelFluentStatus, fluentInstallationState(ui->editPathFluent->text()));
    showInstallationState(ui->labelEdemStatus, edemInstallationState(ui->editPathEdem->text()));
    showInstallationState(ui->labelVsStatus, visualStudioInstallationState(ui->editPathVS->text()));
}

void MainWindow::showInstallationState(QLabel *label, const InstallationState &state)
{
    label->setText(state.mark);
    label->setToolTip(state.details);
    label->setStyleSheet(QLatin1String(state.usable ? usableColour : unusableColour));
}

// vswhere answers after the window is up; by then the user may have typed a path of their own.
void MainWindow::startVisualStudioSearch()
{
    auto *search = new VisualStudioSearch(this);
    const QString textBeforeSearch = ui->editPathVS->text();
    connect(search, &VisualStudioSearch::finished, this,
        [this, search, textBeforeSearch](const FoundInstallation &found) {
            if (!ui->editPathVS->isModified() && ui->editPathVS->text() == textBeforeSearch)
                fillPath(ui->editPathVS, "VS", found);
            search->deleteLater();
        });
    search->start();
}

// A found path is shown and stored like a picked one: the field's change slot stores it.
void MainWindow::fillPath(
    QLineEdit *field, const QString &fieldName, const FoundInstallation &found)
{
    if (found.path.isEmpty())
        return;
    field->setText(QString(found.path).replace('/', '\\'));
    foundPathNotes.append(foundPathNote(fieldName, found));
    statusBar()->showMessage(foundPathNotes.join(tr("；")), statusMessageTimeoutMs);
}
