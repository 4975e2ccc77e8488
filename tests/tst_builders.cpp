#include "kestrune.h"

#include "helpers/filetree.h"
#include "helpers/goldenfile.h"

#include <QtTest>

// Whole builds through the stand-ins: the stand-in cmd.exe compiles udf_names.obj against the
// stand-in installations; cmake is either a program that only records its call (cheap, for every
// variant) or the stand-in that writes a Visual Studio solution through the real CMake.
class tst_Builders : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void everyVariant_data();
    void everyVariant();
    void adaptorFilesStayOutOfTheNode_data();
    void adaptorFilesStayOutOfTheNode();
    void savedSourceRegeneratesFromTheRecordedLists_data();
    void savedSourceRegeneratesFromTheRecordedLists();
    void topLevelFileCannotBeWritten();
    void rebuildOverAnExistingRoot_data();
    void rebuildOverAnExistingRoot();
    void throughTheRealCMake_data();
    void throughTheRealCMake();

private:
    enum class CMakeKind { Recording, Real };
    void useCMake(CMakeKind kind);
    QString root() const { return tempDir->path() + "/" + projectFolder + "/buildByVarnholt"; }
    QStringList writeFiles(const QString &folder, const QStringList &names);
    bool build(bool coupling, const QStringList &headers, const QStringList &sources,
        const QString &variant, const QString &buildRoot);
    bool builtUpToTheSolution(bool coupling, const QStringList &headers, const QStringList &sources,
        const QString &variant, const QString &buildRoot);
    QString recorded(const QString &relativePath, int call = 1) const;

    QByteArray originalPath;
    QString projectFolder;
    QScopedPointer<QTemporaryDir> tempDir;
    QScopedPointer<CKestrune> engine;
};

static const QString installations = QStringLiteral(KESTRUNE_STANDIN_INSTALLATIONS);
static const QString fluentPath = installations + "/ANSYS Inc/v192/fluent";
static const QString vsPath = installations + "/Microsoft Visual Studio/2019/Community";
static const QString edemPath = installations + "/DEM Solutions/EDEM 2018";

void tst_Builders::initTestCase()
{
    originalPath = qgetenv("PATH");
    QVERIFY2(QFileInfo(fluentPath).isDir(), qPrintable(fluentPath));
}

void tst_Builders::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
    engine.reset(new CKestrune);
    projectFolder = "cfd";
    qputenv("KESTRUNE_RECORDING_CMAKE_LOG", QFile::encodeName(tempDir->path() + "/calls"));
    useCMake(CMakeKind::Recording);
}

void tst_Builders::cleanup()
{
    qputenv("PATH", originalPath);
}

// QProcess finds "cmake" and "cmd.exe" through the PATH of this process.
void tst_Builders::useCMake(CMakeKind kind)
{
    const QByteArray separator(1, QDir::listSeparator().toLatin1());
    QByteArray path = QFile::encodeName(KESTRUNE_STANDINS_BIN) + separator + originalPath;
    if (kind == CMakeKind::Recording)
        path = QFile::encodeName(KESTRUNE_RECORDING_CMAKE_BIN) + separator + path;
    qputenv("PATH", path);
}

// Every source defines one function named after its file, so a table tells which sources it saw.
static QByteArray functionOf(const QString &fileName)
{
    const QByteArray hash = QCryptographicHash::hash(fileName.toUtf8(), QCryptographicHash::Md5);
    return "demand_" + hash.toHex().left(8);
}

QStringList tst_Builders::writeFiles(const QString &folder, const QStringList &names)
{
    QStringList paths;
    for (const QString &name : names) {
        const QByteArray content = folder == "src" ? "#include \"udf.h\"\n\nDEFINE_ON_DEMAND("
                + functionOf(name) + ")\n{\n    Message(\"on demand\\n\");\n}\n"
                                                   : QByteArray("#define RHO 1.225\n");
        paths << root() + "/" + folder + "/" + name;
        if (!filetree::write(paths.constLast(), content))
            return {};
    }
    return paths;
}

bool tst_Builders::build(bool coupling, const QStringList &headers, const QStringList &sources,
    const QString &variant, const QString &buildRoot)
{
    return coupling
        ? engine->buildCouplingSolution(
            headers, sources, variant, fluentPath, edemPath, vsPath, buildRoot)
        : engine->buildUdfSolution(headers, sources, variant, fluentPath, vsPath, buildRoot);
}

