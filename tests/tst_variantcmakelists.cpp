#include "kestrune.h"

#include "helpers/filetree.h"
#include "helpers/goldenfile.h"

#include <QtTest>

class tst_VariantCMakeLists : public QObject {
    Q_OBJECT

private slots:
    void init();
    void writesTheFile_data();
    void writesTheFile();
    void folderThatCannotBeWritten_data();
    void folderThatCannotBeWritten();
    void pathsReachCMakeExactly_data();
    void pathsReachCMakeExactly();

private:
    QString makeFluent(const QString &release, bool withMakefile);

    QScopedPointer<QTemporaryDir> tempDir;
    CKestrune engine;
};

void tst_VariantCMakeLists::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
}

// A Fluent folder whose makefile names three include folders through the installation variable
// and one without it, with the continuation lines of a real makefile.
QString tst_VariantCMakeLists::makeFluent(const QString &release, bool withMakefile)
{
    const QString fluent = tempDir->path() + "/ANSYS Inc/v" + release + "/fluent";
    QDir().mkpath(fluent);
    if (!withMakefile)
        return fluent;
    const QString dotted = release.left(2) + "." + release.mid(2) + ".0";
    filetree::write(fluent + "/fluent" + dotted + "/src/udf/makefile_nt.udf",
        "SOURCES = $(SRC)udf_names.c\r\n"
        "INCLUDES = -I. \\\r\n"
        "           -I\"$(FLUENT_INC)\"\\fluent$(RELEASE)\\$(FLUENT_ARCH)\\$(VERSION) \\\r\n"
        "           -I\"$(FLUENT_INC)\"\\fluent$(RELEASE)\\src\\main \\\r\n"
        "           -I\"$(FLUENT_INC)\"\\include\r\n");
    return fluent;
}

void tst_VariantCMakeLists::writesTheFile_data()
{
    QTest::addColumn<bool>("coupling");
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("projectFolder");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<bool>("withMakefile");
    QTest::addColumn<QString>("goldenCase");

    QTest::newRow("udf, worked example")
        << false << "3ddp"
        << "cfd" << QStringList { "include/a.h" } << QStringList { "src/a.c", "src/b.c" } << true
        << "variant_udf_example";
    QTest::newRow("coupling, node variant")
        << true << "3ddp_node"
        << "cfd" << QStringList { "include/a.h" } << QStringList { "src/a.c", "src/b.c" } << true
        << "variant_coupling_node";
    QTest::newRow("udf, empty lists")
        << false << "2d_host"
        << "cfd" << QStringList() << QStringList() << true << "variant_udf_empty";
    QTest::newRow("coupling, blanks and Chinese in the paths")
        << true << "2ddp"
        << "Li Wei/流体 项目" << QStringList { "include/p q.h", "include/r.h" }
        << QStringList { "src/inlet profile.c", "src/源.cpp" } << true << "variant_coupling_blanks";
    QTest::newRow("udf, no Fluent makefile")
        << false << "3d"
        << "cfd" << QStringList { "include/a.h" } << QStringList { "src/a.c" } << false
        << "variant_udf_no_makefile";
    QTest::newRow("coupling, no Fluent makefile")
        << true << "2d_node"
        << "cfd" << QStringList() << QStringList { "src/a.c" } << false
        << "variant_coupling_no_makefile";
}

void tst_VariantCMakeLists::writesTheFile()
{
    QFETCH(bool, coupling);
    QFETCH(QString, variant);
    QFETCH(QString, projectFolder);
    QFETCH(QStringList, headers);
    QFETCH(QStringList, sources);
    QFETCH(bool, withMakefile);
    QFETCH(QString, goldenCase);

    const QString fluent = makeFluent("192", withMakefile);
    const QString edem = tempDir->path() + "/DEM Solutions/EDEM 2018";
    const QString root = tempDir->path() + "/" + projectFolder + "/buildByVarnholt";
    const QString directory = root + "/" + variant;
    QStringList headerPaths, sourcePaths;
    for (const QString &header : headers) {
        headerPaths << root + "/" + header;
        QVERIFY(filetree::write(headerPaths.constLast(), "#define RHO 1.2\n"));
    }
    for (const QString &source : sources) {
        sourcePaths << root + "/" + source;
        QVERIFY(filetree::write(sourcePaths.constLast(), "DEFINE_ON_DEMAND(demand) {}\n"));
    }
    // An earlier, longer file must be replaced whole.
    QVERIFY(filetree::write(directory + "/CMakeLists.txt", QByteArray(20000, '#')));

    const bool written = coupling ? engine.writeCouplingVariantCMakeLists(headerPaths, sourcePaths,
                             variant, fluent, edem, "C:/VS/2019/Community", directory)
                                  : engine.writeUdfVariantCMakeLists(headerPaths, sourcePaths,
                                      variant, fluent, "C:/VS/2019/Community", directory);
    QVERIFY(written);
    const QByteArray actual = golden::normalized(
        golden::readAll(directory + "/CMakeLists.txt"), { { tempDir->path(), "@ROOT@" } });
    QVERIFY(golden::matches(actual, "solution/" + goldenCase + "/expected/CMakeLists.txt"));
}

