#include "cmakerun.h"
#include "kestrune.h"

#include "helpers/filetree.h"
#include "helpers/goldenfile.h"

#include <QtTest>

class tst_CMakeRun : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void argumentsForTheVisualStudioPath_data();
    void argumentsForTheVisualStudioPath();
    void existingSolutionDirectoryIsReused();
    void failingCMakeStillCounts();
    void cmakeThatDoesNotFinish_data();
    void cmakeThatDoesNotFinish();
    void solutionDirectoryCannotBeMade();
    void cmakeTooOldForTheGenerator_data();
    void cmakeTooOldForTheGenerator();

private:
    void useCMakeFrom(const QString &folder);
    void chooseVisualStudio(const QString &vsPath);
    QString recordedArguments(int call = 1) const;

    QByteArray originalPath;
    QScopedPointer<QTemporaryDir> tempDir;
    QScopedPointer<CKestrune> engine;
};

void tst_CMakeRun::initTestCase()
{
    originalPath = qgetenv("PATH");
}

void tst_CMakeRun::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
    engine.reset(new CKestrune);
    qputenv("KESTRUNE_RECORDING_CMAKE_LOG", QFile::encodeName(tempDir->path() + "/calls"));
    qunsetenv("KESTRUNE_RECORDING_CMAKE_EXIT");
    useCMakeFrom(KESTRUNE_RECORDING_CMAKE_BIN);
}

void tst_CMakeRun::cleanup()
{
    qputenv("PATH", originalPath);
}

// QProcess finds the bare name "cmake" through the PATH of this process.
void tst_CMakeRun::useCMakeFrom(const QString &folder)
{
    qputenv("PATH", QFile::encodeName(folder) + QDir::listSeparator().toLatin1() + originalPath);
}

// The generator follows the Visual Studio path of the last build; a build whose top-level file
// cannot be written records the path and stops before anything else.
void tst_CMakeRun::chooseVisualStudio(const QString &vsPath)
{
    const QString blocked = tempDir->path() + "/blocker";
    QVERIFY(filetree::write(blocked, "a file where a folder must go"));
    QVERIFY(!engine->buildUdfSolution({}, {}, "3d", "F", vsPath, blocked + "/root"));
}

QString tst_CMakeRun::recordedArguments(int call) const
{
    return QString::fromUtf8(golden::readAll(
        tempDir->path() + QStringLiteral("/calls/call-%1/arguments.txt").arg(call)));
}

void tst_CMakeRun::argumentsForTheVisualStudioPath_data()
{
    QTest::addColumn<QString>("vsPath");
    QTest::addColumn<QString>("projectFolder");
    QTest::addColumn<QString>("golden");
    QTest::newRow("2022") << "C:/Program Files/Microsoft Visual Studio/2022/Community"
                          << "cfd"
                          << "vs2022";
    QTest::newRow("2019") << "C:/Program Files (x86)/Microsoft Visual Studio/2019/Professional"
                          << "cfd"
                          << "vs2019";
    QTest::newRow("2017") << "D:/VS/2017/BuildTools"
                          << "cfd"
                          << "vs2017";
    QTest::newRow("2019 and 2022: the newer wins") << "D:/2019/Microsoft Visual Studio/2022"
                                                   << "cfd"
                                                   << "vs2022";
    QTest::newRow("2017 and 2019: the newer wins") << "D:/VS2017/2019"
                                                   << "cfd"
                                                   << "vs2019";
    QTest::newRow("18 after the vendor folder")
        << "C:/Program Files/Microsoft Visual Studio/18/Community"
        << "cfd"
        << "vs2026";
    QTest::newRow("18, Build Tools")
        << "C:/Program Files (x86)/Microsoft Visual Studio/18/BuildTools"
        << "cfd"
        << "vs2026";
    QTest::newRow("2026 and 2022: the newer wins") << "D:/VS2022/VS2026"
                                                   << "cfd"
                                                   << "vs2026";
    QTest::newRow("18 elsewhere is no version") << "D:/18/Microsoft Visual Studio/Preview"
                                                << "cfd"
                                                << "no_year";
    QTest::newRow("blanks and Chinese in the build root")
        << "C:/Program Files/Microsoft Visual Studio/2019/Community"
        << "Li Wei/流体 项目"
        << "blanks";
}

