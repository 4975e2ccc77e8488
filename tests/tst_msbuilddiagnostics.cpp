#include "msbuilddiagnostics.h"

#include <QStringDecoder>
#include <QtTest>

// MSBuild's diagnostic lines as the build prints them, read into the rows the window lists.
class tst_MSBuildDiagnostics : public QObject {
    Q_OBJECT

private slots:
    void init();
    void readsDiagnosticLines_data();
    void readsDiagnosticLines();
    void leavesOtherLines_data();
    void leavesOtherLines();
    void listsEachDiagnosticOnce_data();
    void listsEachDiagnosticOnce();

private:
    QScopedPointer<QTemporaryDir> tempDir;
};

// What the tool runner makes of cl's output on a Chinese Windows, console code page 936.
static QString fromCodePage936(const QByteArray &bytes)
{
    QStringDecoder decoder("GB18030");
    return decoder(bytes);
}

static const QString hostProject
    = QStringLiteral("C:\\p\\buildByVarnholt\\solution\\3ddp_host\\3ddp_host.vcxproj");
static const QString nodeProject
    = QStringLiteral("C:\\p\\buildByVarnholt\\solution\\3ddp_node\\3ddp_node.vcxproj");

void tst_MSBuildDiagnostics::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
}

// Each row: the line, then what is read from it as
// "severity|file|tool|line,column|code|text|variant", with @SRC@ for the build root's source
// folder.
void tst_MSBuildDiagnostics::readsDiagnosticLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("read");
    const QString host = " [" + hostProject + "]";
    const QString node = " [" + nodeProject + "]";
    QTest::newRow("cl error, line and column")
        << "@SRC@a.c(12,5): error C2065: 'x': undeclared identifier" + host
        << "error|@SRC@a.c||12,5|C2065|'x': undeclared identifier|3ddp_host";
    QTest::newRow("cl warning, line only")
        << "@SRC@b.c(7): warning C4244: '=': conversion from 'double' to 'float'" + node
        << "warning|@SRC@b.c||7,0|C4244|'=': conversion from 'double' to 'float'|3ddp_node";
    QTest::newRow("four-number position, \"error\" in the text")
        << "@SRC@c.c(3,1,3,9): error C2143: syntax error: missing ';' [C:\\p\\2d.vcxproj]"
        << "error|@SRC@c.c||3,1|C2143|syntax error: missing ';'|2d";
    QTest::newRow("line range") << "@SRC@d.c(12-14): warning C4700: variable 'n' used"
                                << "warning|@SRC@d.c||12,0|C4700|variable 'n' used|";
    QTest::newRow("LINK fatal error")
        << "LINK : fatal error LNK1104: cannot open file 'C:\\p\\libudf.dll'" + host
        << "error||LINK|0,0|LNK1104|cannot open file 'C:\\p\\libudf.dll'|3ddp_host";
    QTest::newRow("MSBUILD, no project")
        << "MSBUILD : error MSB1009: Project file does not exist."
        << "error||MSBUILD|0,0|MSB1009|Project file does not exist.|";
    QTest::newRow("cl command line warning")
        << "cl : Command line warning D9002: ignoring unknown option '/Za' [C:\\p\\3ddp.vcxproj]"
        << "warning||cl|0,0|D9002|ignoring unknown option '/Za'|3ddp";
    QTest::newRow("Chinese text, code page 936")
        << "@SRC@drag_law.c(9,12): error C2065: "
            + fromCodePage936("\xa1\xb0\x52\x65\xa1\xb1\x3a\x20\xce\xb4\xc9\xf9\xc3\xf7\xb5\xc4\xb1"
                              "\xea\xca\xb6\xb7\xfb")
            + node
        << QStringLiteral("error|@SRC@drag_law.c||9,12|C2065|“Re”: 未声明的标识符|3ddp_node");
    QTest::newRow("blanks and parentheses in folder names")
        << "C:\\Program Files (x86)\\工程 (2)\\src\\a (1).c(12,5): error C2065: 'x': undeclared "
           "identifier [C:\\Program Files (x86)\\工程 (2)\\solution\\3ddp_host\\3ddp_host.vcxproj]"
        << "error|C:\\Program Files (x86)\\工程 (2)\\src\\a (1).c||12,5|C2065|'x': undeclared "
           "identifier|3ddp_host";
    QTest::newRow("project number of a parallel build, CR LF")
        << "  2>@SRC@a.c(4,1): warning C4101: 'n': unreferenced local variable" + host + "\r"
        << "warning|@SRC@a.c||4,1|C4101|'n': unreferenced local variable|3ddp_host";
    QTest::newRow("clang-cl without code, host path")
        << "/tmp/p q/src/a.c(12,5): error: use of undeclared identifier 'x'"
        << "error|/tmp/p q/src/a.c||12,5||use of undeclared identifier 'x'|";
    QTest::newRow("clang's option bracket stays in the text")
        << "/tmp/a.c(3,9): warning C4101: unused variable 'n' [-Wunused-variable] "
           "[/tmp/solution/3ddp/3ddp.vcxproj]"
        << "warning|/tmp/a.c||3,9|C4101|unused variable 'n' [-Wunused-variable]|3ddp";
    QTest::newRow("project file as origin")
        << "3ddp_host.vcxproj : error MSB8066: Custom build exited with code 1." + host
        << "error|3ddp_host.vcxproj||0,0|MSB8066|Custom build exited with code 1.|3ddp_host";
    QTest::newRow("no origin") << "error : the stand-in devenv builds for x64 only"
                               << "error|||0,0||the stand-in devenv builds for x64 only|";
}

