#include "kestrune.h"

#include "helpers/filetree.h"
#include "helpers/queuedevents.h"

#include <QtTest>

// The libraries of a recorded build root built with the stand-in MSBuild and laid into a Fluent
// case folder where Fluent loads them: every build type and configuration, stale tables brought up
// to date first, a failed build laying nothing, and a cancelled one leaving the old libraries.
class tst_LibraryBuild : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void laidWhereFluentLoads_data();
    void laidWhereFluentLoads();
    void errorsAsRowsAndNothingLaid();
    void cancelledBuildKeepsTheOldLibraries();

private:
    void create(bool coupling, const QString &variant, CKestrune &engine);
    QString root() const { return temp->path() + "/project/buildByVarnholt"; }
    QString caseFolder() const { return temp->path() + "/算例 1"; }

    QByteArray originalPath;
    QScopedPointer<QTemporaryDir> temp;
};

static const QString installations = QStringLiteral(KESTRUNE_STANDIN_INSTALLATIONS);

void tst_LibraryBuild::initTestCase()
{
    originalPath = qgetenv("PATH");
    qputenv("PATH", QByteArray(KESTRUNE_STANDINS_BIN) + ":" + originalPath);
    if (!QFileInfo::exists(installations + "/Microsoft Visual Studio/2019/Community/MSBuild"))
        QSKIP("The stand-in installations were not laid out (no llvm-dlltool)");
}

void tst_LibraryBuild::init()
{
    temp.reset(new QTemporaryDir);
    QVERIFY(temp->isValid());
}

void tst_LibraryBuild::cleanupTestCase()
{
    qputenv("PATH", originalPath);
}

void tst_LibraryBuild::create(bool coupling, const QString &variant, CKestrune &engine)
{
    CKestrune::CreateRequest request;
    request.buildType = coupling ? CKestrune::CreateRequest::BuildType::CouplingEuler
                                 : CKestrune::CreateRequest::BuildType::FluentUdf;
    request.projectFolder = temp->path() + "/project";
    request.sources << filetree::make(temp->path() + "/picked", "flow.c",
        "#include \"udf.h\"\nDEFINE_ADJUST(update_flow, d) { (void)d; }\n");
    request.variant = variant;
    request.fluentPath = installations + "/ANSYS Inc/v192/fluent";
    request.vsPath = installations + "/Microsoft Visual Studio/2019/Community";
    request.edemPath = installations + "/DEM Solutions/EDEM 2018";
    const CKestrune::BuildOutcome outcome = engine.createSolution(request);
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.compilerMessage + outcome.cmakeMessage));
    QVERIFY(engine.setCaseFolder(caseFolder()));
}

void tst_LibraryBuild::laidWhereFluentLoads_data()
{
    QTest::addColumn<bool>("coupling");
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("configuration");
    QTest::addColumn<QStringList>("laid");
    QTest::newRow("serial, Debug") << false << "3ddp"
                                   << "Debug" << QStringList { "libudf/win64/3ddp/libudf.dll" };
    QTest::newRow("parallel, Release")
        << false << "2d_host"
        << "Release"
        << QStringList { "libudf/win64/2d_host/libudf.dll", "libudf/win64/2d_node/libudf.dll" };
    QTest::newRow("coupling, parallel, Debug")
        << true << "3ddp_host"
        << "Debug"
        << QStringList { "edem_udf/win64/3ddp_host/libudf.dll",
               "edem_udf/win64/3ddp_node/libudf.dll" };
}

void tst_LibraryBuild::laidWhereFluentLoads()
{
    QFETCH(bool, coupling);
    QFETCH(QString, variant);
    QFETCH(QString, configuration);
    QFETCH(QStringList, laid);
    CKestrune engine;
    create(coupling, variant, engine);
    if (QTest::currentTestFailed())
        return;
    const LibraryBuildOutcome outcome = engine.buildLibraries(configuration);
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.build.run.output));
    QVERIFY(!outcome.tablesRefreshed);
    QStringList expected;
    for (const QString &library : laid)
        expected << caseFolder() + "/" + library;
    QCOMPARE(outcome.laid.laid, expected);
    const QString outputFolder = coupling ? "edem_udf" : "libudf";
    for (const QString &library : laid) {
        const QByteArray copied = filetree::read(caseFolder() + "/" + library);
        QVERIFY(copied.startsWith("MZ"));
        QCOMPARE(copied,
            filetree::read(root() + "/solution/" + configuration + "/"
                + QString(library).replace("edem_udf/", outputFolder + "/")));
    }
    // Nothing else is put into the case folder.
    QCOMPARE(QDir(caseFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        QStringList { outputFolder });
}

