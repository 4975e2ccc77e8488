#include "logpane.h"

#include "logtext.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// Enough for any build; the oldest lines go first when many tools print a lot.
const int maximumLines = 50000;

} // namespace

LogPane::LogPane(QWidget *parent)
    : QWidget(parent), toggle(new QToolButton(this)), view(new QPlainTextEdit(this))
{
    setObjectName("logPane");
    toggle->setObjectName("btnToggleLog");
    toggle->setCheckable(true);
    toggle->setAutoRaise(true);
    toggle->setText(tr("▸ 日志"));
    // No taller than a line of the status bar, so that the form keeps its room.
    toggle->setMaximumHeight(toggle->fontMetrics().height() + 4);
    connect(toggle, &QToolButton::toggled, this, [this](bool open) {
        toggle->setText(open ? tr("▾ 日志") : tr("▸ 日志"));
        setVisible(open);
        emit openChanged(open);
    });

    view->setObjectName("logView");
    view->setReadOnly(true);
    view->setMaximumBlockCount(maximumLines);
    auto *copyButton = new QPushButton(tr("复制"), this);
    copyButton->setObjectName("btnCopyLog");
    connect(copyButton, &QPushButton::clicked, this, &LogPane::copyLog);
    auto *saveButton = new QPushButton(tr("保存…"), this);
    saveButton->setObjectName("btnSaveLog");
    connect(saveButton, &QPushButton::clicked, this, &LogPane::saveLog);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(copyButton);
    buttons->addWidget(saveButton);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    layout->addLayout(buttons);
    setFixedHeight(openHeight);
    setVisible(false);

    flushTimer.setSingleShot(true);
    flushTimer.setInterval(0);
    connect(&flushTimer, &QTimer::timeout, this, &LogPane::flush);
}

bool LogPane::isOpen() const
{
    return toggle->isChecked();
}

void LogPane::setOpen(bool open)
{
    toggle->setChecked(open);
}

void LogPane::startRun(const QString &title)
{
    toolStart = QTextCursor();
    failure = QTextCursor();
    appendLine(LogText::runTitle(title));
}

void LogPane::appendLine(const QString &line)
{
    if (!pendingEndsLine)
        append("\n");
    append(line + "\n");
}

void LogPane::append(const QString &text)
{
    if (text.isEmpty())
        return;
    pending += text;
    pendingEndsLine = text.endsWith('\n');
    if (!flushTimer.isActive())
        flushTimer.start();
}

// One insertion per turn of the event loop, however many pieces arrived; a view scrolled to the
// end follows the new text, one scrolled up by the user stays where it is.
void LogPane::flush()
{
    flushTimer.stop();
    if (pending.isEmpty())
        return;
    QScrollBar *scrollBar = view->verticalScrollBar();
    const bool followEnd = scrollBar->value() == scrollBar->maximum();
    endOfLog().insertText(pending);
    pending.clear();
    if (followEnd)
        scrollBar->setValue(scrollBar->maximum());
}

// Every line is written with its line break, so after a flush the block before the last is the
// line just written.
QTextCursor LogPane::endOfLog()
{
    QTextCursor cursor(view->document());
    cursor.movePosition(QTextCursor::End);
    return cursor;
}

// The first failure of a run is the one to show; what fails after it mostly follows from it.
void LogPane::rememberFailure(const QTextCursor &where)
{
    if (failure.isNull())
        failure = where;
}

void LogPane::showFailure()
{
    flush();
    setOpen(true);
    // The view has its height only once the window has laid it out again.
    QTimer::singleShot(0, this, [this] {
        QScrollBar *scrollBar = view->verticalScrollBar();
        if (failure.isNull()) {
            scrollBar->setValue(scrollBar->maximum());
            return;
        }
        view->setTextCursor(failure);
        scrollBar->setValue(failure.block().firstLineNumber());
    });
}

void LogPane::stepStarted(BuildEvents::Step step, const QString &variant)
{
    appendLine(LogText::stepStarted(step, variant));
}

void LogPane::stepFinished(
    BuildEvents::Step step, const QString &variant, bool succeeded, qint64 milliseconds)
{
    appendLine(LogText::stepFinished(step, variant, succeeded, milliseconds));
    if (succeeded)
        return;
    flush();
    QTextCursor line = endOfLog();
    line.movePosition(QTextCursor::PreviousBlock);
    rememberFailure(line);
}

void LogPane::toolStarted(const QString &commandLine)
{
    appendLine(LogText::toolStarted(commandLine));
    toolOutputKept.clear();
    flush();
    toolStart = endOfLog();
    toolStart.movePosition(QTextCursor::PreviousBlock);
}

void LogPane::toolOutput(const QString &text)
{
    append(toolOutputKept.append(text).toString());
}

// The tail held back, after a line that says how much was left out before it.
void LogPane::endToolOutput()
{
    const QString tail = toolOutputKept.tail();
    if (toolOutputKept.cut() > 0)
        appendLine(LogText::outputCut(toolOutputKept.cut()));
    append(tail);
    toolOutputKept.clear();
}

void LogPane::toolFinished(
    const QString &, ToolRun::Status status, int exitCode, qint64 milliseconds)
{
    endToolOutput();
    appendLine(LogText::toolFinished(status, exitCode, milliseconds));
    if (LogText::toolFailed(status, exitCode) && !toolStart.isNull())
        rememberFailure(toolStart);
}

void LogPane::copyLog()
{
    flush();
    QGuiApplication::clipboard()->setText(view->toPlainText());
}

// CR LF, so that Notepad on the users' machines shows the lines.
void LogPane::saveLog()
{
    flush();
    const QString path = QFileDialog::getSaveFileName(
        this, tr("保存日志"), "kestrune-log.txt", tr("文本文件 (*.txt)"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    const QString text = view->toPlainText() + "\n";
    if (!file.open(QIODevice::WriteOnly)
        || file.write(QString(text).replace('\n', "\r\n").toUtf8()) < 0 || !file.commit())
        QMessageBox::warning(
            window(), tr("警告"), tr("日志保存失败！！！"), QMessageBox::Ok, QMessageBox::NoButton);
}