// The recording cmake writes no solution: every step before it must have worked, and the build
// must not count as done.
bool tst_Builders::builtUpToTheSolution(bool coupling, const QStringList &headers,
    const QStringList &sources, const QString &variant, const QString &buildRoot)
{
    const bool done = build(coupling, headers, sources, variant, buildRoot);
    const CKestrune::BuildOutcome &outcome = engine->lastBuildOutcome();
    return !done && outcome.topLevelFileWritten && outcome.variantsWithoutObject.isEmpty()
        && outcome.cmakeProblem == CKestrune::BuildOutcome::CMakeProblem::NoSolution;
}

QString tst_Builders::recorded(const QString &relativePath, int call) const
{
    return QString::fromUtf8(golden::readAll(
        tempDir->path() + QStringLiteral("/calls/call-%1/").arg(call) + relativePath));
}

static QStringList linesStartingWith(const QString &text, const QString &prefix)
{
    QStringList found;
    const QStringList lines = text.split("\r\n");
    for (const QString &line : lines) {
        if (line.startsWith(prefix))
            found << line;
    }
    return found;
}

static QString setSourcesLine(const QString &cmakeLists)
{
    return linesStartingWith(cmakeLists, "set(SOURCES ").value(0);
}

static QString quotedList(const QStringList &paths)
{
    QString text;
    for (const QString &path : paths)
        text += '"' + path + "\" ";
    return text;
}

void tst_Builders::everyVariant_data()
{
    QTest::addColumn<bool>("coupling");
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("directories");
    QTest::addColumn<QString>("topGolden");
    const QStringList serial { "3ddp", "3d", "2ddp", "2d" };
    for (const bool coupling : { false, true }) {
        const char *type = coupling ? "coupling" : "udf";
        for (const QString &variant : serial) {
            const QString golden = !coupling && variant == "3ddp" ? "top_serial" : "";
            QTest::addRow("%s %s", type, qPrintable(variant))
                << coupling << variant << QStringList { variant } << golden;
        }
        for (const QString &variant : serial) {
            const QString host = variant + "_host";
            const QString golden = !coupling && variant == "3ddp" ? "top_host" : "";
            QTest::addRow("%s %s", type, qPrintable(host))
                << coupling << host << QStringList { host, variant + "_node" } << golden;
        }
    }
}

void tst_Builders::everyVariant()
{
    QFETCH(bool, coupling);
    QFETCH(QString, variant);
    QFETCH(QStringList, directories);
    QFETCH(QString, topGolden);
    const QStringList headers = writeFiles("include", { "props.h" });
    const QStringList sources = writeFiles("src", { "inlet.c", "wall.c" });

    QVERIFY(builtUpToTheSolution(coupling, headers, sources, variant, root()));

    const QString arguments
        = QStringList { root(), "-G", "Visual Studio 16 2019", "-B", root() + "/solution" }.join(
              '\n')
        + '\n';
    QCOMPARE(recorded("arguments.txt"), arguments);
    QStringList subdirectoryLines;
    for (const QString &directory : directories)
        subdirectoryLines << "add_subdirectory(" + directory + ")";
    QCOMPARE(linesStartingWith(recorded("CMakeLists.txt"), "add_subdirectory("), subdirectoryLines);
    if (!topGolden.isEmpty()) {
        const QByteArray top = golden::normalized(
            recorded("CMakeLists.txt").toUtf8(), { { tempDir->path(), "@ROOT@" } });
        QVERIFY(golden::matches(top, "solution/" + topGolden + "/expected/CMakeLists.txt"));
    }
    for (const QString &directory : directories) {
        const QString lists = recorded(directory + "/CMakeLists.txt");
        QVERIFY2(lists.contains("\r\nproject(" + directory + ")\r\n"), qPrintable(directory));
        QCOMPARE(lists.contains("set(EDEM_INC "), coupling);
        QCOMPARE(setSourcesLine(lists), "set(SOURCES " + quotedList(sources) + ")");
        // What the build root keeps: the table object, no CMake input, no table temporaries.
        const QString path = root() + "/" + directory;
        QVERIFY2(QFileInfo::exists(path + "/udf_names.obj"), qPrintable(path));
        QCOMPARE(QDir(path).entryList(QDir::Files), QStringList { "udf_names.obj" });
    }
    QCOMPARE(QDir(tempDir->path() + "/calls/call-1").entryList(QDir::Dirs | QDir::NoDotAndDotDot),
        directories);
    QVERIFY(!QFileInfo::exists(root() + "/CMakeLists.txt"));
    // A cmake that wrote no solution must not leave an empty one that passes for it.
    QVERIFY(!QFileInfo::exists(root() + "/solution/FLUENTUDF.sln"));
    QCOMPARE(engine->watchedSources(), sources);
}

