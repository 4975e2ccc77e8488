#include "dialoganswerer.h"
#include "helpers/filetree.h"
#include "helpers/goldenfile.h"
#include "helpers/standinsolution.h"
#include "kestrune.h"
#include "windowfixture.h"
#include "wineloader.h"

#include <QAction>
#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

// The whole road, as a user travels it: the create command through the window with the stand-in
// cmd.exe and cmake, the solution built by the stand-in devenv into real x64 libudf.dll files, and
// those libraries loaded the way Fluent loads them (under Wine), whose function tables must list
// the sources' DEFINE_ functions in order. Then a saved source copy gains a function, the function
// table is regenerated, and the rebuilt libraries list the new function too.
class tst_EndToEnd : public QObject {
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void serialUdfBuildLoads();
    void parallelCouplingBuildLoads();
    void anyFolderNameOnAChineseWindows();
    void visualStudio2026Solution();
    void commandLineBuildIntoCaseFolder();
    void windowBuildIntoCaseFolder();
    void cmakeTooOldForVisualStudio2026();
    void loaderRefusesALibraryWithoutFunctionTable();

private:
    void create(
        const char *buildType, int parallel, const QStringList &files, bool succeeds = true);
    void buildDebug();
    void checkTables(const QString &outputFolder, const QStringList &variants, const QString &stage,
        const QString &fluentFolder = QString());
    void checkLibraries(const QString &libraryFolder, const QStringList &variants,
        const QString &stage, const QString &fluentFolder = QString());
    void saveWithNewFunction(
        const QString &source, const QByteArray &definition, const QStringList &variants);
    QString buildRoot() const { return projectFolder + "/buildByVarnholt"; }

    QByteArray originalPath;
    QTemporaryDir installationsDir;
    QString fluent;
    QString currentFluent;
    QString studio;
    QString studio2026;
    QString edem;
    QString wineProblem;
    QScopedPointer<WindowFixture> fixture;
    QScopedPointer<DialogAnswerer> answerer;
    QString projectFolder;
};

