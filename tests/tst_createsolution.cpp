#include "kestrune.h"

#include "helpers/filetree.h"
#include "helpers/queuedevents.h"

#include <QtTest>

// The create command's engine work as the window gets it: one result that says which step failed
// and why, the steps and tools reported as they go, a cancel that leaves nothing half made, and
// saves that regenerate the function tables in one go.
class tst_CreateSolution : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void eachFailingStep_data();
    void eachFailingStep();
    void stepsAndToolsAreReported();
    void cancelDuringCMake();
    void burstOfSavesGivesOneRegeneration();

private:
    CKestrune::CreateRequest request(const QString &vsPath = QString()) const;
    void putFirstOnPath(const QString &folder);

    QByteArray originalPath;
    QScopedPointer<QTemporaryDir> tempDir;
};

static const QString installations = QStringLiteral(KESTRUNE_STANDIN_INSTALLATIONS);

void tst_CreateSolution::initTestCase()
{
    originalPath = qgetenv("PATH");
    qRegisterMetaType<BuildEvents::Step>();
}

void tst_CreateSolution::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
    qputenv("KESTRUNE_RECORDING_CMAKE_LOG", QFile::encodeName(tempDir->path() + "/calls"));
    putFirstOnPath(KESTRUNE_RECORDING_CMAKE_BIN);
}

void tst_CreateSolution::cleanup()
{
    qputenv("PATH", originalPath);
    qunsetenv("KESTRUNE_RECORDING_CMAKE_EXIT");
    qunsetenv("KESTRUNE_RECORDING_CMAKE_VERSION");
}

// cmake from the folder, cmd.exe from the stand-ins.
void tst_CreateSolution::putFirstOnPath(const QString &folder)
{
    qputenv("PATH", QFile::encodeName(folder) + ":" + KESTRUNE_STANDINS_BIN + ":" + originalPath);
}

// A parallel UDF build of two picked sources into the test's project folder.
CKestrune::CreateRequest tst_CreateSolution::request(const QString &vsPath) const
{
    CKestrune::CreateRequest request;
    request.projectFolder = tempDir->path() + "/project";
    for (const char *name : { "inlet.c", "wall.c" }) {
        request.sources << filetree::make(tempDir->path() + "/picked", name,
            "DEFINE_ON_DEMAND(" + QByteArray(name).left(4) + ")\n{\n}\n");
    }
    request.variant = "3ddp_host";
    request.fluentPath = installations + "/ANSYS Inc/v192/fluent";
    request.vsPath
        = vsPath.isEmpty() ? installations + "/Microsoft Visual Studio/2019/Community" : vsPath;
    return request;
}

void tst_CreateSolution::eachFailingStep_data()
{
    using Problem = CKestrune::BuildOutcome::CMakeProblem;
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("buildRootResult");
    QTest::addColumn<QStringList>("variantsWithoutObject");
    QTest::addColumn<Problem>("cmakeProblem");
    QTest::newRow("a folder cannot be made") << "folder" << 1 << QStringList() << Problem::None;
    QTest::newRow("a picked file is gone") << "file" << 2 << QStringList() << Problem::None;
    QTest::newRow("no compiler") << "compiler" << 0 << QStringList { "3ddp_host", "3ddp_node" }
                                 << Problem::NoSolution;
    QTest::newRow("cmake fails") << "cmake" << 0 << QStringList() << Problem::Failed;
    QTest::newRow("cmake too old for Visual Studio 2026")
        << "old cmake" << 0 << QStringList() << Problem::TooOldForGenerator;
    QTest::newRow("cmake writes no solution") << "" << 0 << QStringList() << Problem::NoSolution;
}

void tst_CreateSolution::eachFailingStep()
{
    using Problem = CKestrune::BuildOutcome::CMakeProblem;
    QFETCH(QString, failure);
    QFETCH(int, buildRootResult);
    QFETCH(QStringList, variantsWithoutObject);
    QFETCH(Problem, cmakeProblem);
    CKestrune::CreateRequest asked = request(failure == "compiler" ? tempDir->path() + "/no VS/2019"
            : failure == "old cmake" ? installations + "/Microsoft Visual Studio/18/Community"
                                     : QString());
    if (failure == "folder")
        QVERIFY(filetree::write(asked.projectFolder + "/buildByVarnholt/src", "not a folder"));
    if (failure == "file")
        QVERIFY(QFile::remove(asked.sources.constLast()));
    if (failure == "cmake")
        qputenv("KESTRUNE_RECORDING_CMAKE_EXIT", "1");
    if (failure == "old cmake")
        qputenv("KESTRUNE_RECORDING_CMAKE_VERSION", "4.1.0");

    CKestrune engine;
    const CKestrune::BuildOutcome outcome = engine.createSolution(asked);
    QVERIFY(!outcome.succeeded());
    QCOMPARE(outcome.buildRootResult, buildRootResult);
    QCOMPARE(outcome.variantsWithoutObject, variantsWithoutObject);
    QCOMPARE(outcome.cmakeProblem, cmakeProblem);
    QCOMPARE(outcome.topLevelFileWritten, buildRootResult == 0);
    if (failure == "compiler")
        QVERIFY(!outcome.compilerMessage.isEmpty());
    if (failure == "old cmake")
        QCOMPARE(outcome.cmakeVersion, QStringLiteral("4.1.0"));
    // Only a build that got past its copies is recorded for the watcher.
    QCOMPARE(engine.watchedSources().size(), buildRootResult == 0 ? 2 : 0);
}

