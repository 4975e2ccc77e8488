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

using Severity = BuildDiagnostic::Severity;
Q_DECLARE_METATYPE(BuildDiagnostic::Severity)

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

void tst_MSBuildDiagnostics::readsDiagnosticLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<Severity>("severity");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("tool");
    QTest::addColumn<int>("lineNumber");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("variant");

    const QString src = QStringLiteral("C:\\p\\buildByVarnholt\\src\\");
    QTest::newRow("cl error, line and column")
        << src + "a.c(12,5): error C2065: 'x': undeclared identifier [" + hostProject + "]"
        << Severity::Error << src + "a.c"
        << "" << 12 << 5 << "C2065"
        << "'x': undeclared identifier"
        << "3ddp_host";
    QTest::newRow("cl warning, line only")
        << src
            + "b.c(7): warning C4244: '=': conversion from 'double' to 'float', possible loss "
              "of data ["
            + nodeProject + "]"
        << Severity::Warning << src + "b.c"
        << "" << 7 << 0 << "C4244"
        << "'=': conversion from 'double' to 'float', possible loss of data"
        << "3ddp_node";
    QTest::newRow("four-number position, \"error\" in the text")
        << src
            + "c.c(3,1,3,9): error C2143: syntax error: missing ';' before '}' [C:\\p\\2d.vcxproj]"
        << Severity::Error << src + "c.c"
        << "" << 3 << 1 << "C2143"
        << "syntax error: missing ';' before '}'"
        << "2d";
    QTest::newRow("line range") << src
            + "d.c(12-14): warning C4700: uninitialized local variable 'n' used"
                                << Severity::Warning << src + "d.c"
                                << "" << 12 << 0 << "C4700"
                                << "uninitialized local variable 'n' used"
                                << "";
    QTest::newRow("LINK fatal error")
        << "LINK : fatal error LNK1104: cannot open file "
           "'C:\\p\\buildByVarnholt\\solution\\Debug\\libudf\\win64\\3ddp_host\\libudf.dll' ["
            + hostProject + "]"
        << Severity::Error << ""
        << "LINK" << 0 << 0 << "LNK1104"
        << "cannot open file "
           "'C:\\p\\buildByVarnholt\\solution\\Debug\\libudf\\win64\\3ddp_host\\libudf.dll'"
        << "3ddp_host";
    QTest::newRow("MSBUILD, no project")
        << "MSBUILD : error MSB1009: Project file does not exist." << Severity::Error << ""
        << "MSBUILD" << 0 << 0 << "MSB1009"
        << "Project file does not exist."
        << "";
    QTest::newRow("cl command line warning")
        << "cl : Command line warning D9002: ignoring unknown option '/Za' [C:\\p\\3ddp.vcxproj]"
        << Severity::Warning << ""
        << "cl" << 0 << 0 << "D9002"
        << "ignoring unknown option '/Za'"
        << "3ddp";
    QTest::newRow("compiler fatal error")
        << src
            + "a.c(1,10): fatal error C1083: Cannot open include file: 'udf.h': No such file "
              "or directory ["
            + hostProject + "]"
        << Severity::Error << src + "a.c"
        << "" << 1 << 10 << "C1083"
        << "Cannot open include file: 'udf.h': No such file or directory"
        << "3ddp_host";
    QTest::newRow("Chinese text, code page 936")
        << src + "drag_law.c(9,12): error C2065: "
            + fromCodePage936("\xa1\xb0\x52\x65\xa1\xb1\x3a\x20\xce\xb4\xc9\xf9\xc3\xf7\xb5\xc4\xb1"
                              "\xea\xca\xb6\xb7\xfb")
            + " [" + nodeProject + "]"
        << Severity::Error << src + "drag_law.c"
        << "" << 9 << 12 << "C2065" << QStringLiteral("“Re”: 未声明的标识符") << "3ddp_node";
    QTest::newRow("Chinese LINK text")
        << "LINK : fatal error LNK1104: "
            + fromCodePage936("\xce\xde\xb7\xa8\xb4\xf2\xbf\xaa\xce\xc4\xbc\xfe\xa1\xb0\x6c\x69\x62"
                              "\x75\x64\x66\x2e\x64\x6c\x6c\xa1\xb1")
        << Severity::Error << ""
        << "LINK" << 0 << 0 << "LNK1104" << QStringLiteral("无法打开文件“libudf.dll”") << "";
    const QString odd = QStringLiteral("C:\\Program Files (x86)\\工程 (2)\\buildByVarnholt\\");
    QTest::newRow("blanks and parentheses in folder names")
        << odd + "src\\a (1).c(12,5): error C2065: 'x': undeclared identifier [" + odd
            + "solution\\3ddp_host\\3ddp_host.vcxproj]"
        << Severity::Error << odd + "src\\a (1).c"
        << "" << 12 << 5 << "C2065"
        << "'x': undeclared identifier"
        << "3ddp_host";
    QTest::newRow("project number of a parallel build") << "  2>" + src
            + "a.c(4,1): warning C4101: 'n': unreferenced local variable [C:\\p\\3ddp.vcxproj]"
                                                        << Severity::Warning << src + "a.c"
                                                        << "" << 4 << 1 << "C4101"
                                                        << "'n': unreferenced local variable"
                                                        << "3ddp";
    QTest::newRow("clang-cl without code, host path")
        << "/tmp/p q/src/a.c(12,5): error: use of undeclared identifier 'x'" << Severity::Error
        << "/tmp/p q/src/a.c"
        << "" << 12 << 5 << ""
        << "use of undeclared identifier 'x'"
        << "";
    QTest::newRow("clang's option bracket stays in the text")
        << "/tmp/src/a.c(3,9): warning C4101: unused variable 'n' [-Wunused-variable] "
           "[/tmp/solution/3ddp/3ddp.vcxproj]"
        << Severity::Warning << "/tmp/src/a.c"
        << "" << 3 << 9 << "C4101"
        << "unused variable 'n' [-Wunused-variable]"
        << "3ddp";
    QTest::newRow("project file as origin")
        << "3ddp_host.vcxproj : error MSB8066: Custom build for 'C:\\p\\CMakeLists.txt' exited "
           "with code 1. ["
            + hostProject + "]"
        << Severity::Error << "3ddp_host.vcxproj"
        << "" << 0 << 0 << "MSB8066"
        << "Custom build for 'C:\\p\\CMakeLists.txt' exited with code 1."
        << "3ddp_host";
    QTest::newRow("MSBuild targets file, CR LF")
        << "C:\\Program Files\\Microsoft Visual "
           "Studio\\2022\\Community\\MSBuild\\Microsoft\\VC\\v170\\Microsoft.CppCommon.targets("
           "166,5): error MSB3073: The command \"setlocal\" exited with code 1. ["
            + hostProject + "]\r"
        << Severity::Error
        << "C:\\Program Files\\Microsoft Visual "
           "Studio\\2022\\Community\\MSBuild\\Microsoft\\VC\\v170\\Microsoft.CppCommon.targets"
        << "" << 166 << 5 << "MSB3073"
        << "The command \"setlocal\" exited with code 1."
        << "3ddp_host";
    QTest::newRow("no origin") << "error : the stand-in devenv builds for x64 only"
                               << Severity::Error << ""
                               << "" << 0 << 0 << ""
                               << "the stand-in devenv builds for x64 only"
                               << "";
}

void tst_MSBuildDiagnostics::readsDiagnosticLines()
{
    QFETCH(QString, line);
    BuildDiagnostic diagnostic;
    QVERIFY(MSBuildDiagnostics::parseLine(line, diagnostic));
    QTEST(diagnostic.severity, "severity");
    QTEST(diagnostic.file, "file");
    QTEST(diagnostic.tool, "tool");
    QTEST(diagnostic.line, "lineNumber");
    QTEST(diagnostic.column, "column");
    QTEST(diagnostic.code, "code");
    QTEST(diagnostic.text, "text");
    QTEST(diagnostic.variant, "variant");
    // Printed as the compiler wrote it, whatever the build put before it.
    QVERIFY(line.contains(diagnostic.printedLine));
    QVERIFY(!diagnostic.printedLine.startsWith(' ') && !diagnostic.printedLine.endsWith('\r'));
    QCOMPARE(diagnostic.project.isEmpty(), diagnostic.variant.isEmpty());
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