// Helpers report through QVERIFY; the steps after a failed one would only add noise.
#define STEP(call)                                                                                 \
    do {                                                                                           \
        call;                                                                                      \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

static int run(const QString &program, const QStringList &arguments, QString &output)
{
    QByteArray bytes;
    const int status = standinsolution::run(program, arguments, bytes);
    output = QString::fromUtf8(bytes);
    return status;
}

void tst_EndToEnd::initTestCase()
{
    originalPath = qgetenv("PATH");
    qputenv("PATH", QByteArray(KESTRUNE_STANDINS_BIN) + ':' + originalPath);
    QVERIFY(installationsDir.isValid());
    QVERIFY(standinsolution::layOut(installationsDir.path()));
    fluent = installationsDir.path() + "/ANSYS Inc/v192/fluent";
    currentFluent = installationsDir.path() + "/ANSYS Inc/v242/fluent";
    studio = installationsDir.path() + "/Microsoft Visual Studio/2019/Community";
    studio2026 = installationsDir.path() + "/Microsoft Visual Studio/18/Community";
    edem = installationsDir.path() + "/DEM Solutions/EDEM 2018";
    wineProblem = WineLoader(KESTRUNE_UDF_LOADER, KESTRUNE_WINE_PREFIX).unavailableReason();
    if (!wineProblem.isEmpty())
        qWarning().noquote() << wineProblem << "- the libraries are built but not loaded";
}

void tst_EndToEnd::cleanupTestCase()
{
    qputenv("PATH", originalPath);
}

void tst_EndToEnd::init()
{
    fixture.reset(new WindowFixture);
    fixture->open();
    answerer.reset(new DialogAnswerer);
    projectFolder = fixture->root() + "/王工 CFD/入口 研究";
    QVERIFY(QDir().mkpath(projectFolder));
    fixture->useInstallations(fluent, studio, edem);
}

void tst_EndToEnd::cleanup()
{
    qputenv("PATH", QByteArray(KESTRUNE_STANDINS_BIN) + ':' + originalPath);
    qunsetenv("KESTRUNE_STANDIN_CMAKE_VERSION");
    QVERIFY2(answerer->unexpected.isEmpty(), qPrintable(answerer->unexpected.join(", ")));
    answerer.reset();
    fixture.reset();
}

// Picks the files from the test's sources through the file dialog, chooses the options and the
// project folder, and creates.
void tst_EndToEnd::create(
    const char *buildType, int parallel, const QStringList &files, bool succeeds)
{
    const QString picked = fixture->root() + "/picked files";
    for (const QString &file : files) {
        QVERIFY(filetree::write(picked + "/" + file,
            filetree::read(QStringLiteral(KESTRUNE_TEST_DATA "/endtoend/sources/") + file)));
    }
    answerer->expect(DialogAnswerer::pickFiles(picked, files));
    fixture->child<QPushButton>("btnAdd")->click();
    fixture->child<QRadioButton>(buildType)->click();
    fixture->child<QComboBox>("cbDimension")->setCurrentIndex(0);
    fixture->child<QComboBox>("cbPrecision")->setCurrentIndex(0);
    fixture->child<QComboBox>("cbParallel")->setCurrentIndex(parallel);
    answerer->expect(DialogAnswerer::chooseFolder(projectFolder));
    // A build that stops short of the end says why in a warning.
    if (!succeeds)
        answerer->expect(DialogAnswerer::clickOk());
    fixture->child<QPushButton>("btnCreateVsProject")->click();
    fixture->waitForCreate();
    QVERIFY(answerer->allAnswered());
    // Only a finished build brings the bar to 100; a failed one stops where it failed.
    QCOMPARE(fixture->child<QProgressBar>("progressBar")->value() == 100, succeeds);
}

// What a user does in Visual Studio next: build Debug.
void tst_EndToEnd::buildDebug()
{
    const QString solution = CKestrune::solutionFileOf(buildRoot());
    QVERIFY2(!solution.isEmpty(), qPrintable(buildRoot()));
    const QString devenv
        = QString(fixture->child<QLineEdit>("editPathVS")->text()).replace('\\', '/')
        + "/Common7/IDE/devenv.exe";
    QString output;
    const int status = run(devenv, { solution, "/Build", "Debug|x64" }, output);
    QVERIFY2(status == 0, qPrintable(output));
    QVERIFY2(output.contains(" succeeded, 0 failed, 0 up-to-date, 0 skipped =========="),
        qPrintable(output));
    const QStringList log
        = QString::fromUtf8(filetree::read(QFileInfo(devenv).path() + "/devenv.log")).split('\n');
    QVERIFY(log.size() >= 2);
    QCOMPARE(log.at(log.size() - 2), solution + "\t/Build\tDebug|x64");
}

void tst_EndToEnd::checkTables(const QString &outputFolder, const QStringList &variants,
    const QString &stage, const QString &fluentFolder)
{
    checkLibraries(buildRoot() + "/solution/Debug/" + outputFolder, variants, stage, fluentFolder);
}

// libraryFolder is where a build's libudf (or edem_udf) folder is: the solution's Debug folder, or
// a Fluent case folder.
void tst_EndToEnd::checkLibraries(const QString &libraryFolder, const QStringList &variants,
    const QString &stage, const QString &fluentFolder)
{
    const WineLoader loader(KESTRUNE_UDF_LOADER, KESTRUNE_WINE_PREFIX);
    for (const QString &variant : variants) {
        const QString library = libraryFolder + "/win64/" + variant + "/libudf.dll";
        QVERIFY2(filetree::read(library).startsWith("MZ"), qPrintable(library));
        if (!wineProblem.isEmpty())
            continue;
        const WineLoader::Listing listing = loader.list(library,
            { (fluentFolder.isEmpty() ? fluent : fluentFolder) + "/ntbin/win64", edem + "/bin" });
        QVERIFY2(listing.status == 0,
            qPrintable(QString("status %1: %2%3")
                           .arg(listing.status)
                           .arg(listing.errors, listing.output)));
        QVERIFY(golden::matches(
            listing.output.toUtf8(), "endtoend/expected/" + stage + "_" + variant + ".txt"));
    }
}

// Saves the copy in src the way an editor does, and waits until every variant's function table
// names the new function.
void tst_EndToEnd::saveWithNewFunction(
    const QString &source, const QByteArray &definition, const QStringList &variants)
{
    const QString name = QString::fromUtf8(definition.mid(definition.indexOf('(') + 1))
                             .section(QRegularExpression("[,)]"), 0, 0);
    const auto tablesName = [&] {
        return std::all_of(variants.begin(), variants.end(), [&](const QString &variant) {
            return filetree::read(buildRoot() + "/" + variant + "/udf_names.obj")
                .contains(name.toUtf8() + '\0');
        });
    };
    QVERIFY(!tablesName());
    const QString path = buildRoot() + "/src/" + source;
    QVERIFY(filetree::write(path, filetree::read(path) + "\n" + definition));
    QTRY_VERIFY_WITH_TIMEOUT(tablesName(), 30000);
    // A save may be reported twice; the second regeneration runs here, not during the build.
    QCoreApplication::processEvents();
    QVERIFY(tablesName());
}

void tst_EndToEnd::serialUdfBuildLoads()
{
    STEP(create("rbtnFluentUdf", 1, { "inlet_profile.c", "heat_source.c", "wall_props.cpp" }));
    STEP(buildDebug());
    STEP(checkTables("libudf", { "3ddp" }, "serial"));

    STEP(saveWithNewFunction("heat_source.c",
        "DEFINE_INIT(initial_temperature, domain)\n{\n    (void)domain;\n}\n", { "3ddp" }));
    STEP(buildDebug());
    STEP(checkTables("libudf", { "3ddp" }, "serial_saved"));

    // Fluent finds its solver library on its own program folder; without it nothing loads.
    if (!wineProblem.isEmpty())
        return;
    const WineLoader::Listing listing
        = WineLoader(KESTRUNE_UDF_LOADER, KESTRUNE_WINE_PREFIX)
              .list(buildRoot() + "/solution/Debug/libudf/win64/3ddp/libudf.dll", {});
    QCOMPARE(listing.status, 2);
    QVERIFY2(listing.errors.startsWith("udfloader: cannot load Z:\\"), qPrintable(listing.errors));
}

// The adaptor file CParticleData.cpp is built into the host library only: the node's table must
// not name its functions, or the node library would not link.
void tst_EndToEnd::parallelCouplingBuildLoads()
{
    STEP(create("rbtnCoupling_Euler", 0,
        { "drag_law.c", "CParticleData.cpp", "momentum_source.cpp", "particle_settings.h" }));
    STEP(buildDebug());
    STEP(checkTables("edem_udf", { "3ddp_host", "3ddp_node" }, "coupling"));

    STEP(saveWithNewFunction("drag_law.c",
        "DEFINE_ON_DEMAND(report_rank)\n{\n    Message(\"rank %d\\n\", mport_rank());\n}\n",
        { "3ddp_host", "3ddp_node" }));
    STEP(buildDebug());
    checkTables("edem_udf", { "3ddp_host", "3ddp_node" }, "coupling_saved");
}

// A Chinese Windows reads batch files in code page 936, and project folders hold Chinese, blanks
// and any character a folder name may hold. Here Wine's own cmd.exe (an independent cmd, reading
// in 936 under the Chinese locale) runs every compile, against a current Fluent release.
void tst_EndToEnd::anyFolderNameOnAChineseWindows()
{
    if (!wineProblem.isEmpty())
        QSKIP(qPrintable(wineProblem));
    if (QProcess::execute("sh", { "-c", "locale -a | grep -qi '^zh_CN.utf-\\?8$'" }) != 0)
        QSKIP("the zh_CN.UTF-8 locale is not installed");
    projectFolder = fixture->root() + "/王工 &^%!()'$# 泵站/入口 研究";
    QVERIFY(QDir().mkpath(projectFolder));
    fixture->useInstallations(currentFluent, studio, edem);
    qputenv("PATH", QByteArray(KESTRUNE_WINE_CMD_BIN ":" KESTRUNE_STANDINS_BIN ":") + originalPath);

    STEP(create("rbtnFluentUdf", 0, { "inlet_profile.c", "heat_source.c", "wall_props.cpp" }));
    STEP(buildDebug());
    checkTables("libudf", { "3ddp_host", "3ddp_node" }, "current", currentFluent);
}

// Visual Studio 2026 gets FLUENTUDF.slnx from CMake 4.2 and later: cleaned, opened and built.
void tst_EndToEnd::visualStudio2026Solution()
{
    fixture->useInstallations(fluent, studio2026, edem);
    STEP(create("rbtnFluentUdf", 1, { "inlet_profile.c", "heat_source.c", "wall_props.cpp" }));
    const QString solution = buildRoot() + "/solution/FLUENTUDF.slnx";
    const QByteArray cleaned = filetree::read(solution);
    QVERIFY(cleaned.startsWith("<?xml") && !cleaned.contains("CMakePredefinedTargets"));
    QVERIFY(!QFileInfo::exists(buildRoot() + "/solution/FLUENTUDF.sln"));
    fixture->child<QPushButton>("btnOpenVsProject")->click();
    const QString log = studio2026 + "/Common7/IDE/devenv.log";
    QTRY_VERIFY(QString::fromUtf8(filetree::read(log)).startsWith(solution + "\n"));
    STEP(buildDebug());
    checkTables("libudf", { "3ddp" }, "serial");
}

// kestrune-cli builds a parallel solution with MSBuild and lays host and node into a Chinese case
// folder, where Fluent's loader finds them; the node links the MPI build of the multiport library.
void tst_EndToEnd::commandLineBuildIntoCaseFolder()
{
    projectFolder = fixture->root() + "/王工 CFD/并行 项目";
    const QString caseFolder = fixture->root() + "/算例/泵站 1";
    QStringList arguments { "create", "--project", projectFolder, "--mode", "parallel", "--fluent",
        currentFluent, "--vs", studio };
    for (const char *file : { "inlet_profile.c", "heat_source.c", "wall_props.cpp" }) {
        arguments << fixture->makeFile(QStringLiteral("picked files/") + file,
            filetree::read(QStringLiteral(KESTRUNE_TEST_DATA "/endtoend/sources/") + file));
    }
    QString output;
    QVERIFY2(run(KESTRUNE_CLI, arguments, output) == 0, qPrintable(output));
    QVERIFY2(run(KESTRUNE_CLI, { "build", buildRoot(), "--case", caseFolder }, output) == 0,
        qPrintable(output));
    QVERIFY2(output.contains("编译成功："), qPrintable(output));
    checkLibraries(caseFolder + "/libudf", { "3ddp_host", "3ddp_node" }, "current", currentFluent);
}

// The window's build command asks for the case folder on the first build and lays the library
// there.
void tst_EndToEnd::windowBuildIntoCaseFolder()
{
    STEP(create("rbtnFluentUdf", 1, { "inlet_profile.c", "heat_source.c", "wall_props.cpp" }));
    const QString caseFolder = fixture->root() + "/算例 2";
    QVERIFY(QDir().mkpath(caseFolder));
    QSignalSpy messages(fixture->window->statusBar(), &QStatusBar::messageChanged);
    answerer->expect(DialogAnswerer::chooseFolder(caseFolder));
    fixture->window->findChild<QAction *>("actionBuild")->trigger();
    QVERIFY(answerer->allAnswered());
    // The build's last word in the status bar: success, or the counts of a failure.
    const auto outcome = [&messages] {
        for (const QList<QVariant> &message : messages) {
            const QString text = message.at(0).toString();
            if (text.startsWith("编译成功") || text.startsWith("编译失败"))
                return text;
        }
        return QString();
    };
    QTRY_VERIFY_WITH_TIMEOUT(!outcome().isEmpty(), 60000);
    QVERIFY2(outcome().startsWith("编译成功："), qPrintable(outcome()));
    checkLibraries(caseFolder + "/libudf", { "3ddp" }, "serial");
}

void tst_EndToEnd::cmakeTooOldForVisualStudio2026()
{
    qputenv("KESTRUNE_STANDIN_CMAKE_VERSION", "3.31.6");
    fixture->useInstallations(fluent, studio2026, edem);
    STEP(create("rbtnFluentUdf", 1, { "inlet_profile.c" }, false));
    QCOMPARE(answerer->seen.last().text,
        QStringLiteral("所选的Visual Studio需要CMake 4.2或更新的版本，当前CMake的版本是3.31.6，"
                       "请更新CMake！！！"));
    QVERIFY(!QFileInfo::exists(buildRoot() + "/solution/FLUENTUDF.slnx"));
}

// Fluent refuses a library without a function table; so must the loader that stands in for it.
void tst_EndToEnd::loaderRefusesALibraryWithoutFunctionTable()
{
    if (!wineProblem.isEmpty())
        QSKIP(qPrintable(wineProblem));
    const WineLoader::Listing listing = WineLoader(KESTRUNE_UDF_LOADER, KESTRUNE_WINE_PREFIX)
                                            .list(fluent + "/ntbin/win64/fl1920.dll", {});
    QCOMPARE(listing.status, 3);
    QVERIFY(listing.output.isEmpty());
    QVERIFY2(listing.errors.contains("does not export UDF_Inquire_Release\n"),
        qPrintable(listing.errors));
}

QTEST_MAIN(tst_EndToEnd)
#include "tst_endtoend.moc"
