#include "functiontable.h"
#include "kestrune.h"

#include "helpers/filetree.h"
#include "helpers/goldenfile.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtTest>

// udf_names.c and compileOBJ.bat: what the writer and the compilation put on disk, and what they
// leave of the user's sources. The compilation runs a cmd.exe written by the test.
class tst_UdfNames : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void tableFromSources_data();
    void tableFromSources();
    void defaultFunctionAppendedOnce();
    void defaultFunctionInUtf16_data();
    void defaultFunctionInUtf16();
    void firstSourceListedTwice();
    void longHeadWrittenWhole();
    void emptySourceList();
    void unreadableSourceAddsNoRow();
    void tableThatCannotBeWritten();
    void firstSourceThatCannotBeAppended();

    void batchFile_data();
    void batchFile();
    void outdatedObjectRemovedFirst_data();
    void outdatedObjectRemovedFirst();
    void batchThatDoesNotFinish_data();
    void batchThatDoesNotFinish();
    void temporariesRemoved();

private:
    QString makeFile(const QString &relativePath, const QByteArray &content);
    QString makeVariantDirectory();
    bool putFakeCmdFirstOnPath(const QByteArray &scriptBody);

    QScopedPointer<QTemporaryDir> tempDir;
    QByteArray originalPath;
};

// The stand-in cmd.exe of the compilation tests is a shell script.
#ifdef Q_OS_WIN
#define SKIP_WITHOUT_SHELL() QSKIP("needs a POSIX shell")
#else
#define SKIP_WITHOUT_SHELL()
#endif

// Compares a generated file with tests/data/<case>/expected/<its name>, the temporary root written
// as @ROOT@.
static bool matchesGolden(
    const QString &generatedPath, const QString &caseName, const QString &root)
{
    const QByteArray actual
        = golden::normalized(filetree::read(generatedPath), { { root, "@ROOT@" } });
    return golden::matches(actual, caseName + "/expected/" + QFileInfo(generatedPath).fileName());
}

void tst_UdfNames::initTestCase()
{
    originalPath = qgetenv("PATH");
}

void tst_UdfNames::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
}

void tst_UdfNames::cleanup()
{
    qputenv("PATH", originalPath);
}

QString tst_UdfNames::makeFile(const QString &relativePath, const QByteArray &content)
{
    return filetree::make(tempDir->path(), relativePath, content);
}

QString tst_UdfNames::makeVariantDirectory()
{
    const QString directory = tempDir->path() + "/p/buildByVarnholt/3ddp";
    QDir().mkpath(directory);
    return directory;
}

// A cmd.exe that notes, in the folder it runs in, its arguments, the folders the batch file gets
// through the environment and a copy of the batch file, then runs the body; QProcess finds it
// through the PATH of this process.
bool tst_UdfNames::putFakeCmdFirstOnPath(const QByteArray &scriptBody)
{
    const QString bin = tempDir->path() + "/bin";
    const QString script = makeFile("bin/cmd.exe",
        "#!/bin/sh\n"
        "dir=$(pwd)\n"
        "printf '%s\\n' \"$@\" > \"$dir/arguments.txt\"\n"
        "env | grep -E '^KESTRUNE_(VCVARS_DIR|INCLUDE_)' | sort > \"$dir/environment.txt\"\n"
        "cp \"$2\" \"$dir/seen.bat\"\n"
            + scriptBody + "\n");
    qputenv("PATH", bin.toUtf8() + ":" + originalPath);
    return QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
}

void tst_UdfNames::tableFromSources_data()
{
    QTest::addColumn<QByteArrayList>("sources");
    QTest::newRow("udfnames_worked_example")
        << QByteArrayList { "#include \"udf.h\"\n"
                            "DEFINE_PROFILE(inlet_velocity, thread, position)\n{\n}\n"
                            "DEFINE_ON_DEMAND(reset_fields)\n{\n}\n",
               "DEFINE_ADJUST(update_props, domain)\n{\n}\n" };
    QTest::newRow("udfnames_odd_heads")
        << QByteArrayList { "DEFINE_PROFILE( inlet, t, i)\n"
                            "DEFINE_PROFILE (outlet, t, i)\n"
                            "DEFINE_ON_DEMAND( init_interface )\n"
                            "DEFINE_EXECUTE_AT_END(\n\tat_end)\n"
                            "DEFINE_ADJUST(\r\n  adjust_split,\r\n  domain)\r\n"
                            "DEFINE_ON_DEMAND()\n",
               "int helper(void) { return 1; }\n",
               "DEFINE_ON_DEMAND(init_interface)\n"
               "// DEFINE_INIT(commented_out, d)\n" };
}

