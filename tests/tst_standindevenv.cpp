#include "helpers/standinsolution.h"

#include <QtTest>

// The stand-in devenv.exe against a cleaned solution of the shape Kestrune leaves (two variant
// projects, CMake's utility projects gone), as .sln and as .slnx: what the end-to-end test does not
// reach, a Release build, the order from dependencies, and failing as Visual Studio does, naming
// the project and the missing piece.
class tst_StandinDevenv : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void buildsEveryProject_data();
    void buildsEveryProject();
    void failsLikeVisualStudio_data();
    void failsLikeVisualStudio();

private:
    int devenv(const QStringList &arguments, QString &output);
    QString dllOf(const QString &configuration, const QString &variant) const;

    QTemporaryDir installationsDir;
    QScopedPointer<QTemporaryDir> tempDir;
    QString fluent;
    QString devenvProgram;
    QString buildRoot;
};

using standinsolution::windowsForm;

static int run(const QString &program, const QStringList &arguments, QString &output)
{
    QByteArray bytes;
    const int status = standinsolution::run(program, arguments, bytes);
    output = QString::fromUtf8(bytes);
    return status;
}

// A real x64 DLL: "MZ", then at the offset the DOS header gives, "PE\0\0" and machine 0x8664.
static bool isX64Dll(const QByteArray &image)
{
    if (!image.startsWith("MZ") || image.size() < 0x40)
        return false;
    const quint32 pe = qFromLittleEndian<quint32>(image.constData() + 0x3c);
    return image.mid(pe, 6) == QByteArray("PE\0\0\x64\x86", 6);
}

void tst_StandinDevenv::initTestCase()
{
    QVERIFY(installationsDir.isValid());
    QString output;
    QCOMPARE(run(KESTRUNE_CMAKE_COMMAND,
                 { "-DDESTINATION=" + installationsDir.path(), "-DDEVENV=" KESTRUNE_STANDIN_DEVENV,
                     "-DSTUBS=" KESTRUNE_STANDIN_STUBS, "-P", KESTRUNE_STANDIN_LAYOUT_SCRIPT },
                 output),
        0);
    fluent = installationsDir.path() + "/ANSYS Inc/v192/fluent";
    devenvProgram = installationsDir.path()
        + "/Microsoft Visual Studio/2019/Community/Common7/IDE/devenv.exe";
    QVERIFY(QFileInfo(devenvProgram).isExecutable());
}

void tst_StandinDevenv::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
    buildRoot = tempDir->path() + "/工程 目录/buildByVarnholt";
    QVERIFY(standinsolution::instantiate(buildRoot, fluent, fluent));
    QVERIFY(standinsolution::compileFunctionTables(buildRoot, fluent));
}

int tst_StandinDevenv::devenv(const QStringList &arguments, QString &output)
{
    const int status = run(devenvProgram, arguments, output);
    output.replace(buildRoot, "@ROOT@").replace(windowsForm(buildRoot), "@WINROOT@");
    return status;
}

QString tst_StandinDevenv::dllOf(const QString &configuration, const QString &variant) const
{
    return buildRoot + "/solution/" + configuration + "/libudf/win64/" + variant + "/libudf.dll";
}

// Makes the host project depend on the node project, which the solution lists after it.
static bool makeHostDependOnNode(const QString &path)
{
    QByteArray text = filetree::read(path);
    if (path.endsWith(".slnx")) {
        const QByteArray host = "Id=\"5ab530cb-1880-3c37-b093-aac8f7f6f341\">\r\n";
        const int at = text.indexOf(host);
        if (at < 0)
            return false;
        text.insert(at + host.size(),
            "    <BuildDependency Project=\"3ddp_node\\3ddp_node.vcxproj\"/>\r\n");
    } else {
        const QByteArray zeroCheck = "{985CA4E3-4ECA-3382-BF54-07C0BF195601}";
        const QByteArray node = "{7BE1DB36-E740-3C8B-883B-63D9E5DFF272}";
        const int at = text.indexOf(zeroCheck + " = " + zeroCheck);
        if (at < 0)
            return false;
        text.replace(at, 2 * zeroCheck.size() + 3, node + " = " + node);
    }
    return filetree::write(path, text);
}

// Debug from the .sln, as the end-to-end test builds; Release from the .slnx, the switch first. In
// both the node project must be built first, as the host depends on it.
void tst_StandinDevenv::buildsEveryProject_data()
{
    QTest::addColumn<QString>("solutionFile");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("configuration");
    QTest::newRow(".sln, Debug") << "FLUENTUDF.sln"
                                 << QStringList { "@SOLUTION@", "/Build", "Debug|x64" } << "Debug";
    QTest::newRow(".slnx, Release")
        << "FLUENTUDF.slnx" << QStringList { "/build", "Release|x64", "@SOLUTION@" } << "Release";
}

