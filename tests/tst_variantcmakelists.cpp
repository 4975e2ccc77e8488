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

QTEST_GUILESS_MAIN(tst_VariantCMakeLists)
#include "tst_variantcmakelists.moc"
