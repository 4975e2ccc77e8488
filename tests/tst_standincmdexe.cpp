#include "batchreader.h"
#include "commandrunner.h"
#include "crtarguments.h"

#include "helpers/filetree.h"

#include <QtTest>

// The stand-in cmd.exe: its argument splitting and line reading directly, and the program itself on
// batch files written here, found through PATH by its bare name as the system starts it.
class tst_StandinCmdExe : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void crtSplitting_data();
    void crtSplitting();
    void batchReading_data();
    void batchReading();
    void operatorOutsideQuotes_data();
    void operatorOutsideQuotes();
    void compilesAfterVcvars_data();
    void compilesAfterVcvars();
    void codePage_data();
    void codePage();
    void batchRuns_data();
    void batchRuns();
    void exitStatusIsThatOfTheLastCommand_data();
    void exitStatusIsThatOfTheLastCommand();
    void unsupportedSyntaxIsRefused_data();
    void unsupportedSyntaxIsRefused();
    void unsupportedCommandLineIsRefused_data();
    void unsupportedCommandLineIsRefused();

private:
    struct Run {
        int status = -1;
        QByteArray out;
        QByteArray err;
    };
    Run runCmd(const QStringList &arguments, const QString &folder = QString(),
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
    Run runBatch(const QString &text, const QString &folder = QString());
    QString makeFile(const QString &relativePath, const QByteArray &content)
    {
        return filetree::make(tempDir->path(), relativePath, content);
    }

    QScopedPointer<QTemporaryDir> tempDir;
    QString vcvars;
};

static QByteArray crlf(const QString &text)
{
    return text.toUtf8().replace("\n", "\r\n");
}

// The first two bytes of a COFF object name its machine; 0x8664 is x64.
static bool isX64CoffObject(const QString &path)
{
    QFile object(path);
    return object.open(QIODevice::ReadOnly) && object.read(2) == QByteArray("\x64\x86", 2);
}

void tst_StandinCmdExe::initTestCase()
{
    qputenv("PATH", QByteArray(KESTRUNE_STANDINS_BIN) + ':' + qgetenv("PATH"));
    // cl must depend on the batch file's own vcvars call, not on the shell that runs the tests.
    qunsetenv("VSCMD_ARG_TGT_ARCH");
    vcvars = QStringLiteral(KESTRUNE_STANDIN_INSTALLATIONS)
        + "/Microsoft Visual Studio/2019/Community/VC/Auxiliary/Build/vcvars64.bat";
    QVERIFY2(QFileInfo(vcvars).isFile(), qPrintable(vcvars));
}

void tst_StandinCmdExe::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
}

tst_StandinCmdExe::Run tst_StandinCmdExe::runCmd(
    const QStringList &arguments, const QString &folder, const QProcessEnvironment &environment)
{
    Run run;
    QProcess cmd;
    cmd.setProcessEnvironment(environment);
    cmd.setWorkingDirectory(tempDir->path() + "/" + folder);
    cmd.start(QStringLiteral("cmd.exe"), arguments);
    if (!cmd.waitForFinished(20000) || cmd.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = cmd.exitCode();
    run.out = cmd.readAllStandardOutput();
    run.err = cmd.readAllStandardError();
    return run;
}

// Writes the text as a batch file (CR LF) in the given folder and runs "cmd.exe /c run.bat" there,
// as the system starts it.
tst_StandinCmdExe::Run tst_StandinCmdExe::runBatch(const QString &text, const QString &folder)
{
    makeFile(folder + "/run.bat", crlf(text));
    return runCmd({ "/c", "run.bat" }, folder);
}

// The Windows spelling of a host path, on drive Z: as Wine shows the host.
static QString onDriveZ(QString hostPath)
{
    return "Z:" + hostPath.replace('/', '\\');
}

void tst_StandinCmdExe::crtSplitting_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("blanks and tabs separate") << "a  b\tc" << QStringList { "a", "b", "c" };
    QTest::newRow("quotes group and vanish") << R"("a b" c)" << QStringList { "a b", "c" };
    QTest::newRow("quoted part inside an option")
        << R"(/I"C:/Program Files/inc" x)" << QStringList { "/IC:/Program Files/inc", "x" };
    QTest::newRow("escaped quote and lone backslash")
        << R"("ab\"c" "\\" d)" << QStringList { "ab\"c", "\\", "d" };
    QTest::newRow("backslashes before a letter stay")
        << R"(a\\\b d"e f"g h)" << QStringList { "a\\\\\\b", "de fg", "h" };
    QTest::newRow("odd backslashes before a quote")
        << R"(a\\\"b c d)" << QStringList { "a\\\"b", "c", "d" };
    QTest::newRow("doubled quote inside quotes") << R"(a"b"" c d)" << QStringList { "ab\" c d" };
    QTest::newRow("empty quoted argument") << R"(a "" b)" << QStringList { "a", "", "b" };
    QTest::newRow("folder with a final backslash")
        << R"("C:\dir\\" x)" << QStringList { "C:\\dir\\", "x" };
    QTest::newRow("unterminated quote runs to the end")
        << R"(x "a b)" << QStringList { "x", "a b" };
    QTest::newRow("only blanks") << " \t " << QStringList();
}

