#include "kestrune.h"

#include "helpers/filetree.h"
#include "helpers/queuedevents.h"

#include <QtTest>

// A build root outlives the engine that made it: its record is written and read back (a later
// engine's resume and refresh are the window's, the command line's and the library build's tests),
// a create over it keeps the user's edited copies while the solution is made again for other
// options, and a watch goes on when generated folders are deleted under it.
class tst_Resume : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void recordDescribesTheBuild();
    void unusableRecords_data();
    void unusableRecords();
    void regenerationInPlaceKeepsEditedCopies();
    void foldersDeletedDuringAWatch();

private:
    CKestrune::CreateRequest request(const QString &variant) const;
    QByteArray objectOf(const QString &variant) const;
    QString root() const { return temp->path() + "/project/buildByVarnholt"; }

    QByteArray originalPath;
    QScopedPointer<QTemporaryDir> temp;
};

static const QString installations = QStringLiteral(KESTRUNE_STANDIN_INSTALLATIONS);

void tst_Resume::initTestCase()
{
    originalPath = qgetenv("PATH");
    qputenv("PATH", QByteArray(KESTRUNE_STANDINS_BIN) + ":" + originalPath);
    if (!QFileInfo::exists(installations + "/ANSYS Inc/v192/fluent"))
        QSKIP("The stand-in installations were not laid out (no llvm-dlltool)");
}

void tst_Resume::init()
{
    temp.reset(new QTemporaryDir);
    QVERIFY(temp->isValid());
}

void tst_Resume::cleanupTestCase()
{
    qputenv("PATH", originalPath);
}

CKestrune::CreateRequest tst_Resume::request(const QString &variant) const
{
    CKestrune::CreateRequest request;
    request.projectFolder = temp->path() + "/project";
    request.sources << filetree::make(temp->path() + "/picked", "inlet.c",
        "#include \"udf.h\"\nDEFINE_PROFILE(inlet_velocity, t, i) { }\n");
    request.headers << filetree::make(temp->path() + "/picked", "props.h", "#define RHO 1.2\n");
    request.variant = variant;
    request.fluentPath = installations + "/ANSYS Inc/v192/fluent";
    request.vsPath = installations + "/Microsoft Visual Studio/2019/Community";
    return request;
}

QByteArray tst_Resume::objectOf(const QString &variant) const
{
    return filetree::read(root() + "/" + variant + "/udf_names.obj");
}

void tst_Resume::recordDescribesTheBuild()
{
    CKestrune engine;
    const CKestrune::BuildOutcome outcome = engine.createSolution(request("3ddp_host"));
    QVERIFY(outcome.succeeded());
    QVERIFY(outcome.recordWritten);

    // On disk the copies are named relative to the build root, so the project folder can move.
    const QJsonObject stored
        = QJsonDocument::fromJson(filetree::read(root() + "/kestrune.json")).object();
    QCOMPARE(stored.value("sources").toArray(), QJsonArray({ "src/inlet.c" }));
    QCOMPARE(stored.value("headers").toArray(), QJsonArray({ "include/props.h" }));
    QCOMPARE(stored.value("nodeSources").toArray(), QJsonArray({ "src/inlet.c" }));

    BuildRecord record;
    QCOMPARE(BuildRecordFile::read(root(), record), BuildRecordFile::Status::Read);
    QCOMPARE(record.variant, QStringLiteral("3ddp_host"));
    QVERIFY(!record.coupling);
    QCOMPARE(record.sources, QStringList { root() + "/src/inlet.c" });
    QCOMPARE(record.headers, QStringList { root() + "/include/props.h" });
    QCOMPARE(record.vsPath, request("3ddp_host").vsPath);
    QCOMPARE(record.fluentPath, request("3ddp_host").fluentPath);
    // The project folder and the build root name the same build.
    QCOMPARE(BuildRecordFile::buildRootOf(temp->path() + "/project"), root());
    QCOMPARE(BuildRecordFile::buildRootOf(root()), root());
}

void tst_Resume::unusableRecords_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("status");
    const QByteArray good = R"({"format": 1, "buildType": "udf", "variant": "3ddp",
        "headers": [], "nodeSources": [], "sources": ["src/a.c"]})";
    QTest::newRow("valid") << good << int(BuildRecordFile::Status::Read);
    QTest::newRow("none") << QByteArray() << int(BuildRecordFile::Status::Missing);
    QTest::newRow("not JSON") << QByteArray("{\"format\": 1,")
                              << int(BuildRecordFile::Status::Unreadable);
    QTest::newRow("a later format") << QByteArray(good).replace("\"format\": 1", "\"format\": 2")
                                    << int(BuildRecordFile::Status::Unreadable);
    QTest::newRow("unknown variant")
        << QByteArray(good).replace("3ddp", "4d") << int(BuildRecordFile::Status::Unreadable);
    QTest::newRow("a node variant") << QByteArray(good).replace("3ddp", "3ddp_node")
                                    << int(BuildRecordFile::Status::Unreadable);
    QTest::newRow("no source") << QByteArray(good).replace("\"src/a.c\"", "")
                               << int(BuildRecordFile::Status::Unreadable);
    QTest::newRow("a source outside the build root") << QByteArray(good).replace(
        "src/a.c", "../../etc/passwd") << int(BuildRecordFile::Status::Unreadable);
    QTest::newRow("an absolute source") << QByteArray(good).replace("src/a.c", "/etc/passwd")
                                        << int(BuildRecordFile::Status::Unreadable);
}

