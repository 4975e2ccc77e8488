#ifndef LOGPANE_H
#define LOGPANE_H

#include "buildevents.h"
#include "headandtail.h"

#include <QTextCursor>
#include <QTimer>
#include <QWidget>

class QPlainTextEdit;
class QToolButton;

// The log of the tools a create runs: each step with its duration, each command line, everything
// the tool printed and how it ended. It is fed from the engine's events and stays cheap when a tool
// prints thousands of lines: what arrives between two turns of the event loop is appended at once.
// Of a tool that prints without end it keeps the head and the tail, and says how much it cut.
class LogPane : public QWidget {
    Q_OBJECT

public:
    explicit LogPane(QWidget *parent = nullptr);

    // The button that opens and closes the pane; it lives wherever the window puts it.
    QToolButton *toggleButton() const { return toggle; }
    bool isOpen() const;
    void setOpen(bool open);
    // The height the pane adds to the window while it is open.
    static constexpr int openHeight = 200;
    // Of one tool's output the log keeps this many characters at the head and as many at the
    // tail: inserting megabytes into the view would stall the window for seconds.
    static constexpr qsizetype toolOutputLimit = 64 * 1024;

    void startRun(const QString &title);
    void appendLine(const QString &line);
    // Opens the pane with the first failing tool (or step) of the last run at the top.
    void showFailure();

public slots:
    void stepStarted(BuildEvents::Step step, const QString &variant);
    void stepFinished(
        BuildEvents::Step step, const QString &variant, bool succeeded, qint64 milliseconds);
    void toolStarted(const QString &commandLine);
    void toolOutput(const QString &text);
    void toolFinished(
        const QString &commandLine, ToolRun::Status status, int exitCode, qint64 milliseconds);
    void flush();

signals:
    void openChanged(bool open);

private:
    void append(const QString &text);
    void endToolOutput();
    QTextCursor endOfLog();
    void rememberFailure(const QTextCursor &where);
    void copyLog();
    void saveLog();

    QToolButton *toggle;
    QPlainTextEdit *view;
    QString pending;
    bool pendingEndsLine = true;
    QTimer flushTimer;
    // Start of the running tool's command line, and of the first failure of the run.
    QTextCursor toolStart;
    QTextCursor failure;
    // The running tool's output: its head goes to the log as it comes, its tail is held back
    // until it ends.
    HeadAndTail toolOutputKept { toolOutputLimit };
};

#endif // LOGPANE_H
