#include "kestrune.h"
#include "solutioncleanup.h"

#include "helpers/filetree.h"
#include "helpers/goldenfile.h"

#include <QtTest>

class tst_SolutionCleanup : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleansTheSampleTree_data();
    void cleansTheSampleTree();
    void secondCleanChangesNothing();
    void solutionFolderPatterns_data();
    void solutionFolderPatterns();
    void slnFilter_data();
    void slnFilter();
    void vcxprojFilter_data();
    void vcxprojFilter();
    void slnxFilter_data();
    void slnxFilter();
    void fileThatCannotBeReadIsLeftAlone_data();
    void fileThatCannotBeReadIsLeftAlone();

private:
    QString root() const { return tempDir->path() + "/p/buildByVarnholt"; }
    void layOutSampleTree();

    QScopedPointer<QTemporaryDir> tempDir;
    CKestrune engine;
};

void tst_SolutionCleanup::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
}

// The build root as a whole build leaves it just before the clean-up: the copied sources, the
// variant directories with their CMakeLists.txt and udf_names.obj, and CMake's solution folder.
void tst_SolutionCleanup::layOutSampleTree()
{
    QVERIFY2(QFileInfo(KESTRUNE_VS_GENERATOR_SAMPLE).isDir(), KESTRUNE_VS_GENERATOR_SAMPLE);
    QVERIFY(filetree::copy(KESTRUNE_VS_GENERATOR_SAMPLE, root() + "/solution"));
    QVERIFY(filetree::write(root() + "/CMakeLists.txt", "project(FLUENTUDF)\r\n"));
    for (const char *variant : { "3ddp_host", "3ddp_node" }) {
        const QString directory = root() + "/" + variant;
        QVERIFY(filetree::write(directory + "/CMakeLists.txt", "project(x)\r\n"));
        QVERIFY(filetree::write(directory + "/udf_names.obj", "obj"));
    }
    QVERIFY(filetree::write(root() + "/src/a.c", "DEFINE_ON_DEMAND(a) {}\n"));
    QVERIFY(filetree::write(root() + "/include/a.h", "#define A 1\n"));
}

void tst_SolutionCleanup::cleansTheSampleTree_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("filtered");
    QTest::addColumn<QStringList>("deletedFolders");
    QTest::newRow("host variant cleans its node too")
        << "3ddp_host"
        << "sample_host"
        << QStringList { "FLUENTUDF.sln", "3ddp_host/3ddp_host.sln", "3ddp_host/3ddp_host.vcxproj",
               "3ddp_node/3ddp_node.sln", "3ddp_node/3ddp_node.vcxproj" }
        << QStringList { "CMakeFiles", "3ddp_host/CMakeFiles", "3ddp_node/CMakeFiles" };
    // A node variant is no host variant: nothing of 3ddp_host is touched.
    QTest::newRow("node variant alone")
        << "3ddp_node"
        << "sample_node"
        << QStringList { "FLUENTUDF.sln", "3ddp_node/3ddp_node.sln", "3ddp_node/3ddp_node.vcxproj" }
        << QStringList { "CMakeFiles", "3ddp_node/CMakeFiles" };
}

void tst_SolutionCleanup::cleansTheSampleTree()
{
    QFETCH(QString, variant);
    QFETCH(QString, expected);
    QFETCH(QStringList, filtered);
    QFETCH(QStringList, deletedFolders);
    layOutSampleTree();

    const SolutionCleanup::Result result = SolutionCleanup::clean(variant, root());

    QVERIFY(golden::matches(
        filetree::listing(root()).toUtf8(), "solution/" + expected + "/expected/remaining.txt"));
    for (const QString &file : filtered) {
        QVERIFY2(golden::matches(golden::readAll(root() + "/solution/" + file),
                     "solution/" + expected + "/expected/" + file),
            qPrintable(file));
    }
    const QString solution = root() + "/solution/";
    QStringList rewritten;
    for (const QString &file : filtered)
        rewritten << solution + file;
    QStringList actual = result.rewrittenFiles;
    actual.sort();
    rewritten.sort();
    QCOMPARE(actual, rewritten);
    QStringList expectedFolders;
    for (const QString &folder : deletedFolders)
        expectedFolders << solution + folder;
    QCOMPARE(result.removedFolders, expectedFolders);
    for (const char *name : { "ALL_BUILD.vcxproj", "CMakeCache.txt", "ZERO_CHECK.vcxproj.filters",
             "cmake_install.cmake" })
        QVERIFY2(result.removedFiles.contains(solution + name), name);
    QVERIFY(result.removedFiles.contains(root() + "/CMakeLists.txt"));
    QVERIFY(result.succeeded());
}

