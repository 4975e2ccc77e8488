#include "msbuildrun.h"

#include "helpers/standinsolution.h"

#include <QtTest>

// A build of a cleaned solution with the MSBuild of the stand-in Visual Studio, through the tool
// runner as Kestrune runs it: MSBuild found in the installation, its diagnostics read into rows
// with the file the user edits, the node linked against the MPI build of the multiport library.
class tst_MSBuildRun : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void findsMSBuild_data();
    void findsMSBuild();
    void reportsDiagnostics_data();
    void reportsDiagnostics();
    void summaryIsLeftOut();

private:
    QStringList rowsOf(const MSBuildRun::Result &result) const;

    QTemporaryDir installationsDir;
    QScopedPointer<QTemporaryDir> tempDir;
    QString fluent;
    QString studio;
    QString buildRoot;
    QString solution;
};

using standinsolution::run;

void tst_MSBuildRun::initTestCase()
{
    QVERIFY(installationsDir.isValid());
    QVERIFY(standinsolution::layOut(
        installationsDir.path(), { "-DMSBUILD=" KESTRUNE_STANDIN_MSBUILD }));
    fluent = installationsDir.path() + "/ANSYS Inc/v192/fluent";
    studio = installationsDir.path() + "/Microsoft Visual Studio/2019/Community";
}

void tst_MSBuildRun::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
    buildRoot = tempDir->path() + "/工程 (1) 目录/buildByVarnholt";
    solution = buildRoot + "/solution/FLUENTUDF.sln";
    QVERIFY(standinsolution::instantiate(buildRoot, fluent, fluent));
    QVERIFY(standinsolution::compileFunctionTables(buildRoot, fluent));
}

// "error C2065 3ddp_host @ROOT@/src/profile.c:41", one a diagnostic.
QStringList tst_MSBuildRun::rowsOf(const MSBuildRun::Result &result) const
{
    QStringList rows;
    for (const BuildDiagnostic &diagnostic : result.diagnostics) {
        const QString origin = diagnostic.file.isEmpty()
            ? diagnostic.tool
            : QString(diagnostic.file).replace(buildRoot, "@ROOT@") + ":"
                + QString::number(diagnostic.line);
        rows << QStringLiteral("%1 %2 %3 %4")
                    .arg(diagnostic.severity == BuildDiagnostic::Severity::Error ? "error"
                                                                                 : "warning",
                        diagnostic.code, diagnostic.variant, origin);
    }
    return rows;
}

void tst_MSBuildRun::findsMSBuild_data()
{
    QTest::addColumn<QString>("installation");
    QTest::addColumn<QString>("laidOut"); // a file made below the installation first
    QTest::addColumn<QString>("expected");
    const QString current = "/MSBuild/Current/Bin/amd64/MSBuild.exe";
    const QString old = "/MSBuild/15.0/Bin/amd64/MSBuild.exe";
    QTest::newRow("2019, laid out") << "@STANDIN@/2019/Community"
                                    << ""
                                    << "@STANDIN@/2019/Community" + current;
    QTest::newRow("18 (2026), laid out") << "@STANDIN@/18/Community"
                                         << ""
                                         << "@STANDIN@/18/Community" + current;
    QTest::newRow("2017 by its year") << "@TEMP@/Microsoft Visual Studio/2017/BuildTools"
                                      << ""
                                      << "@TEMP@/Microsoft Visual Studio/2017/BuildTools" + old;
    QTest::newRow("2022 Build Tools by its year")
        << "@TEMP@/Microsoft Visual Studio/2022/BuildTools"
        << ""
        << "@TEMP@/Microsoft Visual Studio/2022/BuildTools" + current;
    QTest::newRow("what is on disk wins over the year")
        << "@TEMP@/Microsoft Visual Studio/2019/Odd" << old
        << "@TEMP@/Microsoft Visual Studio/2019/Odd" + old;
    QTest::newRow("backslashes and a trailing one")
        << "C:\\Program Files (x86)\\Microsoft Visual Studio\\2017\\Community\\"
        << ""
        << "C:/Program Files (x86)/Microsoft Visual Studio/2017/Community" + old;
}

void tst_MSBuildRun::findsMSBuild()
{
    QFETCH(QString, installation);
    QFETCH(QString, laidOut);
    QFETCH(QString, expected);
    const QString standin = installationsDir.path() + "/Microsoft Visual Studio";
    installation.replace("@STANDIN@", standin).replace("@TEMP@", tempDir->path());
    expected.replace("@STANDIN@", standin).replace("@TEMP@", tempDir->path());
    if (!laidOut.isEmpty())
        QVERIFY(filetree::write(installation + laidOut, "MZ"));
    QCOMPARE(MSBuildRun::msbuildPath(installation), expected);
}