void tst_StandinDevenv::buildsEveryProject()
{
    QFETCH(QString, solutionFile);
    QFETCH(QStringList, arguments);
    QFETCH(QString, configuration);
    const QString path = buildRoot + "/solution/" + solutionFile;
    QVERIFY(makeHostDependOnNode(path));
    QString output;
    QVERIFY2(
        devenv(arguments.replaceInStrings("@SOLUTION@", path), output) == 0, qPrintable(output));
    QVERIFY2(output.startsWith("1>------ Build started: Project: 3ddp_node, Configuration: "
                 + configuration + " x64"),
        qPrintable(output));
    QVERIFY(output.contains("2>------ Build started: Project: 3ddp_host"));
    QVERIFY2(output.trimmed().endsWith(
                 "========== Build: 2 succeeded, 0 failed, 0 up-to-date, 0 skipped =========="),
        qPrintable(output));
    // The cleaned projects still reference CMake's ZERO_CHECK project; Visual Studio only warns.
    QVERIFY(output.contains("2>3ddp_host.vcxproj : warning MSB9008: The referenced project "
                            "@WINROOT@\\solution\\ZERO_CHECK.vcxproj does not exist."));
    for (const QString &variant : QStringList { "3ddp_host", "3ddp_node" }) {
        const QString dll = dllOf(configuration, variant);
        const QByteArray image = filetree::read(dll);
        QVERIFY2(isX64Dll(image), qPrintable(dll));
        for (const QByteArray &text : { "built for " + configuration.toUtf8(),
                 configuration.toLower().toUtf8() + " C runtime" })
            QVERIFY2(image.contains(text + '\0'), text.constData());
        QCOMPARE(
            QFileInfo(QFileInfo(dll).path() + "/libudf.pdb").isFile(), configuration == "Debug");
    }
    QVERIFY(!QFileInfo::exists(
        buildRoot + "/solution/" + (configuration == "Debug" ? "Release" : "Debug")));
}

void tst_StandinDevenv::failsLikeVisualStudio_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("solutionFile");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("built");
    QTest::newRow("missing source")
        << "remove src/CParticleData.cpp"
        << "FLUENTUDF.sln"
        << QStringList { "1>3ddp_host.vcxproj : error C1083: Cannot open source file: "
                         "'@ROOT@/src/CParticleData.cpp': No such file or directory",
               "Build: 1 succeeded, 1 failed" }
        << QStringList { "3ddp_node" };
    QTest::newRow("missing link library")
        << "no Fluent libraries"
        << "FLUENTUDF.sln"
        << QStringList { "1>3ddp_host.vcxproj : error LNK1181: cannot open input file 'mport.lib'",
               "1>3ddp_host.vcxproj : error LNK1181: cannot open input file 'fl1920.lib'",
               "2>3ddp_node.vcxproj : error LNK1181: cannot open input file 'fl_mpi1920.lib'",
               "Build: 0 succeeded, 2 failed" }
        << QStringList();
    // What the clean-up must remove: Visual Studio would run CMake from the custom build step.
    QTest::newRow("custom build step left")
        << "custom build in 3ddp_host"
        << "FLUENTUDF.sln"
        << QStringList { "1>3ddp_host.vcxproj : error MSB8066: Custom build for "
                         "'@WINROOT@\\3ddp_host\\CMakeLists.txt' exited with code 1.",
               "Build: 1 succeeded, 1 failed" }
        << QStringList { "3ddp_node" };
    QTest::newRow("missing udf_names.obj, .slnx")
        << "remove 3ddp_host/udf_names.obj"
        << "FLUENTUDF.slnx"
        << QStringList { "1>3ddp_host.vcxproj : error LNK1181: cannot open input file "
                         "'@ROOT@/3ddp_host/udf_names.obj'",
               "Build: 1 succeeded, 1 failed" }
        << QStringList { "3ddp_node" };
    QTest::newRow("not XML, .slnx")
        << "break solution/FLUENTUDF.slnx"
        << "FLUENTUDF.slnx"
        << QStringList { "error : '@ROOT@/solution/FLUENTUDF.slnx' is not a Visual Studio "
                         "solution file: line 1:" }
        << QStringList();
}

void tst_StandinDevenv::failsLikeVisualStudio()
{
    QFETCH(QString, change);
    QFETCH(QString, solutionFile);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, built);
    if (change.startsWith("remove "))
        QVERIFY(QFile::remove(buildRoot + "/" + change.mid(7)));
    else if (change == "no Fluent libraries")
        QVERIFY(
            standinsolution::instantiate(buildRoot, fluent, tempDir->path() + "/no Fluent here"));
    else if (change.startsWith("break "))
        QVERIFY(filetree::write(buildRoot + "/" + change.mid(6), "this is not XML;\n"));
    else if (change == "custom build in 3ddp_host") {
        const QString project = buildRoot + "/solution/3ddp_host/3ddp_host.vcxproj";
        const QByteArray rule = "  <ItemGroup>\r\n    <CustomBuild Include=\""
            + windowsForm(buildRoot).toUtf8()
            + "\\3ddp_host\\CMakeLists.txt\">\r\n      <Message>Building Custom Rule</Message>\r\n"
              "    </CustomBuild>\r\n  </ItemGroup>\r\n  <ItemGroup />";
        QVERIFY(filetree::write(project, filetree::read(project).replace("  <ItemGroup />", rule)));
    }

    QString output;
    QVERIFY(
        devenv({ buildRoot + "/solution/" + solutionFile, "/Build", "Debug|x64" }, output) != 0);
    for (const QString &message : messages)
        QVERIFY2(output.contains(message), qPrintable("wanted: " + message + "\ngot:\n" + output));
    for (const QString &variant : QStringList { "3ddp_host", "3ddp_node" })
        QCOMPARE(QFileInfo::exists(dllOf("Debug", variant)), built.contains(variant));
}

QTEST_GUILESS_MAIN(tst_StandinDevenv)
#include "tst_standindevenv.moc"
