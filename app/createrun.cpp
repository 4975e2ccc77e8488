#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "createchecks.h"
#include "logpane.h"
#include "logtext.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QTimer>

namespace {
const int regenerationPollMs = 100;
} // namespace

// The engine works off the window's thread and processes our events meanwhile: the window stays
// responsive, but nothing that would start a second create or change its options may be pressed.
void MainWindow::setCreating(bool creating)
{
    const QList<QWidget *> options = { ui->btnAdd, ui->btnDel, ui->btnCreateVsProject,
        ui->btnOpenVsProject, ui->cbDimension, ui->cbPrecision, ui->cbParallel, ui->rbtnFluentUdf,
        ui->rbtnCoupling_Euler, ui->rbtnCoupling_DPM };
    for (QWidget *widget : options)
        widget->setEnabled(!creating);
}

// The create runs off the window's thread; the window hears its steps and its end through the
// engine's events and returns to its event loop at once.
void MainWindow::runCreate(const CKestrune::CreateRequest &request)
{
    logPane->startRun(tr("创建VS工程：%1").arg(projectPath));
    createBuildType = request.buildType;
    if (generator->startCreate(request))
        setCreating(true);
}

// The same messages, in the same order, as before the create ran off the window's thread.
void MainWindow::finishCreate(const CKestrune::BuildOutcome &outcome)
{
    // What the workers reported just before the end may still wait in the queue; the log and the
    // bar must be complete before the user is told anything.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    setCreating(false);
    for (const QString &copy : outcome.keptCopies)
        logPane->appendLine(LogText::copyKept(copy));
    if (outcome.cancelled)
        logPane->appendLine(tr("创建已取消"));
    logPane->flush();
    const CKestrune::CreateRequest::BuildType buildType = createBuildType;
    if (closeAfterCreate) {
        close();
        return;
    }
    if (outcome.cancelled)
        return;
    const bool layoutOnly = buildType == CKestrune::CreateRequest::BuildType::LayoutOnly;
    if (outcome.buildRootResult != 0 || (!layoutOnly && !outcome.succeeded()))
        logPane->showFailure();
    const QString problem = CreateChecks::outcomeProblem(
        outcome, layoutOnly, QString(ui->editPathVS->text()).replace('\\', '/'));
    if (!problem.isEmpty())
        warn(problem);
    else
        ui->progressBar->setValue(100);
}

// Closing stops a create only when the user confirms; the window then closes once the tools are
// ended and the half-made step is removed, never while the engine still writes.
void MainWindow::closeEvent(QCloseEvent *event)
{
    // A regeneration after a save lasts a compile: the window waits for it rather than leave a
    // variant without its table.
    if (generator->isRegenerating() && !generator->isCreating()) {
        event->ignore();
        if (!closeAfterCreate)
            logPane->appendLine(tr("正在更新函数表，完成后关闭…"));
        closeAfterCreate = true;
        QTimer::singleShot(regenerationPollMs, this, &QWidget::close);
        return;
    }
    const bool building = generator->isBuildingLibraries();
    if (!generator->isCreating() && !building) {
        QMainWindow::closeEvent(event);
        return;
    }
    event->ignore();
    if (closeAfterCreate)
        return;
    const QString question = building ? tr("正在编译，确定停止并关闭吗？")
                                      : tr("正在创建VS工程，确定停止并关闭吗？");
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, tr("警告"), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    closeAfterCreate = true;
    logPane->appendLine(tr("正在停止…"));
    if (building)
        generator->cancelLibraryBuild();
    else
        generator->cancelCreate();
}
