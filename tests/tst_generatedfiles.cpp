#include "buildtree.h"
#include "cmakefiles.h"
#include "kestrune.h"
#include "solutioncleanup.h"

#include "helpers/filetree.h"
#include "helpers/goldenfile.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

// Faults that must lose nothing: a full disk or a read-only file while a generated file is written
// or cleaned, cmake stopped while it writes the solution, a compile of the function table stopped
// half way. Tools are small scripts put first on PATH, so each fault happens where the test wants.
class tst_GeneratedFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fileLeftAsItWas_data();
    void fileLeftAsItWas();
    void solutionThatCannotBeCleaned_data();
    void solutionThatCannotBeCleaned();
    void cmakeStoppedMidRun_data();
    void cmakeStoppedMidRun();
    void interruptedCompileKeepsThePreviousObject_data();
    void interruptedCompileKeepsThePreviousObject();

private:
    QString root() const { return tempDir->path() + "/project/buildByVarnholt"; }
    void useTools(const QByteArray &cmake, const QByteArray &cmd = QByteArray());
    CKestrune::CreateRequest request() const;

    QByteArray originalPath;
    QScopedPointer<QTemporaryDir> tempDir;
};

namespace {

const QString installations = QStringLiteral(KESTRUNE_STANDIN_INSTALLATIONS);
const QString sample = QStringLiteral(KESTRUNE_VS_GENERATOR_SAMPLE);

// Writes beyond this many bytes fail, as they would on a full disk, until the object goes.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &previous);
        const rlimit limited { bytes, previous.rlim_max };
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &previous); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit previous {};
};

bool makeReadOnly(const QString &path)
{
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
}

QByteArray script(const QByteArray &body)
{
    return "#!/bin/sh\n" + body + "\n";
}

} // namespace

void tst_GeneratedFiles::initTestCase()
{
    originalPath = qgetenv("PATH");
    // A write over the size limit then fails with EFBIG instead of ending the test.
    std::signal(SIGXFSZ, SIG_IGN);
    qRegisterMetaType<BuildEvents::Step>();
}

void tst_GeneratedFiles::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
}

void tst_GeneratedFiles::cleanup()
{
    qputenv("PATH", originalPath);
}

// cmake, and cmd.exe when given, are the scripts; otherwise the stand-in cmd.exe compiles.
void tst_GeneratedFiles::useTools(const QByteArray &cmake, const QByteArray &cmd)
{
    const QString bin = tempDir->path() + "/bin";
    const QFile::Permissions executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    QVERIFY(filetree::write(bin + "/cmake", script(cmake)));
    QVERIFY(QFile::setPermissions(bin + "/cmake", executable));
    if (!cmd.isEmpty()) {
        QVERIFY(filetree::write(bin + "/cmd.exe", script(cmd)));
        QVERIFY(QFile::setPermissions(bin + "/cmd.exe", executable));
    }
    qputenv("PATH", QFile::encodeName(bin) + ":" + KESTRUNE_STANDINS_BIN + ":" + originalPath);
}

CKestrune::CreateRequest tst_GeneratedFiles::request() const
{
    CKestrune::CreateRequest request;
    request.projectFolder = tempDir->path() + "/project";
    request.sources << filetree::make(
        tempDir->path() + "/picked", "inlet.c", "DEFINE_ON_DEMAND(inlet)\n{\n}\n");
    request.variant = "3ddp_host";
    request.fluentPath = installations + "/ANSYS Inc/v192/fluent";
    request.vsPath = installations + "/Microsoft Visual Studio/2019/Community";
    return request;
}

void tst_GeneratedFiles::fileLeftAsItWas_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("diskFull");
    for (const char *file :
        { "CMakeLists.txt", "3ddp_host/CMakeLists.txt", "solution/FLUENTUDF.sln",
            "solution/3ddp_host/3ddp_host.vcxproj", "solution/FLUENTUDF.slnx" }) {
        QTest::addRow("%s, disk full", file) << file << true;
        QTest::addRow("%s, read-only", file) << file << false;
    }
}