void tst_MSBuildDiagnostics::readsDiagnosticLines()
{
    QFETCH(QString, line);
    QFETCH(QString, read);
    const QString src = QStringLiteral("C:\\p\\buildByVarnholt\\src\\");
    line.replace("@SRC@", src);
    BuildDiagnostic found;
    QVERIFY(MSBuildDiagnostics::parseLine(line, found));
    const QString severity
        = found.severity == BuildDiagnostic::Severity::Error ? "error" : "warning";
    QCOMPARE(QStringList({ severity, found.file, found.tool,
                             QStringLiteral("%1,%2").arg(found.line).arg(found.column), found.code,
                             found.text, found.variant })
                 .join('|'),
        read.replace("@SRC@", src));
    // Printed as the compiler wrote it, whatever the build put before it.
    QVERIFY(line.contains(found.printedLine));
    QVERIFY(!found.printedLine.startsWith(' ') && !found.printedLine.endsWith('\r'));
    QCOMPARE(found.project.isEmpty(), found.variant.isEmpty());
}

void tst_MSBuildDiagnostics::leavesOtherLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("build succeeded") << "Build succeeded.";
    QTest::newRow("build failed") << "Build FAILED.";
    QTest::newRow("error count") << "    1 Error(s)";
    QTest::newRow("warning count") << "    0 Warning(s)";
    QTest::newRow("source being compiled") << "  drag_law.c";
    QTest::newRow("clang's error count") << "1 error generated.";
    QTest::newRow("project done")
        << "  3ddp_host.vcxproj -> C:\\p\\solution\\Debug\\libudf\\win64\\3ddp_host\\libudf.dll";
    QTest::newRow("summary heading")
        << "\"C:\\p\\solution\\FLUENTUDF.sln\" (default target) (1) ->";
    QTest::newRow("quoted source with error in a string")
        << "    if (status) Message(\"error: %d\\n\", status);";
    QTest::newRow("quoted source with a case label") << "    case error: return 1;";
    QTest::newRow("note") << "C:\\p\\src\\a.c(3): note: see declaration of 'x'";
    QTest::newRow("empty") << "";
}

void tst_MSBuildDiagnostics::leavesOtherLines()
{
    QFETCH(QString, line);
    BuildDiagnostic diagnostic;
    diagnostic.code = QStringLiteral("untouched");
    QVERIFY(!MSBuildDiagnostics::parseLine(line, diagnostic));
    QCOMPARE(diagnostic.code, QStringLiteral("untouched"));
}

void tst_MSBuildDiagnostics::listsEachDiagnosticOnce_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QStringList>("printed");
    const QString error
        = "C:\\p\\src\\a.c(12,5): error C2065: 'x': undeclared identifier [" + hostProject + "]";
    const QString nodeError
        = "C:\\p\\src\\a.c(12,5): error C2065: 'x': undeclared identifier [" + nodeProject + "]";
    const QString warning = "C:\\p\\src\\b.c(7): warning C4101: 'n': unreferenced local variable ["
        + hostProject + "]";
    const QString link
        = "LINK : fatal error LNK1104: cannot open file 'libudf.dll' [" + nodeProject + "]";
    QTest::newRow("summary repeats them") << QStringList { "  a.c", warning, error, "  b.c", link,
        "", "Build FAILED.", "", "\"C:\\p\\solution\\FLUENTUDF.sln\" (default target) (1) ->",
        "\"" + hostProject + "\" (default target) (2) ->", "(ClCompile target) ->", "  " + warning,
        "", "", "  " + error, "  " + link, "", "    1 Warning(s)", "    2 Error(s)" }
                                                 .join("\r\n")
                                          << QStringList { warning, error, link };
    QTest::newRow("host and node apart") << QStringList { "1>" + error, "2>" + nodeError }.join(
        "\n") << QStringList { error, nodeError };
    QTest::newRow("nothing") << "Build succeeded.\n    0 Warning(s)\n    0 Error(s)\n"
                             << QStringList();
}

void tst_MSBuildDiagnostics::listsEachDiagnosticOnce()
{
    QFETCH(QString, output);
    QStringList printed;
    for (const BuildDiagnostic &diagnostic : MSBuildDiagnostics::parse(output))
        printed << diagnostic.printedLine;
    QTEST(printed, "printed");
}

QTEST_GUILESS_MAIN(tst_MSBuildDiagnostics)
#include "tst_msbuilddiagnostics.moc"