// A record the engine did not write, or cannot trust, is refused whole: nothing is watched.
void tst_Resume::unusableRecords()
{
    QFETCH(QByteArray, content);
    QFETCH(int, status);
    QVERIFY(QDir().mkpath(root()));
    if (!content.isEmpty())
        QVERIFY(filetree::write(root() + "/kestrune.json", content));
    CKestrune engine;
    QString error;
    QCOMPARE(int(engine.resumeBuild(temp->path() + "/project", &error)), status);
    const bool read = status == int(BuildRecordFile::Status::Read);
    QCOMPARE(engine.watchedSources().isEmpty(), !read || !QFileInfo::exists(root() + "/src/a.c"));
    QCOMPARE(engine.recordedBuild().variant.isEmpty(), !read);
    QCOMPARE(error.isEmpty(), status != int(BuildRecordFile::Status::Unreadable));
}

// The edited copy is the user's work: a regeneration for other options keeps it byte for byte and
// builds from it, and the serial variant's folder, no longer built, goes.
void tst_Resume::regenerationInPlaceKeepsEditedCopies()
{
    CKestrune engine;
    QVERIFY(engine.createSolution(request("3ddp")).succeeded());
    const QString copy = root() + "/src/inlet.c";
    const QByteArray edited = filetree::read(copy) + "DEFINE_ON_DEMAND(edited_in_vs)\n{\n}\n";
    QVERIFY(filetree::write(copy, edited));
    QVERIFY(filetree::write(root() + "/3ddp/notes.txt", "mine"));

    CKestrune::CreateRequest again = request("3ddp_host");
    again.regenerateInPlace = true;
    again.sources << filetree::make(temp->path() + "/picked", "wall.c", "int wall;\n");
    const CKestrune::BuildOutcome outcome = engine.createSolution(again);
    QVERIFY(outcome.succeeded());
    QCOMPARE(outcome.keptCopies, QStringList { copy });
    QCOMPARE(filetree::read(copy), edited);
    QCOMPARE(filetree::read(root() + "/src/wall.c"), QByteArray("int wall;\n"));
    QVERIFY(objectOf("3ddp_node").contains("edited_in_vs"));
    QVERIFY(QFileInfo::exists(root() + "/solution/3ddp_host/3ddp_host.vcxproj"));
    QVERIFY(!QFileInfo::exists(root() + "/solution/3ddp"));
    // Only what Kestrune generated leaves the old variant's folder.
    QCOMPARE(QDir(root() + "/3ddp").entryList(QDir::Files), QStringList { "notes.txt" });
    BuildRecord record;
    QCOMPARE(BuildRecordFile::read(root(), record), BuildRecordFile::Status::Read);
    QCOMPARE(record.variant, QStringLiteral("3ddp_host"));
    QCOMPARE(record.sources.size(), 2);
}

// The user deletes what Kestrune generated while it watches: without the solution the tables are
// still made; without a variant's folder that variant is reported as failed, and the engine goes
// on watching.
void tst_Resume::foldersDeletedDuringAWatch()
{
    CKestrune engine;
    QVERIFY(engine.createSolution(request("3ddp")).succeeded());
    QueuedEvents events(engine.events());
    QSignalSpy regenerated(&events, &BuildEvents::tablesRegenerated);
    const QString source = root() + "/src/inlet.c";

    QVERIFY(QDir(root() + "/solution").removeRecursively());
    QVERIFY(filetree::write(source, filetree::read(source) + "DEFINE_INIT(first, d) { }\n"));
    QTRY_COMPARE_WITH_TIMEOUT(regenerated.size(), 1, 20000);
    QCOMPARE(regenerated.at(0).at(2).toStringList(), QStringList());
    QVERIFY(objectOf("3ddp").contains("first"));

    QVERIFY(QDir(root() + "/3ddp").removeRecursively());
    QVERIFY(filetree::write(source, filetree::read(source) + "DEFINE_INIT(second, d) { }\n"));
    QTRY_COMPARE_WITH_TIMEOUT(regenerated.size(), 2, 20000);
    QCOMPARE(regenerated.at(1).at(2).toStringList(), QStringList { "3ddp" });
    QVERIFY(!QFileInfo::exists(root() + "/3ddp"));
    QCOMPARE(engine.watchedSources(), QStringList { source });
    QVERIFY(!engine.refreshTables().succeeded());
}

QTEST_GUILESS_MAIN(tst_Resume)
#include "tst_resume.moc"
