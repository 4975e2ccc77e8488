#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "diagnosticslist.h"
#include "logpane.h"
#include "logtext.h"

#include <QHBoxLayout>
#include <QStatusBar>
#include <QToolButton>

// The pane sits below the form and is hidden while closed, so the form keeps its layout; its
// button lives in the status bar.
void MainWindow::setUpLogPane()
{
    // The errors and warnings of a build sit beside the log, and show and hide with it.
    auto *logArea = new QWidget(ui->centralwidget);
    auto *logLayout = new QHBoxLayout(logArea);
    logLayout->setContentsMargins(0, 0, 0, 0);
    logPane = new LogPane(logArea);
    diagnostics = new DiagnosticsList(logArea);
    diagnostics->setFixedHeight(LogPane::openHeight);
    diagnostics->setVisible(false);
    logLayout->addWidget(logPane, 3);
    logLayout->addWidget(diagnostics, 2);
    connect(logPane, &LogPane::openChanged, diagnostics, &QWidget::setVisible);
    ui->gridLayout_2->addWidget(logArea, 3, 2, 1, 3);
    statusBar()->addPermanentWidget(logPane->toggleButton());
    closedMinimumHeight = minimumHeight();
    closedMaximumHeight = maximumHeight();
    connect(logPane, &LogPane::openChanged, this, &MainWindow::fitLogPane);
}

// The window grows by the pane's height when it opens and shrinks back when it closes; the form's
// own limits hold in both states.
void MainWindow::fitLogPane(bool open)
{
    const int paneHeight = LogPane::openHeight + qMax(0, ui->gridLayout_2->verticalSpacing());
    const int extra = open ? paneHeight : 0;
    const int minimum = closedMinimumHeight + extra;
    const int maximum = closedMaximumHeight + extra;
    const int target = qBound(minimum, height() + (open ? paneHeight : -paneHeight), maximum);
    setMinimumHeight(qMin(minimumHeight(), minimum));
    setMaximumHeight(qMax(maximumHeight(), maximum));
    resize(width(), target);
    setMinimumHeight(minimum);
    setMaximumHeight(maximum);
}

void MainWindow::connectBuildEvents()
{
    BuildEvents *events = generator->events();
    connect(events, &BuildEvents::progressChanged, ui->progressBar, &QProgressBar::setValue);
    connect(events, &BuildEvents::stepStarted, logPane, &LogPane::stepStarted);
    connect(events, &BuildEvents::stepFinished, logPane, &LogPane::stepFinished);
    connect(events, &BuildEvents::toolStarted, logPane, &LogPane::toolStarted);
    connect(events, &BuildEvents::toolOutput, logPane, &LogPane::toolOutput);
    connect(events, &BuildEvents::toolFinished, logPane, &LogPane::toolFinished);
    connect(events, &BuildEvents::tablesRegenerated, this, &MainWindow::showRegeneratedTables);
    connect(events, &BuildEvents::createFinished, this, &MainWindow::finishCreate);
}

// After a save: the status bar tells the outcome in one line, the log keeps the details.
void MainWindow::showRegeneratedTables(const QStringList &variants,
    const QList<int> &functionCounts, const QStringList &failedVariants,
    const QString &compilerMessage)
{
    const RegeneratedTables tables { variants, functionCounts, failedVariants, compilerMessage };
    logPane->appendLine(LogText::tablesRegenerated(tables));
    if (failedVariants.isEmpty()) {
        statusBar()->showMessage(tr("udf_names.obj 已更新：%1 个函数").arg(functionCounts.value(0)),
            statusMessageTimeoutMs);
        return;
    }
    const QString firstLine = compilerMessage.trimmed().section('\n', 0, 0).trimmed();
    statusBar()->showMessage(tr("udf_names.obj 编译失败：%1")
                                 .arg(firstLine.isEmpty() ? failedVariants.join(", ") : firstLine),
        statusMessageTimeoutMs);
    if (!compilerMessage.trimmed().isEmpty())
        logPane->appendLine(compilerMessage.trimmed());
}