void tst_MSBuildRun::reportsDiagnostics_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("named"); // in the text of each of them
    QTest::addColumn<bool>("succeeded");
    QTest::newRow("undeclared identifier in both variants")
        << "append int broken(void) { return undeclared_x; }"
        << QStringList { "error C2065 3ddp_host @ROOT@/src/profile.c:@END@",
               "error C2065 3ddp_node @ROOT@/src/profile.c:@END@" }
        << "'undeclared_x'" << false;
    QTest::newRow("unused variable with a Chinese name")
        << "append void warned(void) { int 未用 = 0; }"
        << QStringList { "warning C4101 3ddp_host @ROOT@/src/profile.c:@END@",
               "warning C4101 3ddp_node @ROOT@/src/profile.c:@END@" }
        << "'未用'" << true;
    QTest::newRow("node linked against the socket build")
        << "node links net" << QStringList { "error LNK2019 3ddp_node LINK" } << "mport_node_rank"
        << false;
    QTest::newRow("missing function table")
        << "remove 3ddp_host/udf_names.obj" << QStringList { "error LNK1181 3ddp_host LINK" }
        << "udf_names.obj" << false;
}

void tst_MSBuildRun::reportsDiagnostics()
{
    QFETCH(QString, change);
    QFETCH(QStringList, rows);
    QFETCH(QString, named);
    QFETCH(bool, succeeded);
    const QString source = buildRoot + "/src/profile.c";
    if (change.startsWith("append ")) {
        const QByteArray text = filetree::read(source);
        QVERIFY(filetree::write(source, text + change.mid(7).toUtf8() + "\n"));
        rows.replaceInStrings("@END@", QString::number(text.count('\n') + 1));
    } else if (change.startsWith("remove ")) {
        QVERIFY(QFile::remove(buildRoot + "/" + change.mid(7)));
    } else if (change == "node links net") {
        const QString project = buildRoot + "/solution/3ddp_node/3ddp_node.vcxproj";
        QByteArray text = filetree::read(project);
        QVERIFY(text.contains("/multiport/win64/mpi/shared"));
        QVERIFY(filetree::write(project, text.replace("/win64/mpi/", "/win64/net/")));
    }

    ToolRunner tools;
    const MSBuildRun::Result result = MSBuildRun::run(tools, studio, solution, "Debug");
    QCOMPARE(result.run.exitCode, succeeded ? 0 : 1);
    // The cleaned projects still name CMake's ZERO_CHECK project; MSBuild warns of it.
    QStringList reported = rowsOf(result);
    QCOMPARE(reported.count(), result.errors + result.warnings);
    QCOMPARE(reported.filter(" MSB9008 ").size(), 2);
    reported = reported.filter(QRegularExpression(" (C|LNK)\\d+ "));
    QVERIFY2(reported == rows, qPrintable(result.run.output));
    QCOMPARE(result.succeeded(), succeeded);
    for (const BuildDiagnostic &diagnostic : result.diagnostics) {
        QVERIFY(result.run.output.contains(diagnostic.printedLine));
        if (diagnostic.code != "MSB9008")
            QVERIFY2(diagnostic.text.contains(named), qPrintable(diagnostic.text));
    }
}

// MSBuild repeats every diagnostic in its summary; Kestrune asks for none, and lists each once
// when one comes anyway.
void tst_MSBuildRun::summaryIsLeftOut()
{
    const QString source = buildRoot + "/src/profile.c";
    QVERIFY(filetree::write(source, filetree::read(source) + "int broken(void) { return y; }\n"));
    QStringList arguments = MSBuildRun::arguments(solution, "Debug");
    QByteArray withoutSummary;
    QCOMPARE(run(MSBuildRun::msbuildPath(studio), arguments, withoutSummary), 1);
    QByteArray withSummary;
    arguments.removeAll("/clp:NoSummary");
    QCOMPARE(run(MSBuildRun::msbuildPath(studio), arguments, withSummary), 1);
    QCOMPARE(withoutSummary.count("error C2065"), 2);
    QCOMPARE(withSummary.count("error C2065"), 4);
    QStringDecoder decoder("GB18030");
    QCOMPARE(MSBuildDiagnostics::parse(decoder(withSummary)).size(),
        MSBuildDiagnostics::parse(decoder.decode(withoutSummary)).size());
}

QTEST_GUILESS_MAIN(tst_MSBuildRun)
#include "tst_msbuildrun.moc"