// A source saved while nothing watched is in the table before the build; an error in it is a row
// with the copy's file, line and code, and the case folder stays as it was until a build succeeds.
void tst_LibraryBuild::errorsAsRowsAndNothingLaid()
{
    {
        CKestrune first;
        create(false, "3ddp", first);
    }
    CKestrune engine;
    QCOMPARE(engine.resumeBuild(root()), BuildRecordFile::Status::Read);
    QCOMPARE(engine.recordedBuild().caseFolder, caseFolder());
    const QString copy = root() + "/src/flow.c";
    QTest::qWait(1100); // file times of a second's resolution must tell the save from the compile
    QVERIFY(filetree::write(
        copy, filetree::read(copy) + "DEFINE_INIT(broken, d)\n{\n    undeclared_cells = 1;\n}\n"));

    LibraryBuildOutcome outcome = engine.buildLibraries("Debug");
    QVERIFY(outcome.tablesRefreshed);
    QCOMPARE(outcome.problem, LibraryBuildOutcome::Problem::BuildFailed);
    QCOMPARE(outcome.build.errors, 1);
    const auto firstError = std::find_if(outcome.build.diagnostics.cbegin(),
        outcome.build.diagnostics.cend(), [](const BuildDiagnostic &diagnostic) {
            return diagnostic.severity == BuildDiagnostic::Severity::Error;
        });
    QVERIFY(firstError != outcome.build.diagnostics.cend());
    const BuildDiagnostic error = *firstError;
    QCOMPARE(QDir::cleanPath(QDir::fromNativeSeparators(error.file)), copy);
    QCOMPARE(error.line, 5);
    QCOMPARE(error.code, QStringLiteral("C2065"));
    QCOMPARE(error.variant, QStringLiteral("3ddp"));
    QVERIFY(!QFileInfo::exists(caseFolder()));

    QVERIFY(
        filetree::write(copy, filetree::read(copy).replace("undeclared_cells = 1;", "(void)d;")));
    outcome = engine.buildLibraries("Debug");
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.build.run.output));
    QVERIFY(filetree::read(root() + "/3ddp/udf_names.obj").contains("broken"));
    QVERIFY(QFileInfo::exists(caseFolder() + "/libudf/win64/3ddp/libudf.dll"));
}

void tst_LibraryBuild::cancelledBuildKeepsTheOldLibraries()
{
    CKestrune engine;
    create(false, "3ddp_host", engine);
    const QString host = caseFolder() + "/libudf/win64/3ddp_host/libudf.dll";
    const QString node = caseFolder() + "/libudf/win64/3ddp_node/libudf.dll";
    QVERIFY(filetree::write(host, "the old host library"));
    QVERIFY(filetree::write(node, "the old node library"));

    QueuedEvents events(engine.events());
    QSignalSpy built(&events, &BuildEvents::librariesBuilt);
    QSignalSpy toolStarted(&events, &BuildEvents::toolStarted);
    QVERIFY(engine.startLibraryBuild("Release"));
    QVERIFY(engine.isBuildingLibraries());
    QTRY_VERIFY(!toolStarted.isEmpty());
    engine.cancelLibraryBuild();
    QTRY_COMPARE_WITH_TIMEOUT(built.size(), 1, 20000);
    const auto outcome = built.first().first().value<LibraryBuildOutcome>();
    QCOMPARE(outcome.problem, LibraryBuildOutcome::Problem::Cancelled);
    QTRY_VERIFY(!engine.isBuildingLibraries());
    QCOMPARE(filetree::read(host), QByteArray("the old host library"));
    QCOMPARE(filetree::read(node), QByteArray("the old node library"));
    QCOMPARE(QDir(QFileInfo(host).path()).entryList(QDir::Files), QStringList { "libudf.dll" });
}

QTEST_GUILESS_MAIN(tst_LibraryBuild)
#include "tst_librarybuild.moc"