void tst_StandinCmdExe::crtSplitting()
{
    QFETCH(QString, commandLine);
    QFETCH(QStringList, arguments);
    QCOMPARE(splitCrtArguments(commandLine), arguments);
}

void tst_StandinCmdExe::batchReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QString>("error");
    QTest::newRow("caret continuation joins lines")
        << "cl /c ^\n/I\"a b\" ^\n\"x y.c\" /Fo\"x y.obj\"\n"
        << QStringList { "cl /c /I\"a b\" \"x y.c\" /Fo\"x y.obj\"" } << QString();
    QTest::newRow("caret inside quotes is literal")
        << "echo \"a^b ^\"\necho c\n"
        << QStringList { "echo \"a^b ^\"", "echo c" } << QString();
    QTest::newRow("caret escapes the next character") << "echo a^&b ^^\n"
                                                      << QStringList { "echo a&b ^" } << QString();
    QTest::newRow("first character after a continuation is literal")
        << "echo a^\n^b\n"
        << QStringList { "echo a^b" } << QString();
    QTest::newRow("line feeds without carriage returns")
        << "set A=1\nset B=2" << QStringList { "set A=1", "set B=2" } << QString();
    QTest::newRow("variables, any case, undefined ones vanish")
        << "echo %KESTRUNE_PROBE%|%kestrune_probe%|%KESTRUNE_UNDEFINED%|100%%\n"
        << QStringList { "echo v 1|v 1||100%" } << QString();
    QTest::newRow("lone percent sign is dropped") << "echo 50% off\n"
                                                  << QStringList { "echo 50 off" } << QString();
    QTest::newRow("parts of the batch file's path")
        << "echo %~dp0|%~nx0|%~f0|%~d0%~p0%~n0%~x0\n"
        << QStringList { R"(echo Z:\a b\|run.bat|Z:\a b\run.bat|Z:\a b\run.bat)" } << QString();
    QTest::newRow("batch parameter")
        << "echo ok\necho %1\n"
        << QStringList { "echo ok" } << "unsupported batch parameter %1";
    QTest::newRow("variable substitution")
        << "echo %PATH:a=b%\n"
        << QStringList() << "unsupported variable substitution %PATH:a=b%";
    QTest::newRow("empty line after a continuation")
        << "echo a^\n\necho b\n"
        << QStringList() << "unsupported empty line after a caret continuation";
}

void tst_StandinCmdExe::batchReading()
{
    QFETCH(QString, text);
    QFETCH(QStringList, commands);
    QFETCH(QString, error);
    QProcessEnvironment environment;
    environment.insert("KESTRUNE_PROBE", "v 1");
    BatchReader reader(QString::fromUtf8(crlf(text)), R"(Z:\a b\run.bat)");
    QStringList read;
    QString readError;
    BatchCommand command;
    while (!reader.atEnd() && reader.next(environment, command, readError))
        read << command.text;
    QCOMPARE(read, commands);
    QCOMPARE(readError, error);
}