void tst_CreateSolution::stepsAndToolsAreReported()
{
    CKestrune engine;
    QSignalSpy progress(engine.events(), &BuildEvents::progressChanged);
    QSignalSpy steps(engine.events(), &BuildEvents::stepFinished);
    QSignalSpy tools(engine.events(), &BuildEvents::toolStarted);
    const CKestrune::BuildOutcome outcome = engine.createSolution(request());
    QCOMPARE(outcome.cmakeProblem, CKestrune::BuildOutcome::CMakeProblem::NoSolution);

    QList<int> values;
    for (const QList<QVariant> &arguments : progress)
        values << arguments.at(0).toInt();
    QCOMPARE(values, (QList<int> { 65, 72, 80, 90, 95 }));
    QStringList finished;
    for (const QList<QVariant> &arguments : steps) {
        finished << QString("%1 %2 %3")
                        .arg(QMetaEnum::fromType<BuildEvents::Step>().valueToKey(
                                 arguments.at(0).value<int>()),
                            arguments.at(1).toString(), arguments.at(2).toBool() ? "ok" : "failed");
    }
    QCOMPARE(finished,
        (QStringList { "CopyFiles  ok", "FunctionTable 3ddp_host ok", "FunctionTable 3ddp_node ok",
            "CMake  failed", "CleanUp  failed" }));
    QCOMPARE(tools.size(), 3);
    QVERIFY(tools.at(0).at(0).toString().startsWith("cmd.exe /c compileOBJ.bat"));
    QVERIFY(tools.at(2).at(0).toString().startsWith("cmake " + tempDir->path()));
}

// Closing the window during a run stops the tools; what the build had begun is removed.
void tst_CreateSolution::cancelDuringCMake()
{
    putFirstOnPath(KESTRUNE_HANGING_CMAKE_BIN);
    CKestrune engine;
    connect(engine.events(), &BuildEvents::stepStarted, &engine, [&engine](BuildEvents::Step step) {
        if (step == BuildEvents::Step::CMake)
            QTimer::singleShot(300, &engine, [&engine] { engine.cancelCreate(); });
    });
    QElapsedTimer clock;
    clock.start();
    const CKestrune::BuildOutcome outcome = engine.createSolution(request());
    QVERIFY(clock.elapsed() < 20000);
    QVERIFY(outcome.cancelled);
    QVERIFY(!engine.isCreating());
    const QString root = tempDir->path() + "/project/buildByVarnholt";
    QVERIFY(!QFileInfo::exists(root + "/CMakeLists.txt"));
    QVERIFY(!QFileInfo::exists(root + "/3ddp_host/CMakeLists.txt"));
    QVERIFY(!QFileInfo::exists(root + "/solution"));
    QVERIFY(QFileInfo::exists(root + "/3ddp_host/udf_names.obj"));
}

// Several saves in a row give one regeneration, each variant's table compiled once.
void tst_CreateSolution::burstOfSavesGivesOneRegeneration()
{
    CKestrune engine;
    const CKestrune::CreateRequest asked = request();
    engine.createSolution(asked);
    const QString copy = asked.projectFolder + "/buildByVarnholt/src/inlet.c";
    QueuedEvents events(engine.events());
    QSignalSpy regenerated(&events, &BuildEvents::tablesRegenerated);
    QSignalSpy tools(&events, &BuildEvents::toolStarted);
    for (int save = 0; save < 5; ++save) {
        QVERIFY(filetree::write(copy,
            "DEFINE_ON_DEMAND(inle)\n{\n}\nDEFINE_ADJUST(adjust_" + QByteArray::number(save)
                + ", d)\n{\n}\n"));
    }
    QTRY_COMPARE_WITH_TIMEOUT(regenerated.size(), 1, 20000);
    QTest::qWait(300);
    QCOMPARE(regenerated.size(), 1);
    QCOMPARE(tools.size(), 2);
    const QList<QVariant> arguments = regenerated.takeFirst();
    QCOMPARE(arguments.at(0).toStringList(), (QStringList { "3ddp_host", "3ddp_node" }));
    QCOMPARE(arguments.at(1).value<QList<int>>(), (QList<int> { 3, 3 }));
    QVERIFY(arguments.at(2).toStringList().isEmpty());
    QVERIFY(filetree::read(asked.projectFolder + "/buildByVarnholt/3ddp_node/udf_names.obj")
                .contains("adjust_4"));
}

QTEST_GUILESS_MAIN(tst_CreateSolution)
#include "tst_createsolution.moc"