// The file had something before; whatever stopped the write, it still has exactly that.
void tst_GeneratedFiles::fileLeftAsItWas()
{
    QFETCH(QString, file);
    QFETCH(bool, diskFull);
    const QString path = root() + "/" + file;
    const QByteArray previous = file.endsWith(".slnx")
        ? QByteArray("<Solution>\r\n  <Project Path=\"ALL_BUILD.vcxproj\"/>\r\n"
                     "  <Project Path=\"3ddp_host/3ddp_host.vcxproj\"/>\r\n</Solution>\r\n")
        : file.startsWith("solution/") ? filetree::read(sample + file.mid(8))
                                       : QByteArray("# written by an earlier build\r\n");
    QVERIFY(filetree::write(path, previous));
    if (!diskFull)
        QVERIFY(makeReadOnly(path));

    FileResult result;
    {
        QScopedPointer<FileSizeLimit> limit(diskFull ? new FileSizeLimit(48) : nullptr);
        if (file == "CMakeLists.txt")
            CMakeFiles::writeTopLevel(root(), "3ddp_host", &result);
        else if (file.endsWith("/CMakeLists.txt"))
            CMakeFiles::writeVariant(
                { false, {}, { root() + "/src/inlet.c" }, "3ddp_host",
                    installations + "/ANSYS Inc/v192/fluent", {}, root() + "/3ddp_host" },
                &result);
        else if (file.endsWith(".sln"))
            result = SolutionCleanup::removeCMakeProjectsFromSln(path);
        else if (file.endsWith(".slnx"))
            result = SolutionCleanup::removeCMakeProjectsFromSlnx(path);
        else
            result = SolutionCleanup::removeCustomBuildFromVcxproj(path);
    }
    QCOMPARE(result.path, path);
    QVERIFY(!result.succeeded());
    QCOMPARE(filetree::read(path), previous);
    QCOMPARE(QDir(QFileInfo(path).path()).entryList({ ".*", "*~" }, QDir::Files | QDir::Hidden),
        QStringList());
}

void tst_GeneratedFiles::solutionThatCannotBeCleaned_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("file");
    QTest::newRow("nothing in the way") << ""
                                        << "";
    QTest::newRow("read-only solution") << "read-only"
                                        << "FLUENTUDF.sln";
    QTest::newRow("read-only node project") << "read-only"
                                            << "3ddp_node/3ddp_node.vcxproj";
    QTest::newRow("disk full") << "disk full"
                               << "FLUENTUDF.sln";
}

// cmake writes CMake's own Visual Studio 2019 solution; the fault strikes as the clean-up begins.
void tst_GeneratedFiles::solutionThatCannotBeCleaned()
{
    QFETCH(QString, fault);
    QFETCH(QString, file);
    useTools("mkdir -p \"$5\" && cp -R '" + QFile::encodeName(sample) + "/.' \"$5\"");
    const QString solution = root() + "/solution/";
    CKestrune engine;
    QScopedPointer<FileSizeLimit> limit;
    // Direct: the steps are reported from the build's own thread, before the clean-up runs.
    connect(
        engine.events(), &BuildEvents::stepStarted, this,
        [&](BuildEvents::Step step) {
            if (step == BuildEvents::Step::CleanUp && fault == "read-only")
                QVERIFY(makeReadOnly(solution + file));
            if (step == BuildEvents::Step::CleanUp && fault == "disk full")
                limit.reset(new FileSizeLimit(48));
        },
        Qt::DirectConnection);
    connect(
        engine.events(), &BuildEvents::stepFinished, this, [&] { limit.reset(); },
        Qt::DirectConnection);

    const CKestrune::BuildOutcome outcome = engine.createSolution(request());
    limit.reset();
    QCOMPARE(outcome.succeeded(), fault.isEmpty());
    QCOMPARE(outcome.solutionPath, solution + "FLUENTUDF.sln");
    if (fault.isEmpty()) {
        QVERIFY(outcome.cleanup.failures.isEmpty());
        QVERIFY(outcome.cleanup.rewrittenFiles.contains(solution + "FLUENTUDF.sln"));
        return;
    }
    QStringList failed;
    for (const FileResult &failure : outcome.cleanup.failures)
        failed << failure.path.mid(solution.size());
    QVERIFY2(failed.contains(file), qPrintable(failed.join(", ")));
    QCOMPARE(filetree::read(solution + file), filetree::read(sample + "/" + file));
    // A read-only file stops only itself: the rest of the solution is cleaned.
    if (fault == "read-only") {
        QCOMPARE(failed, QStringList { file });
        QVERIFY(!filetree::read(solution + "3ddp_host/3ddp_host.vcxproj").contains("CustomBuild"));
    }
}