void tst_StandinCmdExe::operatorOutsideQuotes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("found");
    QTest::newRow("inside quotes") << R"(cl "/Fo a&b.obj" "<x>|y")" << QString();
    QTest::newRow("escaped") << "echo a^>b" << QString();
    QTest::newRow("redirection") << "cl /c a.c > log.txt"
                                 << ">";
    QTest::newRow("first of several") << R"(echo "a" | b & c)"
                                      << "|";
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

void tst_StandinCmdExe::compilesAfterVcvars_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("plain") << "root/3ddp";
    QTest::newRow("chinese and blanks") << "用户 工程/流体 计算";
    QTest::newRow("every character cmd treats specially") << "a&b ^c %d !e (f) g;h 'i' $j #k";
}

// compileOBJ.bat as the system writes it: ASCII only, started in the variant folder, the paths
// in environment variables, the Visual Studio folder with backslashes and without a drive.
void tst_StandinCmdExe::compilesAfterVcvars()
{
    QFETCH(QString, folder);
    const QString dir = tempDir->path() + "/" + folder;
    makeFile(folder + "/include dir/probe.h", "#define PROBE_VALUE 42\n");
    makeFile(
        folder + "/udf_names.c", "#include \"probe.h\"\nint probe(void) { return PROBE_VALUE; }\n");
    makeFile(folder + "/compileOBJ.bat",
        crlf("@echo off\n"
             "pushd \"%KESTRUNE_VCVARS_DIR%\"\n"
             "call vcvars64.bat\n"
             "popd\n"
             "cl /DUDF_EXPORTING /c /MDd ^\n"
             "/I\"%KESTRUNE_INCLUDE_1%\" ^\n"
             "\"udf_names.c\" /Fo\"udf_names.obj\""));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KESTRUNE_VCVARS_DIR", onDriveZ(QFileInfo(vcvars).absolutePath()).mid(2));
    environment.insert("KESTRUNE_INCLUDE_1", dir + "/include dir");
    environment.insert("KESTRUNE_CL_LOG", tempDir->path() + "/cl.log");
    const Run run = runCmd({ "/c", "compileOBJ.bat" }, folder, environment);
    QVERIFY2(run.status == 0, run.err.constData());
    QVERIFY(isX64CoffObject(dir + "/udf_names.obj"));
    QCOMPARE(QString::fromUtf8(filetree::read(tempDir->path() + "/cl.log")),
        "cl 6\n/DUDF_EXPORTING\n/c\n/MDd\n/I" + dir
            + "/include dir\nudf_names.c\n/Foudf_names.obj\n");
}

void tst_StandinCmdExe::codePage_data()
{
    QTest::addColumn<QString>("codePage"); // KESTRUNE_CMD_CODEPAGE, unset when empty
    QTest::addColumn<QByteArray>("fileEncoding");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    const QString text = "inner\r\n中文\r\n";
    QTest::newRow("936 by default, GBK file")
        << QString() << QByteArray("GBK") << 0 << QByteArray(QStringEncoder("GBK").encode(text));
    // As on a Chinese Windows: the Chinese folder name is misread, its bytes echo back unchanged.
    QTest::newRow("936 by default, UTF-8 file")
        << QString() << QByteArray("UTF-8") << 1 << QByteArray("中文\r\n");
    QTest::newRow("65001, UTF-8 file") << "65001" << QByteArray("UTF-8") << 0 << text.toUtf8();
    QTest::newRow("unknown code page") << "4711" << QByteArray("UTF-8") << 255 << QByteArray();
}