void tst_Builders::adaptorFilesStayOutOfTheNode_data()
{
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<QStringList>("nodeSources");
    QTest::newRow("adaptor and main")
        << QStringList { "AdaptorInterface.cpp", "main.c" } << QStringList { "main.c" };
    QTest::newRow("every adaptor file") << QStringList { "AdaptorInterface.cpp",
        "CAdaptorQuaternion.cpp", "CCellAndThreadData.cpp", "CFluentParticleData.cpp",
        "CParticleData.cpp", "drag.c" } << QStringList { "drag.c" };
    QTest::newRow("name inside a longer name")
        << QStringList { "MyCParticleData.cpp", "drag.c" } << QStringList { "drag.c" };
    QTest::newRow("other letter case is no adaptor") << QStringList { "cparticledata.cpp",
        "drag.c" } << QStringList { "cparticledata.cpp", "drag.c" };
    // CMake then refuses a library without sources; the build itself goes on.
    QTest::newRow("adaptor files only")
        << QStringList { "AdaptorInterface.cpp", "CParticleData.cpp" } << QStringList();
}

void tst_Builders::adaptorFilesStayOutOfTheNode()
{
    QFETCH(QStringList, sources);
    QFETCH(QStringList, nodeSources);
    const QStringList sourcePaths = writeFiles("src", sources);
    QStringList nodePaths;
    for (const QString &name : nodeSources)
        nodePaths << root() + "/src/" + name;

    QVERIFY(builtUpToTheSolution(true, {}, sourcePaths, "2ddp_host", root()));

    QCOMPARE(setSourcesLine(recorded("2ddp_host/CMakeLists.txt")),
        "set(SOURCES " + quotedList(sourcePaths) + ")");
    QCOMPARE(setSourcesLine(recorded("2ddp_node/CMakeLists.txt")),
        "set(SOURCES " + quotedList(nodePaths) + ")");
    // The node's function table must not name an adaptor function, the host's names them all.
    const QByteArray hostTable = golden::readAll(root() + "/2ddp_host/udf_names.obj");
    const QByteArray nodeTable = golden::readAll(root() + "/2ddp_node/udf_names.obj");
    for (const QString &name : sources) {
        const QByteArray function = functionOf(name);
        QVERIFY2(hostTable.contains(function), function.constData());
        QCOMPARE(nodeTable.contains(function), nodeSources.contains(name));
    }
    QCOMPARE(engine->watchedSources(), sourcePaths);
}

void tst_Builders::savedSourceRegeneratesFromTheRecordedLists_data()
{
    QTest::addColumn<bool>("coupling");
    QTest::newRow("coupling: node without the adaptor") << true;
    QTest::newRow("udf: node with every source") << false;
}

// The watcher's regeneration works from what the builder recorded, the node's own list included.
void tst_Builders::savedSourceRegeneratesFromTheRecordedLists()
{
    QFETCH(bool, coupling);
    const QStringList sources = writeFiles("src", { "AdaptorInterface.cpp", "drag.c" });
    QVERIFY(builtUpToTheSolution(coupling, {}, sources, "3ddp_host", root()));
    for (const char *directory : { "/3ddp_host", "/3ddp_node" })
        QVERIFY(QFile::remove(root() + directory + "/udf_names.obj"));

    engine->onSourceFileChanged(sources.constLast());

    const QByteArray hostTable = golden::readAll(root() + "/3ddp_host/udf_names.obj");
    const QByteArray nodeTable = golden::readAll(root() + "/3ddp_node/udf_names.obj");
    QVERIFY(hostTable.contains(functionOf("AdaptorInterface.cpp")));
    QVERIFY(nodeTable.contains(functionOf("drag.c")));
    QCOMPARE(nodeTable.contains(functionOf("AdaptorInterface.cpp")), !coupling);
}

void tst_Builders::topLevelFileCannotBeWritten()
{
    const QStringList sources = writeFiles("src", { "a.c" });
    const QString blocked = root() + "/CMakeLists.txt";
    QVERIFY(QDir().mkpath(blocked));

    QVERIFY(!build(false, {}, sources, "3ddp_host", root()));
    const FileResults failed = engine->lastBuildOutcome().failedWrites;
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.constFirst().path, blocked);
    QVERIFY(!QFileInfo::exists(root() + "/3ddp_host"));
    QVERIFY(!QFileInfo::exists(root() + "/3ddp_node"));
    QVERIFY(!QFileInfo::exists(tempDir->path() + "/calls"));
    // The engine already describes the new build: the watcher follows its sources.
    QCOMPARE(engine->watchedSources(), sources);
}