void tst_CMakeRun::argumentsForTheVisualStudioPath()
{
    QFETCH(QString, vsPath);
    QFETCH(QString, projectFolder);
    QFETCH(QString, golden);
    chooseVisualStudio(vsPath);
    const QString root = tempDir->path() + "/" + projectFolder + "/buildByVarnholt";
    QVERIFY(QDir().mkpath(root));

    QVERIFY(engine->runCMake(root));
    const QByteArray actual
        = golden::normalized(recordedArguments().toUtf8(), { { tempDir->path(), "@ROOT@" } });
    QVERIFY(golden::matches(actual, "solution/cmake_arguments/expected/" + golden + ".txt"));
    QVERIFY(QFileInfo(root + "/solution").isDir());
}

void tst_CMakeRun::existingSolutionDirectoryIsReused()
{
    chooseVisualStudio("C:/VS/2019");
    const QString root = tempDir->path() + "/root";
    QVERIFY(filetree::write(root + "/solution/kept.txt", "made before"));
    QVERIFY(engine->runCMake(root));
    QVERIFY(engine->runCMake(root));
    QVERIFY(QFileInfo::exists(root + "/solution/kept.txt"));
    QVERIFY(recordedArguments(2).endsWith(root + "/solution\n"));
}

// A bad CMakeLists file or a generator that is not installed is CMake's to report.
void tst_CMakeRun::failingCMakeStillCounts()
{
    qputenv("KESTRUNE_RECORDING_CMAKE_EXIT", "1");
    const QString root = tempDir->path() + "/root";
    QVERIFY(engine->runCMake(root));
    QVERIFY(!recordedArguments().isEmpty());
}

// A cmake that is not there and one that never ends made nothing, and are told apart.
void tst_CMakeRun::cmakeThatDoesNotFinish_data()
{
    QTest::addColumn<QString>("cmakeFolder");
    QTest::addColumn<ToolRun::Status>("status");
    QTest::newRow("not on the PATH") << "empty" << ToolRun::Status::FailedToStart;
    QTest::newRow("hanging") << KESTRUNE_HANGING_CMAKE_BIN << ToolRun::Status::TimedOut;
}

void tst_CMakeRun::cmakeThatDoesNotFinish()
{
    QFETCH(QString, cmakeFolder);
    QFETCH(ToolRun::Status, status);
    qputenv("PATH", QFile::encodeName(QDir(tempDir->path()).absoluteFilePath(cmakeFolder)));
    const QString root = tempDir->path() + "/root";
    ToolRunner tools;
    tools.setTimeoutMs(300);
    const CMakeRun::Result run = CMakeRun::run(tools, root, "C:/VS/2019/Community");
    QCOMPARE(run.status, status);
    QCOMPARE(run.problem, BuildOutcome::CMakeProblem::NotRun);
    QVERIFY(!run.inTime);
    QVERIFY(QFileInfo(root + "/solution").isDir());
}

void tst_CMakeRun::solutionDirectoryCannotBeMade()
{
    const QString file = tempDir->path() + "/file";
    QVERIFY(filetree::write(file, "a file where a folder must go"));
    QVERIFY(!engine->runCMake(file + "/root"));
    QVERIFY(!QFileInfo::exists(tempDir->path() + "/calls"));
}

// Visual Studio 2026 needs CMake 4.2; an older one is not run at all. A CMake that does not say
// its version is left to judge for itself.
void tst_CMakeRun::cmakeTooOldForTheGenerator_data()
{
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<bool>("runs");
    QTest::newRow("3.31.6") << QByteArray("3.31.6") << false;
    QTest::newRow("4.1.2") << QByteArray("4.1.2") << false;
    QTest::newRow("4.2.0") << QByteArray("4.2.0") << true;
    QTest::newRow("4.10.0-rc1") << QByteArray("4.10.0-rc1") << true;
    QTest::newRow("no answer") << QByteArray() << true;
}

void tst_CMakeRun::cmakeTooOldForTheGenerator()
{
    QFETCH(QByteArray, version);
    QFETCH(bool, runs);
    qputenv("KESTRUNE_RECORDING_CMAKE_VERSION", version);
    ToolRunner tools;
    const CMakeRun::Result run = CMakeRun::run(
        tools, tempDir->path() + "/root", "C:/Program Files/Microsoft Visual Studio/18/Community");
    QCOMPARE(run.inTime, runs);
    QCOMPARE(QFileInfo::exists(tempDir->path() + "/calls"), runs);
    QCOMPARE(run.problem == BuildOutcome::CMakeProblem::TooOldForGenerator, !runs);
    QCOMPARE(run.version, QString::fromLatin1(version));
    qunsetenv("KESTRUNE_RECORDING_CMAKE_VERSION");
}

QTEST_GUILESS_MAIN(tst_CMakeRun)
#include "tst_cmakerun.moc"