// A call of a batch file in a Chinese folder, then Chinese text echoed.
void tst_StandinCmdExe::codePage()
{
    QFETCH(QString, codePage);
    QFETCH(QByteArray, fileEncoding);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    makeFile("目录/inner.bat", "@echo off\r\necho inner\r\n");
    makeFile("run.bat",
        QStringEncoder(fileEncoding.constData())
            .encode(QString("@echo off\r\ncall \"目录\\inner.bat\"\r\necho 中文\r\n")));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("KESTRUNE_CMD_CODEPAGE");
    if (!codePage.isEmpty())
        environment.insert("KESTRUNE_CMD_CODEPAGE", codePage);
    const Run run = runCmd({ "/c", "run.bat" }, QString(), environment);
    QCOMPARE(run.out, out);
    QCOMPARE(run.status, status);
}

void tst_StandinCmdExe::batchRuns_data()
{
    QTest::addColumn<QString>("text"); // @ROOT@: the test's folder, on the current drive
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // @Z@: the test's folder, on drive Z:
    QTest::addColumn<QByteArray>("err");
    const QByteArray noPath = "The system cannot find the path specified.\r\n";
    QTest::newRow("pushd and popd")
        << "pushd \"sub dir\"\necho %CD%\npopd\necho %CD%" << 0 << "@Z@\\sub dir\r\n@Z@\r\n"
        << QByteArray();
    QTest::newRow("pushd on the current drive, call found there")
        << "pushd \"@ROOT@\\sub dir\"\ncall inner.bat\necho %CD%" << 0
        << "inner\r\n@Z@\\sub dir\r\n"
        << QByteArray();
    QTest::newRow("cd /d relative to the batch file")
        << "cd /d \"%~dp0sub dir\"\necho %CD%" << 0 << "@Z@\\sub dir\r\n"
        << QByteArray();
    QTest::newRow("missing folder")
        << "pushd \"none\"\necho %ERRORLEVEL% %CD%\npopd\necho %CD%" << 1 << "1 @Z@\r\n@Z@\r\n"
        << noPath;
    QTest::newRow("variables and calls")
        << "set \"GREETING=hello world\" ignored\nset greeting2=%Greeting%!  \n"
           "call \"sub dir/inner.bat\"\necho [%GREETING2%] %inner%\nset INNER=\necho [%INNER%]"
        << 0 << "inner\r\n[hello world!  ] from inner\r\n[]\r\n"
        << QByteArray();
    QTest::newRow("missing vcvars call leaves cl unavailable")
        << "call \"@ROOT@/no such/vcvars64.bat\"\ncl /c \"@ROOT@/a.c\" /Fo\"@ROOT@/a.obj\"\n"
           "echo %ERRORLEVEL%"
        << (9009 & 0xff) // all that a POSIX exit status can carry
        << "9009\r\n"
        << noPath
            + "'cl' is not recognized as an internal or external command,\r\n"
              "operable program or batch file.\r\n";
}

void tst_StandinCmdExe::batchRuns()
{
    QFETCH(QString, text);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QByteArray, err);
    makeFile("sub dir/inner.bat", "@echo off\r\necho inner\r\nset INNER=from inner\r\n");
    makeFile("a.c", "int a(void) { return 1; }\n");
    const QString z = onDriveZ(tempDir->path());
    const Run run = runBatch("@echo off\n" + text.replace("@ROOT@", z.mid(2)));
    QCOMPARE(run.err, err);
    QCOMPARE(QString::fromUtf8(run.out), out.replace("@Z@", z));
    QCOMPARE(run.status, status);
    QVERIFY(!QFile::exists(tempDir->path() + "/a.obj"));
}

void tst_StandinCmdExe::exitStatusIsThatOfTheLastCommand_data()
{
    QTest::addColumn<QString>("commands");
    QTest::addColumn<int>("status");
    QTest::newRow("empty batch") << "" << 0;
    QTest::newRow("compile error, then success") << "cl /c bad.c\ncl /c good.c" << 0;
    QTest::newRow("success, then compile error") << "cl /c good.c\ncl /c bad.c" << 2;
    QTest::newRow("missing source") << "cl /c missing.c" << 2;
    QTest::newRow("success, then missing call") << "cl /c good.c\ncall missing.bat" << 1;
    // In a .bat file, set, echo and rem leave the error level alone.
    QTest::newRow("set after a compile error") << "cl /c bad.c\nset X=1\necho done\nrem" << 2;
}