void tst_Builders::rebuildOverAnExistingRoot_data()
{
    QTest::addColumn<bool>("coupling");
    QTest::addColumn<QString>("variant");
    QTest::newRow("serial") << true << "2ddp";
    QTest::newRow("parallel") << false << "3d_host";
}

void tst_Builders::rebuildOverAnExistingRoot()
{
    QFETCH(bool, coupling);
    QFETCH(QString, variant);
    const QStringList first = writeFiles("src", { "a.c", "b.c" });
    QVERIFY(builtUpToTheSolution(coupling, {}, first, variant, root()));
    const QStringList second = writeFiles("src", { "b.c", "c.c" });

    QVERIFY(builtUpToTheSolution(coupling, {}, second, variant, root()));
    QCOMPARE(setSourcesLine(recorded(variant + "/CMakeLists.txt", 2)),
        "set(SOURCES " + quotedList(second) + ")");
    QCOMPARE(engine->watchedSources(), second);
    QVERIFY(!QFileInfo::exists(root() + "/" + variant + "/CMakeLists.txt"));
}

void tst_Builders::throughTheRealCMake_data()
{
    QTest::addColumn<bool>("coupling");
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("projectFolder");
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<QString>("treeGolden");
    QTest::newRow("udf, parallel, blanks and Chinese in the build root")
        << false << "3ddp_host"
        << "Li Wei/流体 项目" << QStringList { "inlet profile.c", "壁面.c" } << "real_udf_host";
    QTest::newRow("coupling, parallel, adaptor file")
        << true << "3d_host"
        << "cfd" << QStringList { "AdaptorInterface.cpp", "drag.c" } << "real_coupling_host";
    QTest::newRow("coupling, serial")
        << true << "2d"
        << "cfd" << QStringList { "drag.c" } << "real_coupling_serial";
}

// Every Project line of a solution names one project: its name is the first quoted text after "=".
static QStringList projectNames(const QString &slnPath)
{
    QStringList names;
    const QStringList lines = QString::fromUtf8(golden::readAll(slnPath)).split("\r\n");
    for (const QString &line : lines) {
        if (line.startsWith("Project("))
            names << line.section('"', 3, 3);
    }
    return names;
}

void tst_Builders::throughTheRealCMake()
{
    QFETCH(bool, coupling);
    QFETCH(QString, variant);
    QFETCH(QStringList, sources);
    QFETCH(QString, treeGolden);
    QFETCH(QString, projectFolder);
    this->projectFolder = projectFolder;
    useCMake(CMakeKind::Real);
    const QStringList headers = writeFiles("include", { "props.h" });
    const QStringList sourcePaths = writeFiles("src", sources);

    QVERIFY(build(coupling, headers, sourcePaths, variant, root()));
    QCOMPARE(engine->lastBuildOutcome().solutionPath, root() + "/solution/FLUENTUDF.sln");

    QVERIFY(golden::matches(
        filetree::listing(root()).toUtf8(), "solution/" + treeGolden + "/expected/tree.txt"));
    const bool parallel = variant.endsWith("_host");
    const QString node = variant.left(variant.size() - 4) + "node";
    const QStringList variants = parallel ? QStringList { variant, node } : QStringList { variant };
    QCOMPARE(projectNames(root() + "/solution/FLUENTUDF.sln"), variants);
    for (const QString &directory : variants) {
        const QString folder = root() + "/solution/" + directory + "/";
        QCOMPARE(projectNames(folder + directory + ".sln"), QStringList { directory });
        const QString project = QString::fromUtf8(golden::readAll(folder + directory + ".vcxproj"));
        QVERIFY(!project.contains("CustomBuild"));
        QVERIFY(project.contains(
            QString(root() + "/" + directory + "/udf_names.obj").replace('/', '\\')));
        // A path with blanks reaches the project as one source, not split in two.
        for (const QString &source : sourcePaths) {
            const bool inProject = !(directory == node && source.contains("Adaptor"));
            const QString item
                = "<ClCompile Include=\"" + QString(source).replace('/', '\\') + "\"";
            QCOMPARE(project.contains(item), inProject);
        }
    }
}

QTEST_GUILESS_MAIN(tst_Builders)
#include "tst_builders.moc"