void tst_GeneratedFiles::cmakeStoppedMidRun_data()
{
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("killed") << QByteArray("kill -9 $$") << false;
    QTest::newRow("cancelled") << QByteArray("exec sleep 60") << true;
}

// cmake has written the head of the solution when it is stopped.
void tst_GeneratedFiles::cmakeStoppedMidRun()
{
    QFETCH(QByteArray, after);
    QFETCH(bool, cancelled);
    useTools("mkdir -p \"$5\" && printf 'Microsoft Visual Studio Solution File\\r\\nProject(' "
             "> \"$5/FLUENTUDF.sln\"\n"
        + after);
    const QString half = root() + "/solution/FLUENTUDF.sln";
    CKestrune engine;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (QFileInfo(half).size() > 0)
            engine.cancelCreate();
    });
    if (cancelled)
        poll.start(20);

    const CKestrune::BuildOutcome outcome = engine.createSolution(request());
    QVERIFY(!outcome.succeeded());
    QCOMPARE(outcome.cancelled, cancelled);
    QVERIFY(outcome.solutionPath.isEmpty());
    QVERIFY(CKestrune::solutionFileOf(root()).isEmpty());
    QVERIFY(!QFileInfo::exists(root() + "/solution"));
}

void tst_GeneratedFiles::interruptedCompileKeepsThePreviousObject_data()
{
    QTest::addColumn<QByteArray>("cmd");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<bool>("kept");
    QTest::newRow("cancelled") << QByteArray("echo half > udf_names.obj; exec sleep 60") << 30000
                               << true;
    QTest::newRow("timed out") << QByteArray("echo half > udf_names.obj; exec sleep 60") << 500
                               << true;
    QTest::newRow("failed") << QByteArray("echo half > udf_names.obj; exit 2") << 30000 << false;
}

void tst_GeneratedFiles::interruptedCompileKeepsThePreviousObject()
{
    QFETCH(QByteArray, cmd);
    QFETCH(int, timeoutMs);
    QFETCH(bool, kept);
    useTools("exit 0", cmd);
    const QString host = root() + "/3ddp_host";
    const QByteArray previous = "table of the build before";
    QVERIFY(filetree::write(host + "/udf_names.obj", previous));
    CKestrune engine;
    engine.setProcessTimeoutsForTesting(timeoutMs);
    if (QByteArray(QTest::currentDataTag()) == "cancelled") {
        connect(engine.events(), &BuildEvents::toolStarted, &engine,
            [&engine] { QTimer::singleShot(200, &engine, [&engine] { engine.cancelCreate(); }); });
    }

    const CKestrune::BuildOutcome outcome = engine.createSolution(request());
    QVERIFY(!outcome.succeeded());
    QVERIFY(outcome.variantsWithoutObject.contains("3ddp_host"));
    QCOMPARE(
        QDir(host).entryList(QDir::Files), kept ? QStringList { "udf_names.obj" } : QStringList());
    if (kept)
        QCOMPARE(filetree::read(host + "/udf_names.obj"), previous);
}

QTEST_GUILESS_MAIN(tst_GeneratedFiles)
#include "tst_generatedfiles.moc"