void tst_SolutionCleanup::secondCleanChangesNothing()
{
    layOutSampleTree();
    engine.cleanSolution("3ddp_host", root());
    const QString before = filetree::listing(root());
    const QByteArray sln = golden::readAll(root() + "/solution/FLUENTUDF.sln");
    const QByteArray vcxproj = golden::readAll(root() + "/solution/3ddp_node/3ddp_node.vcxproj");

    const SolutionCleanup::Result result = SolutionCleanup::clean("3ddp_host", root());
    QCOMPARE(filetree::listing(root()), before);
    QCOMPARE(golden::readAll(root() + "/solution/FLUENTUDF.sln"), sln);
    QCOMPARE(golden::readAll(root() + "/solution/3ddp_node/3ddp_node.vcxproj"), vcxproj);
    QVERIFY(result.removedFiles.isEmpty() && result.removedFolders.isEmpty());
    QVERIFY(result.rewrittenFiles.isEmpty() && result.succeeded());
}

void tst_SolutionCleanup::solutionFolderPatterns_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("project") << "Extra.vcxproj" << true;
    QTest::newRow("project, other letter case") << "EXTRA.VCXPROJ" << true;
    QTest::newRow("filters") << "Extra.vcxproj.filters" << true;
    QTest::newRow("any filters") << "notes.filters" << true;
    QTest::newRow("cmake script") << "CPackConfig.cmake" << true;
    QTest::newRow("cache") << "CMakeCache.txt" << true;
    QTest::newRow("cache, other letter case") << "cmakecache.TXT" << true;
    QTest::newRow("solution") << "FLUENTUDF.sln" << false;
    QTest::newRow("other text") << "CMakeCache.txt.bak" << false;
    QTest::newRow("hidden") << ".hidden.cmake" << false;
    QTest::newRow("folder") << "folder.cmake/" << false;
}

void tst_SolutionCleanup::solutionFolderPatterns()
{
    QFETCH(QString, name);
    QFETCH(bool, deleted);
    const QString path = root() + "/solution/" + name;
    if (name.endsWith('/'))
        QVERIFY(QDir().mkpath(path));
    else
        QVERIFY(filetree::write(path, "x"));

    const SolutionCleanup::Result result = SolutionCleanup::clean("2d", root());
    QCOMPARE(!QFileInfo::exists(path), deleted);
    QCOMPARE(result.removedFiles, deleted ? QStringList { path } : QStringList());
}

static void addFilterColumns()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");
}

static void addFilterRow(const char *name, const QByteArray &input, const QByteArray &expected)
{
    QTest::newRow(name) << input << expected;
}

void tst_SolutionCleanup::slnFilter_data()
{
    addFilterColumns();
    const QByteArray kept = "Project(\"{8BC9}\") = \"3d\", \"3d\\3d.vcxproj\", \"{AA}\"\r\n"
                            "\tProjectSection(ProjectDependencies) = postProject\r\n"
                            "\tEndProjectSection\r\n"
                            "EndProject\r\n";
    addFilterRow("utility blocks go, variant block stays",
        "\r\nMicrosoft\r\n"
        "Project(\"{2150}\") = \"CMakePredefinedTargets\"\r\nEndProject\r\n"
        "Project(\"{8BC9}\") = \"ALL_BUILD\", \"ALL_BUILD.vcxproj\"\r\n"
        "\tProjectSection(ProjectDependencies) = postProject\r\n\t\t{AA} = {AA}\r\n"
        "\tEndProjectSection\r\nEndProject\r\n"
            + kept
            + "Project(\"{8BC9}\") = \"ZERO_CHECK\"\r\nEndProject\r\n"
              "Global\r\nEndGlobal\r\n",
        "\r\nMicrosoft\r\n" + kept + "Global\r\nEndGlobal\r\n");
    addFilterRow("name inside a longer word or path",
        "Project(\"{8BC9}\") = \"MyALL_BUILDER\", \"x\\ZERO_CHECKS.vcxproj\"\r\n"
        "EndProject\r\n"
            + kept,
        kept);
    addFilterRow("names are case-sensitive",
        "Project(\"{8BC9}\") = \"all_build\"\r\nEndProject\r\n",
        "Project(\"{8BC9}\") = \"all_build\"\r\nEndProject\r\n");
    addFilterRow("indented project line starts nothing", "\tProject ALL_BUILD\r\nEndProject\r\n",
        "\tProject ALL_BUILD\r\nEndProject\r\n");
    addFilterRow("byte-order mark dropped", "\xEF\xBB\xBF\r\nMicrosoft\r\n", "\r\nMicrosoft\r\n");
    addFilterRow("no final line end", "Global\r\nEndGlobal", "Global\r\nEndGlobal\r\n");
    addFilterRow("bare line feeds", "Global\nEndGlobal\n", "Global\r\nEndGlobal\r\n");
    addFilterRow("empty file", "", "");
}

