#include "logpane.h"
#include "logtext.h"
#include "toolrunner.h"

#include <QPlainTextEdit>
#include <QtTest>

// A tool that prints without end costs a bounded amount of memory: the run's result and the
// window's log keep the head and the tail of what it printed and say how much they cut.
class tst_ToolOutput : public QObject {
    Q_OBJECT

private slots:
    void headAndTailAreKept_data();
    void headAndTailAreKept();
};

void tst_ToolOutput::headAndTailAreKept_data()
{
    QTest::addColumn<int>("megabytes");
    QTest::addColumn<bool>("cut");
    QTest::newRow("two lines") << 0 << false;
    QTest::newRow("100 MB") << 100 << true;
}

void tst_ToolOutput::headAndTailAreKept()
{
    QFETCH(int, megabytes);
    QFETCH(bool, cut);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const int limit = 100000;
    LogPane pane;
    ToolRunner tools;
    tools.setOutputLimit(limit);
    ToolRunner::Listener listener;
    listener.started = [&](const ToolRun &run) { pane.toolStarted(run.commandLine()); };
    listener.output = [&](const QString &text) { pane.toolOutput(text); };
    listener.finished = [&](const ToolRun &run) {
        pane.toolFinished(run.commandLine(), run.status, run.exitCode, run.milliseconds);
    };
    tools.setListener(listener);

    const ToolRun run = tools.run(KESTRUNE_FLOODING_TOOL, { QString::number(megabytes) },
        { dir.path(), {}, ToolRunner::Encoding::Utf8 });
    QVERIFY(run.succeeded());
    QVERIFY(run.output.startsWith("first line\n"));
    QVERIFY(run.output.endsWith("\nlast line\n"));
    const QString marker = QStringLiteral("\n[... %1 characters cut ...]\n").arg(run.outputCut);
    QCOMPARE(run.output.contains(marker), cut);
    QCOMPARE(run.output.size() == 2 * limit + marker.size(), cut);
    const qint64 printed = run.output.size() + run.outputCut - (cut ? marker.size() : 0);
    QVERIFY(printed >= megabytes * 1024 * 1024);

    pane.flush();
    const QString log = pane.findChild<QPlainTextEdit *>("logView")->toPlainText();
    QVERIFY(log.size() < 3 * LogPane::toolOutputLimit);
    QVERIFY(log.contains("\nfirst line\n"));
    QVERIFY(log.contains(
        "\nlast line\n" + LogText::toolFinished(ToolRun::Status::Finished, 0, run.milliseconds)));
    const QString cutLine = LogText::outputCut(printed - 2 * LogPane::toolOutputLimit);
    QCOMPARE(log.contains("\n" + cutLine + "\n"), cut);
}

QTEST_MAIN(tst_ToolOutput)
#include "tst_tooloutput.moc"
