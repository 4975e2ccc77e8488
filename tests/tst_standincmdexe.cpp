#include "batchreader.h"
#include "commandrunner.h"

#include "helpers/filetree.h"

#include <QtTest>

// The stand-in cmd.exe: the operators its line reader finds outside quotes, and its refusals of
// what it does not implement. What it does with the batch files it does run (carets, quotes,
// percent signs, the arguments cl gets) is compared with Wine's cmd in tst_cmddifferential.
class tst_StandinCmdExe : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void operatorOutsideQuotes_data();
    void operatorOutsideQuotes();
    void unsupportedSyntaxIsRefused_data();
    void unsupportedSyntaxIsRefused();
};

static QByteArray crlf(const QString &text)
{
    return text.toUtf8().replace("\n", "\r\n");
}

void tst_StandinCmdExe::initTestCase()
{
    qputenv("PATH", QByteArray(KESTRUNE_STANDINS_BIN) + ':' + qgetenv("PATH"));
    // cl must depend on the batch file's own vcvars call, not on the shell that runs the tests.
    qunsetenv("VSCMD_ARG_TGT_ARCH");
}

void tst_StandinCmdExe::operatorOutsideQuotes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("found");
    QTest::newRow("inside quotes") << R"(cl "/Fo a&b.obj" "<x>|y")" << QString();
    QTest::newRow("redirection") << "cl /c a.c > log.txt"
                                 << ">";
    QTest::newRow("from a variable") << "echo %KESTRUNE_PROBE%"
                                     << "&";
    // After a caret continuation an opening quote is literal for cmd, so what it encloses is not
    // quoted: a build path holding "&" breaks the compiler line of a generated batch file.
    QTest::newRow("quote right after a continuation") << "cl /c ^\n\"R&D/a.c\""
                                                      << "&";
}

void tst_StandinCmdExe::operatorOutsideQuotes()
{
    QFETCH(QString, text);
    QFETCH(QString, found);
    QProcessEnvironment environment;
    environment.insert("KESTRUNE_PROBE", "a&b");
    BatchReader reader(QString::fromUtf8(crlf(text)), R"(Z:\run.bat)");
    BatchCommand command;
    QString error;
    QVERIFY(reader.next(environment, command, error));
    QCOMPARE(
        command.operatorOutsideQuotes.isNull() ? QString() : QString(command.operatorOutsideQuotes),
        found);
}

void tst_StandinCmdExe::unsupportedSyntaxIsRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("commands echoed") << "set X=1";
    QTest::newRow("command separator") << "@echo off\necho a & echo b";
    QTest::newRow("if") << "@echo off\nif exist a.c echo yes";
    QTest::newRow("for") << "@echo off\nfor %%f in (*.c) do echo %%f";
    QTest::newRow("other program") << "@echo off\nlink /dll a.obj";
    QTest::newRow("call with arguments") << "@echo off\ncall run.bat one";
    QTest::newRow("runaway recursion") << "@echo off\ncall run.bat";
    QTest::newRow("other drive") << "@echo off\ncd /d \"C:\\Program Files\"";
    QTest::newRow("response file") << "@echo off\nset VSCMD_ARG_TGT_ARCH=x64\ncl @args.rsp";
    QTest::newRow("other target architecture")
        << "@echo off\nset VSCMD_ARG_TGT_ARCH=x86\ncl /c a.c";
}

// A refusal stops the batch file at once: nothing after it runs.
void tst_StandinCmdExe::unsupportedSyntaxIsRefused()
{
    QFETCH(QString, text);
    QTemporaryDir dir;
    filetree::make(dir.path(), "run.bat", crlf(text + "\n@echo after"));
    QProcess cmd;
    cmd.setWorkingDirectory(dir.path());
    cmd.start("cmd.exe", { "/c", "run.bat" });
    QVERIFY(cmd.waitForFinished(20000));
    QCOMPARE(cmd.exitCode(), CommandRunner::refusedStatus);
    const QByteArray err = cmd.readAllStandardError();
    QVERIFY2(err.startsWith("cmd.exe stand-in: unsupported "), err.constData());
    QVERIFY(!cmd.readAllStandardOutput().contains("after"));
}

QTEST_GUILESS_MAIN(tst_StandinCmdExe)
#include "tst_standincmdexe.moc"