void tst_SolutionCleanup::slnFilter()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    const QString path = tempDir->path() + "/x.sln";
    QVERIFY(filetree::write(path, input));
    engine.removeCMakeProjectsFromSln(path);
    QCOMPARE(golden::readAll(path), expected);
}

void tst_SolutionCleanup::vcxprojFilter_data()
{
    addFilterColumns();
    addFilterRow("element over several lines",
        "  <ItemGroup>\r\n    <CustomBuild Include=\"C:\\r\\CMakeLists.txt\">\r\n"
        "      <Message>m</Message>\r\n    </CustomBuild>\r\n  </ItemGroup>\r\n"
        "  <ItemGroup>\r\n    <ClCompile Include=\"a.c\" />\r\n  </ItemGroup>\r\n",
        "  <ItemGroup>\r\n  </ItemGroup>\r\n"
        "  <ItemGroup>\r\n    <ClCompile Include=\"a.c\" />\r\n  </ItemGroup>\r\n");
    addFilterRow("element on one line", "a\r\n<CustomBuild Include=\"x\">y</CustomBuild>\r\nb\r\n",
        "a\r\nb\r\n");
    addFilterRow("two elements",
        "a\r\n<CustomBuild>\r\n1\r\n</CustomBuild>\r\nb\r\n"
        "<CustomBuild>\r\n2\r\n</CustomBuild>\r\nc\r\n",
        "a\r\nb\r\nc\r\n");
    addFilterRow("mentioned in another element runs to the next closing line",
        "a\r\n<Command>MyCustomBuildStep</Command>\r\nb\r\n</CustomBuild>\r\nc\r\n", "a\r\nc\r\n");
    addFilterRow("stray closing line", "a\r\n</CustomBuild>\r\nb\r\n", "a\r\nb\r\n");
    addFilterRow("byte-order mark and no final line end",
        "\xEF\xBB\xBF<?xml?>\r\n<Project>\r\n</Project>", "<?xml?>\r\n<Project>\r\n</Project>\r\n");
    addFilterRow("Chinese text kept", "<ClCompile Include=\"C:\\用户\\a.c\" />\n",
        "<ClCompile Include=\"C:\\用户\\a.c\" />\r\n");
}

void tst_SolutionCleanup::vcxprojFilter()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    const QString path = tempDir->path() + "/x.vcxproj";
    QVERIFY(filetree::write(path, input));
    engine.removeCustomBuildFromVcxproj(path);
    QCOMPARE(golden::readAll(path), expected);
}

// Visual Studio 2026's solution as CMake writes it, CR LF; the clean-up keeps every byte it does
// not remove.
static const QByteArray slnxHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Solution>\r\n"
                                   "  <Configurations>\r\n    <BuildType Name=\"Debug\"/>\r\n"
                                   "    <Platform Name=\"x64\"/>\r\n  </Configurations>\r\n";