void tst_UdfNames::tableFromSources()
{
    QFETCH(QByteArrayList, sources);
    QStringList paths;
    for (int i = 0; i < sources.size(); ++i)
        paths << makeFile(QString("src/source%1.c").arg(i), sources.at(i));
    const QString variantDirectory = makeVariantDirectory();

    CKestrune engine;
    engine.writeUdfNames(paths, variantDirectory);
    QVERIFY(
        matchesGolden(variantDirectory + "/udf_names.c", QTest::currentDataTag(), tempDir->path()));
    for (int i = 0; i < sources.size(); ++i)
        QCOMPARE(filetree::read(paths.at(i)), sources.at(i));
}

void tst_UdfNames::defaultFunctionAppendedOnce()
{
    const QString first = makeFile("src/first.c", "#include \"udf.h\"\n/* nothing yet */");
    const QByteArray secondContent = "int helper(void) { return 1; } /* DEFINE_X(y) */\n";
    const QString second = makeFile("src/second.c", secondContent);
    const QString variantDirectory = makeVariantDirectory();
    CKestrune engine;

    engine.writeUdfNames({ first, second }, variantDirectory);
    QVERIFY(matchesGolden(
        variantDirectory + "/udf_names.c", "udfnames_default_function", tempDir->path()));
    QVERIFY(matchesGolden(first, "udfnames_default_function", tempDir->path()));
    QCOMPARE(filetree::read(second), secondContent);

    // The appended function is found from now on, so nothing more is appended.
    const QByteArray firstAfterAppend = filetree::read(first);
    engine.writeUdfNames({ first, second }, variantDirectory);
    QCOMPARE(filetree::read(first), firstAfterAppend);
    QVERIFY(matchesGolden(
        variantDirectory + "/udf_names.c", "udfnames_default_function", tempDir->path()));
}

void tst_UdfNames::defaultFunctionInUtf16_data()
{
    QTest::addColumn<QByteArray>("encoding");
    QTest::newRow("little endian") << QByteArray("UTF-16LE");
    QTest::newRow("big endian") << QByteArray("UTF-16BE");
}

// UTF-8 text after UTF-16 would leave a file that no compiler reads.
void tst_UdfNames::defaultFunctionInUtf16()
{
    QFETCH(QByteArray, encoding);
    const QString text = "#include \"udf.h\"\n/* nothing yet */";
    const QString first = makeFile(
        "src/first.c", QStringEncoder(encoding.constData(), QStringEncoder::Flag::WriteBom)(text));
    const QString variantDirectory = makeVariantDirectory();
    CKestrune engine;
    engine.writeUdfNames({ first }, variantDirectory);
    QVERIFY(matchesGolden(
        variantDirectory + "/udf_names.c", "udfnames_default_function", tempDir->path()));

    // Decoded whole, it is the UTF-8 source of the test above: no second byte-order mark, CR LF.
    QStringDecoder decoder(encoding.constData());
    const QString decoded = decoder(filetree::read(first));
    QVERIFY(!decoder.hasError());
    QVERIFY(golden::matches(decoded.toUtf8(), "udfnames_default_function/expected/first.c"));
    QCOMPARE(
        engine.findUdfDefinitions(first), QStringList { "DEFINE_ON_DEMAND(build_by_varnholt)" });
}

// Each listing of the source that received the default function yields its row, as a fresh read
// of every listed source after the append would.
void tst_UdfNames::firstSourceListedTwice()
{
    const QString first = makeFile("src/a.c", "int x;\n");
    const QString variantDirectory = makeVariantDirectory();
    CKestrune engine;
    engine.writeUdfNames({ first, first }, variantDirectory);

    const QByteArray table = filetree::read(variantDirectory + "/udf_names.c");
    QCOMPARE(table.count("extern DEFINE_ON_DEMAND(build_by_varnholt);\r\n"), 2);
    QCOMPARE(table.count("{\"build_by_varnholt\", (void (*)(void))build_by_varnholt, "
                         "UDF_TYPE_ON_DEMAND},\r\n"),
        2);
    QCOMPARE(filetree::read(first).count("DEFINE_ON_DEMAND(build_by_varnholt)"), 1);
}