void tst_VariantCMakeLists::folderThatCannotBeWritten_data()
{
    QTest::addColumn<bool>("coupling");
    QTest::newRow("udf") << false;
    QTest::newRow("coupling") << true;
}

void tst_VariantCMakeLists::folderThatCannotBeWritten()
{
    QFETCH(bool, coupling);
    const QString fluent = makeFluent("192", true);
    const QString directory = tempDir->path() + "/never made/3d";
    const bool written = coupling
        ? engine.writeCouplingVariantCMakeLists({}, {}, "3d", fluent, "E", "VS", directory)
        : engine.writeUdfVariantCMakeLists({}, {}, "3d", fluent, "VS", directory);
    QVERIFY(!written);
    QVERIFY(!QFileInfo::exists(directory + "/CMakeLists.txt"));
}

// One character per row in the build root and the installation folders; CMake itself reads the
// written file, and its file API tells what it took each path to be. What CMake cannot carry in a
// path at all, the create command refuses.
void tst_VariantCMakeLists::pathsReachCMakeExactly_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("refused");
    QTest::newRow("blank and Chinese") << "泵站 UDF" << false;
    for (const char *character : { "&", "^", "%", "!", "(", ")", "'", "$", "#", "@", "{}", "[]" })
        QTest::newRow(character) << QString("a%1b").arg(character) << false;
    QTest::newRow("all of them") << "王工 &^%!()'$#" << false;
    QTest::newRow(";") << "a;b" << true;
    QTest::newRow("${x}") << "a${x}b" << true;
    QTest::newRow("$ENV{x}") << "a$ENV{x}b" << true;
}

void tst_VariantCMakeLists::pathsReachCMakeExactly()
{
    QFETCH(QString, folder);
    QFETCH(bool, refused);
    const QString base = tempDir->path() + "/" + folder;
    const QString root = base + "/buildByVarnholt";
    QCOMPARE(CKestrune::unusableInBuildRoot(root).isEmpty(), !refused);
    if (refused)
        return;

    const QString fluent = makeFluent("192", true);
    const QString edem = base + "/EDEM 2018";
    const QString source = root + "/src/a.c";
    QVERIFY(filetree::write(source, "DEFINE_ON_DEMAND(demand) {}\n"));
    QVERIFY(QDir().mkpath(root + "/3ddp"));
    QVERIFY(filetree::write(root + "/CMakeLists.txt",
        "cmake_minimum_required(VERSION 3.23)\nproject(FLUENTUDF C)\nadd_subdirectory(3ddp)\n"));
    QVERIFY(engine.writeCouplingVariantCMakeLists(
        {}, { source }, "3ddp", fluent, edem, "C:/VS/2019/Community", root + "/3ddp"));

    const QString build = tempDir->path() + "/build";
    QVERIFY(filetree::write(build + "/.cmake/api/v1/query/codemodel-v2", ""));
    QProcess cmake;
    cmake.setProcessChannelMode(QProcess::MergedChannels);
    // Only the paths matter here: the compilers are taken as they are, unexamined.
    QStringList arguments { "-S", root, "-B", build, "-G", "Ninja" };
    for (const char *language : { "C", "CXX" }) {
        arguments << QString("-DCMAKE_%1_COMPILER_FORCED=ON").arg(language)
                  << QString("-DCMAKE_%1_COMPILER_ID_RUN=ON").arg(language)
                  << QString("-DCMAKE_%1_COMPILER_ID=GNU").arg(language);
    }
    cmake.start(KESTRUNE_CMAKE_COMMAND, arguments);
    QVERIFY(cmake.waitForFinished(60000));
    const QByteArray output = cmake.readAll();
    QVERIFY2(cmake.exitCode() == 0 && !output.contains("CMake Warning"), output.constData());

    const QJsonObject target = filetree::codemodelTarget(build, "3ddp");
    QStringList sources, includes;
    for (const QJsonValue &entry : target.value("sources").toArray())
        sources << entry.toObject().value("path").toString();
    for (const QJsonValue &group : target.value("compileGroups").toArray()) {
        for (const QJsonValue &entry : group.toObject().value("includes").toArray())
            includes << entry.toObject().value("path").toString();
    }
    QCOMPARE(sources.size(), 1);
    QCOMPARE(QDir(root).absoluteFilePath(sources.constFirst()), source);
    QVERIFY(includes.contains(edem + "/src/Api/Coupling"));
    QVERIFY(includes.contains(root + "/include"));
    QVERIFY(includes.contains(fluent + "/fluent19.2.0/src/main"));
}

QTEST_GUILESS_MAIN(tst_VariantCMakeLists)
#include "tst_variantcmakelists.moc"