void tst_SolutionCleanup::slnxFilter_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray host
        = "  <Project Path=\"3ddp_host/3ddp_host.vcxproj\" Type=\"8bc9ceb8-8b4a-"
          "11d0-8d11-00a0c91bc942\" Id=\"0f7a5cfb-1c0e-3c5b-9b1b-6b0e8e1f2a11\">\r\n";
    QTest::newRow("as CMake writes it") << slnxHead + host
            + "    <BuildDependency Project=\"ZERO_CHECK.vcxproj\"/>\r\n  </Project>\r\n"
              "  <Folder Name=\"/CMakePredefinedTargets/\">\r\n"
              "    <Project Path=\"ALL_BUILD.vcxproj\" Type=\"t\" Id=\"i\" "
              "DefaultStartup=\"true\">\r\n"
              "      <BuildDependency Project=\"3ddp_host/3ddp_host.vcxproj\"/>\r\n"
              "      <BuildDependency Project=\"ZERO_CHECK.vcxproj\"/>\r\n    </Project>\r\n"
              "    <Project Path=\"ZERO_CHECK.vcxproj\" Type=\"t\" Id=\"z\"/>\r\n  </Folder>\r\n"
              "</Solution>\r\n" << slnxHead + host + "  </Project>\r\n</Solution>\r\n";
    QTest::newRow("backslashes, no Type, no folder, dependencies kept") << slnxHead
            + "  <Project Path=\"..\\ALL_BUILD.vcxproj\" Id=\"a\"/>\r\n"
              "  <Project Path=\"2d\\2d.vcxproj\" Id=\"b\">\r\n"
              "    <BuildDependency Project=\"..\\ZERO_CHECK.vcxproj\"/>\r\n"
              "    <BuildDependency Project=\"..\\ALL_BUILD.vcxproj\"/>\r\n"
              "    <BuildDependency Project=\"helper/helper.vcxproj\"/>\r\n  </Project>\r\n"
              "  <Project Path=\"..\\ZERO_CHECK.vcxproj\" Id=\"z\">\r\n  </Project>\r\n</Solution>"
                                                                        << slnxHead
            + "  <Project Path=\"2d\\2d.vcxproj\" Id=\"b\">\r\n"
              "    <BuildDependency Project=\"helper/helper.vcxproj\"/>\r\n  </Project>\r\n"
              "</Solution>";
    // Anything the predefined-targets folder holds goes with it, and so do dependencies on it.
    QTest::newRow("folder with another project, LF line ends")
        << QByteArray("<Solution>\n  <Project Path=\"a/a.vcxproj\">\n"
                      "    <BuildDependency Project=\"INSTALL.vcxproj\"/>\n  </Project>\n"
                      "  <Folder Name=\"/CMakePredefinedTargets/\">\n"
                      "    <Project Path=\"INSTALL.vcxproj\"/>\n  </Folder>\n"
                      "  <Folder Name=\"/Tools/\">\n    <Project Path=\"t/t.vcxproj\"/>\n"
                      "  </Folder>\n</Solution>\n")
        << QByteArray("<Solution>\n  <Project Path=\"a/a.vcxproj\">\n  </Project>\n"
                      "  <Folder Name=\"/Tools/\">\n    <Project Path=\"t/t.vcxproj\"/>\n"
                      "  </Folder>\n</Solution>\n");
    QTest::newRow("nothing to remove: not rewritten") << slnxHead + "</Solution>\r\n"
                                                      << slnxHead + "</Solution>\r\n";
}

void tst_SolutionCleanup::slnxFilter()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    const QString path = tempDir->path() + "/FLUENTUDF.slnx";
    QVERIFY(filetree::write(path, input));
    engine.removeCMakeProjectsFromSlnx(path);
    QCOMPARE(golden::readAll(path), expected);
}

void tst_SolutionCleanup::fileThatCannotBeReadIsLeftAlone_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isFolder");
    // A CMake run that wrote nothing must not leave an empty solution that passes for one.
    QTest::newRow("missing sln") << "FLUENTUDF.sln" << false;
    QTest::newRow("missing vcxproj") << "3d.vcxproj" << false;
    // Permissions do not stop root; a folder in the file's place cannot be read by anyone.
    QTest::newRow("unreadable sln") << "FLUENTUDF.sln" << true;
    QTest::newRow("unreadable vcxproj") << "3d.vcxproj" << true;
    QTest::newRow("missing slnx") << "FLUENTUDF.slnx" << false;
    QTest::newRow("unreadable slnx") << "FLUENTUDF.slnx" << true;
}

void tst_SolutionCleanup::fileThatCannotBeReadIsLeftAlone()
{
    QFETCH(QString, name);
    QFETCH(bool, isFolder);
    const QString path = tempDir->path() + "/" + name;
    if (isFolder)
        QVERIFY(filetree::write(path + "/inside", "kept"));

    const FileResult result = name.endsWith(".sln")
        ? SolutionCleanup::removeCMakeProjectsFromSln(path)
        : name.endsWith(".slnx") ? SolutionCleanup::removeCMakeProjectsFromSlnx(path)
                                 : SolutionCleanup::removeCustomBuildFromVcxproj(path);
    QCOMPARE(result.path, path);
    QVERIFY(!result.succeeded());
    QCOMPARE(QFileInfo(path).isDir(), isFolder);
    QCOMPARE(QFileInfo::exists(path), isFolder);
    if (isFolder)
        QCOMPARE(golden::readAll(path + "/inside"), QByteArray("kept"));
}

QTEST_GUILESS_MAIN(tst_SolutionCleanup)
#include "tst_solutioncleanup.moc"