// The table is handed to the file in pieces; a head longer than a piece must still arrive whole
// and in its place.
void tst_UdfNames::longHeadWrittenWhole()
{
    const QByteArray arguments = QByteArray("long_adjust,").append(70000, ' ') + "domain";
    const QString source = makeFile("src/long.c",
        "DEFINE_ADJUST(" + arguments
            + ")\n"
              "DEFINE_ON_DEMAND(after)\n");
    const QString variantDirectory = makeVariantDirectory();
    CKestrune engine;
    engine.writeUdfNames({ source }, variantDirectory);

    const QByteArray table = filetree::read(variantDirectory + "/udf_names.c");
    QVERIFY(table.contains("#include \"dpm.h\"\r\nextern DEFINE_ADJUST(" + arguments
        + ");\r\nextern DEFINE_ON_DEMAND(after);\r\n"));
    QVERIFY(table.contains("{ \r\n{\"long_adjust\", (void (*)(void))long_adjust, UDF_TYPE_ADJUST},"
                           "\r\n{\"after\", (void (*)(void))after, UDF_TYPE_ON_DEMAND},\r\n};"));
    QVERIFY(table.endsWith("} \r\n"));
}

// The node table of a coupling build whose sources are all adaptor files gets no source.
void tst_UdfNames::emptySourceList()
{
    const QString variantDirectory = makeVariantDirectory();
    QTest::ignoreMessage(QtDebugMsg, "QList()");
    QTest::failOnWarning(QRegularExpression(".*"));
    CKestrune engine;
    engine.writeUdfNames({}, variantDirectory);
    QVERIFY(
        matchesGolden(variantDirectory + "/udf_names.c", "udfnames_empty_table", tempDir->path()));
    QCOMPARE(QDir(tempDir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        QStringList { "p" });
}

void tst_UdfNames::unreadableSourceAddsNoRow()
{
    const QString missing = tempDir->path() + "/src/missing.c";
    const QString present = makeFile("src/present.c", "DEFINE_ADJUST(update_props, domain)\n");
    const QString variantDirectory = makeVariantDirectory();
    QTest::ignoreMessage(QtDebugMsg, "Failed to open input file.");
    CKestrune engine;
    engine.writeUdfNames({ missing, present }, variantDirectory);
    QVERIFY(matchesGolden(
        variantDirectory + "/udf_names.c", "udfnames_unreadable_source", tempDir->path()));
    QVERIFY(!QFile::exists(missing));
}

void tst_UdfNames::tableThatCannotBeWritten()
{
    const QByteArray content = "int x;\n";
    const QString first = makeFile("src/a.c", content);
    const QString variantDirectory = tempDir->path() + "/no such directory";
    QTest::ignoreMessage(QtDebugMsg, "无法创建udf_names.c文件！");
    CKestrune engine;
    engine.writeUdfNames({ first }, variantDirectory);
    // The default function would serve a table that does not exist.
    QCOMPARE(filetree::read(first), content);
    QVERIFY(!QFileInfo::exists(variantDirectory));
}

void tst_UdfNames::firstSourceThatCannotBeAppended()
{
    const QString folder = tempDir->path() + "/src/folder.c";
    QVERIFY(QDir().mkpath(folder));
    const QString second = makeFile("src/b.c", "int x;\n");
    const QString variantDirectory = makeVariantDirectory();
    QTest::ignoreMessage(QtDebugMsg, "Failed to open input file.");
    QTest::ignoreMessage(
        QtWarningMsg, QRegularExpression("^Failed to open file for appending: \".+\"$"));
    CKestrune engine;
    engine.writeUdfNames({ folder, second }, variantDirectory);
    QVERIFY(
        matchesGolden(variantDirectory + "/udf_names.c", "udfnames_empty_table", tempDir->path()));
    QCOMPARE(filetree::read(second), QByteArray("int x;\n"));
}

void tst_UdfNames::batchFile_data()
{
    QTest::addColumn<QString>("makefile");
    QTest::addColumn<QString>("vsPath");
    QTest::newRow("compileobj_worked_example")
        << QString(KESTRUNE_TEST_DATA) + "/compileobj_worked_example/makefile_nt.udf"
        << "C:/VS/2022/Community";
    // No makefile: the command runs on from the "cl" line straight to the source line. The
    // trailing slash of the Visual Studio path is taken as typed.
    QTest::newRow("compileobj_no_include_dirs") << QString() << "C:/VS/2019/Community/";
}

void tst_UdfNames::batchFile()
{
    SKIP_WITHOUT_SHELL();
    QFETCH(QString, makefile);
    QFETCH(QString, vsPath);
    QVERIFY(putFakeCmdFirstOnPath("exit 0"));
    const QString fluentPath = tempDir->path() + "/ANSYS Inc/v192/fluent";
    if (!makefile.isEmpty()) {
        makeFile(
            "ANSYS Inc/v192/fluent/fluent19.2.0/src/udf/makefile_nt.udf", filetree::read(makefile));
    } else {
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^无法打开文件 .* 进行读取$"));
    }
    const QString variantDirectory = makeVariantDirectory();
    QTest::ignoreMessage(
        QtDebugMsg, qPrintable("\"" + variantDirectory + "/udf_names.c\" compiling... ..."));

    CKestrune engine;
    engine.compileUdfNames("3ddp", fluentPath, vsPath, variantDirectory);
    const QString batch = variantDirectory + "/compileOBJ.bat";
    QVERIFY(matchesGolden(batch, QTest::currentDataTag(), tempDir->path()));
    QVERIFY(matchesGolden(
        variantDirectory + "/environment.txt", QTest::currentDataTag(), tempDir->path()));
    // The whole file was on disk when cmd.exe ran it, in the variant directory.
    QCOMPARE(filetree::read(variantDirectory + "/seen.bat"), filetree::read(batch));
    QCOMPARE(
        filetree::read(variantDirectory + "/arguments.txt"), QByteArray("/c\ncompileOBJ.bat\n"));
}

void tst_UdfNames::outdatedObjectRemovedFirst_data()
{
    QTest::addColumn<QByteArray>("scriptBody");
    QTest::addColumn<QByteArray>("objectAfter");
    QTest::addColumn<QString>("statusLine");
    QTest::newRow("compiler succeeds")
        << QByteArray("echo new > \"$dir/udf_names.obj\"") << QByteArray("new\n") << QString();
    QTest::newRow("compiler fails")
        << QByteArray("exit 2") << QByteArray() << "compileOBJ.bat ended with status 2";
}

void tst_UdfNames::outdatedObjectRemovedFirst()
{
    SKIP_WITHOUT_SHELL();
    QFETCH(QByteArray, scriptBody);
    QFETCH(QByteArray, objectAfter);
    QFETCH(QString, statusLine);
    QVERIFY(putFakeCmdFirstOnPath(scriptBody));
    const QString variantDirectory = makeVariantDirectory();
    const QString object = makeFile("p/buildByVarnholt/3ddp/udf_names.obj", "old table");
    if (!statusLine.isEmpty())
        QTest::ignoreMessage(QtDebugMsg, qPrintable(statusLine));

    CKestrune engine;
    engine.compileUdfNames("3ddp", tempDir->path() + "/v192/fluent", "C:/VS", variantDirectory);
    QCOMPARE(QFile::exists(object), !objectAfter.isEmpty());
    if (!objectAfter.isEmpty())
        QCOMPARE(filetree::read(object), objectAfter);
}

void tst_UdfNames::batchThatDoesNotFinish_data()
{
    QTest::addColumn<bool>("cmdOnPath");
    QTest::addColumn<ToolRun::Status>("status");
    QTest::newRow("hangs") << true << ToolRun::Status::TimedOut;
    QTest::newRow("cannot start") << false << ToolRun::Status::FailedToStart;
}

void tst_UdfNames::batchThatDoesNotFinish()
{
    SKIP_WITHOUT_SHELL();
    QFETCH(bool, cmdOnPath);
    QFETCH(ToolRun::Status, status);
    if (cmdOnPath) {
        QVERIFY(putFakeCmdFirstOnPath("exec sleep 30"));
    } else {
        QVERIFY(QDir(tempDir->path()).mkdir("empty"));
        qputenv("PATH", QFile::encodeName(tempDir->path() + "/empty"));
    }
    const QString variantDirectory = makeVariantDirectory();

    ToolRunner tools;
    tools.setTimeoutMs(300);
    const ToolRun run = FunctionTable::compile(
        tools, "3ddp", tempDir->path() + "/v192/fluent", "C:/VS", variantDirectory);
    QCOMPARE(run.status, status);
    QVERIFY(QFile::exists(variantDirectory + "/compileOBJ.bat"));
    QCOMPARE(QFile::exists(variantDirectory + "/seen.bat"), cmdOnPath);
}

void tst_UdfNames::temporariesRemoved()
{
    const QString variantDirectory = makeVariantDirectory();
    makeFile("p/buildByVarnholt/3ddp/udf_names.c", "table");
    makeFile("p/buildByVarnholt/3ddp/compileOBJ.bat", "batch");
    makeFile("p/buildByVarnholt/3ddp/udf_names.obj", "object");
    CKestrune engine;
    engine.removeUdfNamesTemporaries(variantDirectory);
    QCOMPARE(QDir(variantDirectory).entryList(QDir::Files), QStringList { "udf_names.obj" });
    // Nothing left to remove is no error.
    engine.removeUdfNamesTemporaries(variantDirectory);
    QCOMPARE(QDir(variantDirectory).entryList(QDir::Files), QStringList { "udf_names.obj" });
}

QTEST_GUILESS_MAIN(tst_UdfNames)
#include "tst_udfnames.moc"