void tst_StandinCmdExe::exitStatusIsThatOfTheLastCommand()
{
    QFETCH(QString, commands);
    QFETCH(int, status);
    makeFile("good.c", "int good(void) { return 0; }\n");
    makeFile("bad.c", "int bad(void) { return }\n");
    const Run run = runBatch(QString("@echo off\ncall \"%1\"\n").arg(vcvars) + commands);
    QCOMPARE(run.status, status);
}

void tst_StandinCmdExe::unsupportedSyntaxIsRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("commands echoed") << "set X=1";
    QTest::newRow("echo turned on") << "@echo off\necho on\nset X=1";
    QTest::newRow("command separator") << "@echo off\necho a & echo b";
    QTest::newRow("if") << "@echo off\nif exist a.c echo yes";
    QTest::newRow("goto") << "@echo off\ngoto end\n:end";
    QTest::newRow("for") << "@echo off\nfor %%f in (*.c) do echo %%f";
    QTest::newRow("other program") << "@echo off\nlink /dll a.obj";
    QTest::newRow("set switch") << "@echo off\nset /a X=1+1";
    QTest::newRow("listing variables") << "@echo off\nset PATH";
    QTest::newRow("call with arguments") << "@echo off\ncall run.bat one";
    QTest::newRow("call of a label") << "@echo off\ncall :sub";
    QTest::newRow("runaway recursion") << "@echo off\ncall run.bat";
    QTest::newRow("batch parameter") << "@echo off\necho %~dp1";
    QTest::newRow("other drive") << "@echo off\ncd /d \"C:\\Program Files\"";
    QTest::newRow("pushd without a folder") << "@echo off\npushd";
    QTest::newRow("response file") << "@echo off\nset VSCMD_ARG_TGT_ARCH=x64\ncl @args.rsp";
    QTest::newRow("other target architecture")
        << "@echo off\nset VSCMD_ARG_TGT_ARCH=x86\ncl /c a.c";
}

// A refusal stops the batch file at once: nothing after it runs.
void tst_StandinCmdExe::unsupportedSyntaxIsRefused()
{
    QFETCH(QString, text);
    const QString batch = makeFile("run.bat", crlf(text + "\n@echo after"));
    const Run run = runCmd({ "/c", batch });
    QCOMPARE(run.status, CommandRunner::refusedStatus);
    QVERIFY2(run.err.startsWith("cmd.exe stand-in: unsupported "), run.err.constData());
    QVERIFY2(!run.out.contains("after"), run.out.constData());
}

void tst_StandinCmdExe::unsupportedCommandLineIsRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("message");
    const QByteArray unsupported = "cmd.exe stand-in: unsupported ";
    QTest::newRow("no arguments") << QStringList() << 255 << unsupported;
    QTest::newRow("other switch") << QStringList { "/k", "run.bat" } << 255 << unsupported;
    QTest::newRow("extra argument") << QStringList { "/c", "run.bat", "x" } << 255 << unsupported;
    QTest::newRow("not a batch file") << QStringList { "/c", "run.exe" } << 255 << unsupported;
    QTest::newRow("missing batch file") << QStringList { "/C",
        "gone.bat" } << 1 << QByteArray("The system cannot find the path specified.\r\n");
}

void tst_StandinCmdExe::unsupportedCommandLineIsRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, message);
    makeFile("run.bat", "@echo off\r\necho ran\r\n");
    const Run run = runCmd(arguments);
    QCOMPARE(run.status, status);
    QVERIFY2(run.err.startsWith(message), run.err.constData());
    QCOMPARE(run.out, QByteArray());
}

QTEST_GUILESS_MAIN(tst_StandinCmdExe)
#include "tst_standincmdexe.moc"
