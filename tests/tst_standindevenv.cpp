#include <QtTest>

// The stand-in devenv.exe against a cleaned solution of the shape Kestrune leaves (two variant
// projects, CMake's utility projects gone), as .sln and as the .slnx of Visual Studio 2026: it
// builds real x64 DLLs where the projects say, with the projects' own settings, and fails as Visual
// Studio does, naming the project and the missing piece, when a source, a library or udf_names.obj
// is missing. An include folder that does not exist (the host project names one) is ignored, as
// Visual Studio does.
class tst_StandinDevenv : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void buildsEveryProject_data();
    void buildsEveryProject();
    void failsLikeVisualStudio_data();
    void failsLikeVisualStudio();
    void outputGoesWhereTheProjectSays();
    void buildsDependenciesFirst_data();
    void buildsDependenciesFirst();
    void recordsEveryStart();

private:
    bool instantiate(const QString &fluentLibraries);
    bool compileFunctionTable(const QString &variant);
    int devenv(const QStringList &arguments, QString &output);
    QString dllOf(const QString &configuration, const QString &variant) const;

    QTemporaryDir installationsDir;
    QScopedPointer<QTemporaryDir> tempDir;
    QString fluent;
    QString devenvProgram;
    QString buildRoot;
    QString solution;
    QString slnx;
};

static QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

static bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

static QString windowsForm(QString path)
{
    return path.replace('/', '\\');
}

static QString findProgram(const QStringList &names)
{
    for (const QString &name : names) {
        QString found = QStandardPaths::findExecutable(name);
        if (found.isEmpty())
            found = QStandardPaths::findExecutable(name, { "/usr/lib/llvm-14/bin" });
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

static int run(const QString &program, const QStringList &arguments, QString &output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    output = QString::fromUtf8(process.readAll());
    return process.exitCode();
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
    solution = buildRoot + "/solution/FLUENTUDF.sln";
    slnx = buildRoot + "/solution/FLUENTUDF.slnx";
    QVERIFY(instantiate(fluent));
    QVERIFY(compileFunctionTable("3ddp_host"));
    QVERIFY(compileFunctionTable("3ddp_node"));
}

// Copies the test project into the build root, with the placeholders of its solution and projects
// filled in and Windows line ends, as the clean-up writes them.
bool tst_StandinDevenv::instantiate(const QString &fluentLibraries)
{
    const QString data = QStringLiteral(KESTRUNE_TEST_DATA "/standindevenv");
    QDirIterator it(data, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        QByteArray content = contentOf(source);
        if (source.endsWith(".sln") || source.endsWith(".slnx") || source.endsWith(".vcxproj")) {
            content.replace("@WINFLUENT@", windowsForm(fluent).toUtf8())
                .replace("@FLUENT@", fluentLibraries.toUtf8())
                .replace("@WINROOT@", windowsForm(buildRoot).toUtf8())
                .replace("@ROOT@", buildRoot.toUtf8())
                .replace("\n", "\r\n");
        }
        if (!writeFile(buildRoot + "/" + QDir(data).relativeFilePath(source), content))
            return false;
    }
    return true;
}

// udf_names.obj as Kestrune compiles it: cl /DUDF_EXPORTING /c /MDd with the Fluent headers.
bool tst_StandinDevenv::compileFunctionTable(const QString &variant)
{
    const QString compiler = findProgram({ "clang-cl", "clang-cl-14" });
    const QString folder = buildRoot + "/" + variant;
    QString output;
    const int status = run(compiler,
        { "--target=x86_64-pc-windows-msvc", "/nologo", "/DUDF_EXPORTING", "/c", "/MDd",
            "/I" + fluent + "/fluent19.2.0/src/udf", "/Fo" + folder + "/udf_names.obj", "--",
            folder + "/udf_names.c" },
        output);
    if (status != 0)
        qWarning().noquote() << output;
    return status == 0;
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

void tst_StandinDevenv::buildsEveryProject_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("configuration");
    QTest::addColumn<QString>("runtime");
    QTest::addColumn<QString>("summary");
    const QString built
        = "========== Build: 2 succeeded, 0 failed, 0 up-to-date, 0 skipped ==========";
    QTest::newRow("Debug|x64") << QStringList { "@SLN@", "/Build", "Debug|x64" } << "Debug"
                               << "debug C runtime" << built;
    QTest::newRow("Debug means x64") << QStringList { "@SLN@", "/Build", "Debug" } << "Debug"
                                     << "debug C runtime" << built;
    QTest::newRow("Release|x64, switch first")
        << QStringList { "/build", "Release|x64", "@SLN@" } << "Release"
        << "release C runtime" << built;
    QTest::newRow("rebuild")
        << QStringList { "@SLN@", "/Rebuild", "Release|x64" } << "Release"
        << "release C runtime"
        << "========== Rebuild All: 2 succeeded, 0 failed, 0 skipped ==========";
    QTest::newRow(".slnx, switch first")
        << QStringList { "/build", "Release|x64", "@SLNX@" } << "Release"
        << "release C runtime" << built;
}

void tst_StandinDevenv::buildsEveryProject()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, configuration);
    QFETCH(QString, runtime);
    QFETCH(QString, summary);
    QString output;
    const int status = devenv(
        arguments.replaceInStrings("@SLN@", solution).replaceInStrings("@SLNX@", slnx), output);
    QVERIFY2(status == 0, qPrintable(output));
    QVERIFY2(output.trimmed().endsWith(summary), qPrintable(output));
    // The cleaned projects still reference CMake's ZERO_CHECK project; Visual Studio only warns.
    QVERIFY(output.contains("1>3ddp_host.vcxproj : warning MSB9008: The referenced project "
                            "@WINROOT@\\solution\\ZERO_CHECK.vcxproj does not exist."));
    for (const QString &variant : QStringList { "3ddp_host", "3ddp_node" }) {
        const QString dll = dllOf(configuration, variant);
        QVERIFY2(
            output.contains(variant + ".vcxproj -> " + QString(dll).replace(buildRoot, "@ROOT@")),
            qPrintable(output));
        const QByteArray image = contentOf(dll);
        QVERIFY2(isX64Dll(image), qPrintable(dll));
        for (const QByteArray &text : { QByteArray("built for ") + configuration.toUtf8(),
                 runtime.toUtf8(), QByteArray("udf_data"), QByteArray("n_udf_data"),
                 QByteArray("UDF_Inquire_Release") })
            QVERIFY2(image.contains(text + '\0'), text.constData());
        const QString folder = QFileInfo(dll).path();
        QVERIFY(QFileInfo(folder + "/libudf.lib").isFile());
        QCOMPARE(QFileInfo(folder + "/libudf.pdb").isFile(), configuration == "Debug");
    }
    QVERIFY(!QFileInfo::exists(
        buildRoot + "/solution/" + (configuration == "Debug" ? "Release" : "Debug")));
}

void tst_StandinDevenv::failsLikeVisualStudio_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("solutionFile");
    QTest::addColumn<QString>("configuration");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("built");
    QTest::newRow("missing source")
        << "remove src/CParticleData.cpp"
        << "FLUENTUDF.sln"
        << "Debug|x64"
        << QStringList { "1>3ddp_host.vcxproj : error C1083: Cannot open source file: "
                         "'@ROOT@/src/CParticleData.cpp': No such file or directory",
               "Build: 1 succeeded, 1 failed" }
        << QStringList { "3ddp_node" };
    QTest::newRow("missing link library")
        << "no Fluent libraries"
        << "FLUENTUDF.sln"
        << "Debug|x64"
        << QStringList { "1>3ddp_host.vcxproj : error LNK1181: cannot open input file 'mport.lib'",
               "1>3ddp_host.vcxproj : error LNK1181: cannot open input file 'fl1920.lib'",
               "2>3ddp_node.vcxproj : error LNK1181: cannot open input file 'fl_mpi1920.lib'",
               "Build: 0 succeeded, 2 failed" }
        << QStringList();
    QTest::newRow("missing udf_names.obj")
        << "remove 3ddp_node/udf_names.obj"
        << "FLUENTUDF.sln"
        << "Release|x64"
        << QStringList { "2>3ddp_node.vcxproj : error LNK1181: cannot open input file "
                         "'@ROOT@/3ddp_node/udf_names.obj'",
               "Build: 1 succeeded, 1 failed" }
        << QStringList { "3ddp_host" };
    QTest::newRow("function the libraries lack")
        << "call edemConnect"
        << "FLUENTUDF.sln"
        << "Debug|x64"
        << QStringList { "1>3ddp_host.vcxproj : error LNK2019: unresolved external symbol "
                         "edemConnect",
               "Build: 1 succeeded, 1 failed" }
        << QStringList { "3ddp_node" };
    QTest::newRow("source that does not compile")
        << "break src/profile.c"
        << "FLUENTUDF.sln"
        << "Debug|x64"
        << QStringList { "1>@ROOT@/src/profile.c(", "2>@ROOT@/src/profile.c(",
               "Build: 0 succeeded, 2 failed" }
        << QStringList();
    QTest::newRow("custom build step left")
        << "custom build in 3ddp_host"
        << "FLUENTUDF.sln"
        << "Debug|x64"
        << QStringList { "1>3ddp_host.vcxproj : error MSB8066: Custom build for "
                         "'@WINROOT@\\3ddp_host\\CMakeLists.txt' exited with code 1.",
               "Build: 1 succeeded, 1 failed" }
        << QStringList { "3ddp_node" };
    QTest::newRow("configuration the solution lacks")
        << "none"
        << "FLUENTUDF.sln"
        << "Debug|Win32"
        << QStringList { "error : Invalid solution configuration \"Debug|Win32\"." }
        << QStringList();
    QTest::newRow("missing solution")
        << "remove solution/FLUENTUDF.sln"
        << "FLUENTUDF.sln"
        << "Debug|x64"
        << QStringList { "error : Cannot open the solution file '@ROOT@/solution/FLUENTUDF.sln'" }
        << QStringList();
    QTest::newRow("missing udf_names.obj, .slnx")
        << "remove 3ddp_host/udf_names.obj"
        << "FLUENTUDF.slnx"
        << "Debug|x64"
        << QStringList { "1>3ddp_host.vcxproj : error LNK1181: cannot open input file "
                         "'@ROOT@/3ddp_host/udf_names.obj'",
               "Build: 1 succeeded, 1 failed" }
        << QStringList { "3ddp_node" };
    QTest::newRow("not XML, .slnx")
        << "break solution/FLUENTUDF.slnx"
        << "FLUENTUDF.slnx"
        << "Debug|x64"
        << QStringList { "error : '@ROOT@/solution/FLUENTUDF.slnx' is not a Visual Studio "
                         "solution file: line 1:" }
        << QStringList();
}

void tst_StandinDevenv::failsLikeVisualStudio()
{
    QFETCH(QString, change);
    QFETCH(QString, solutionFile);
    QFETCH(QString, configuration);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, built);
    if (change.startsWith("remove "))
        QVERIFY(QFile::remove(buildRoot + "/" + change.mid(7)));
    else if (change == "no Fluent libraries")
        QVERIFY(instantiate(tempDir->path() + "/no Fluent here"));
    else if (change == "call edemConnect")
        QVERIFY(writeFile(buildRoot + "/src/CParticleData.cpp",
            contentOf(buildRoot + "/src/CParticleData.cpp")
                + "extern \"C\" int edemConnect(void);\nint connectToEdem() { return "
                  "edemConnect(); }\n"));
    else if (change.startsWith("break "))
        QVERIFY(writeFile(buildRoot + "/" + change.mid(6), "this is not C;\n"));
    else if (change == "custom build in 3ddp_host") {
        const QString project = buildRoot + "/solution/3ddp_host/3ddp_host.vcxproj";
        const QByteArray rule = "  <ItemGroup>\r\n    <CustomBuild Include=\""
            + windowsForm(buildRoot).toUtf8()
            + "\\3ddp_host\\CMakeLists.txt\">\r\n      <Message>Building Custom Rule</Message>\r\n"
              "    </CustomBuild>\r\n  </ItemGroup>\r\n  <ItemGroup />";
        QVERIFY(writeFile(project, contentOf(project).replace("  <ItemGroup />", rule)));
    }

    QString output;
    const int status
        = devenv({ buildRoot + "/solution/" + solutionFile, "/Build", configuration }, output);
    QVERIFY(status != 0);
    for (const QString &message : messages)
        QVERIFY2(output.contains(message), qPrintable("wanted: " + message + "\ngot:\n" + output));
    for (const QString &variant : QStringList { "3ddp_host", "3ddp_node" }) {
        const QString dll = dllOf(configuration.section('|', 0, 0), variant);
        QVERIFY2(QFileInfo::exists(dll) == built.contains(variant), qPrintable(variant));
    }
}

// OutDir, TargetName and ImportLibrary of the configuration decide where the files go.
void tst_StandinDevenv::outputGoesWhereTheProjectSays()
{
    const QString project = buildRoot + "/solution/3ddp_host/3ddp_host.vcxproj";
    const QByteArray debug = "Condition=\"'$(Configuration)|$(Platform)'=='Debug|x64'\">";
    const QByteArray folder
        = windowsForm(buildRoot).toUtf8() + "\\solution\\Debug\\libudf\\win64\\3ddp_host\\";
    QByteArray text = contentOf(project);
    text.replace("<OutDir " + debug + folder,
            "<OutDir " + debug + windowsForm(tempDir->path()).toUtf8() + "\\库 输出\\")
        .replace("<TargetName " + debug + "libudf", "<TargetName " + debug + "host_udf")
        .replace(buildRoot.toUtf8() + "/solution/Debug/libudf/win64/3ddp_host/libudf.lib",
            tempDir->path().toUtf8() + "/导入/host_udf.lib");
    QVERIFY(writeFile(project, text));

    QString output;
    QCOMPARE(devenv({ solution, "/Build", "Debug|x64" }, output), 0);
    QVERIFY(isX64Dll(contentOf(tempDir->path() + "/库 输出/host_udf.dll")));
    QVERIFY(contentOf(tempDir->path() + "/导入/host_udf.lib").startsWith("!<arch>\n"));
    QVERIFY(!QFileInfo::exists(dllOf("Debug", "3ddp_host")));
    QVERIFY(isX64Dll(contentOf(dllOf("Debug", "3ddp_node"))));
}

// Visual Studio builds a project after those it depends on, whatever the order of the file.
void tst_StandinDevenv::buildsDependenciesFirst_data()
{
    QTest::addColumn<QString>("solutionFile");
    QTest::addColumn<QByteArray>("hostLine"); // the line the dependency goes after
    QTest::addColumn<QByteArray>("dependency"); // replaces the first ZERO_CHECK one when empty
    QTest::newRow(".sln") << "FLUENTUDF.sln" << QByteArray() << QByteArray();
    QTest::newRow(".slnx, path with backslash")
        << "FLUENTUDF.slnx" << QByteArray("Id=\"5ab530cb-1880-3c37-b093-aac8f7f6f341\">\r\n")
        << QByteArray("    <BuildDependency Project=\"3ddp_node\\3ddp_node.vcxproj\"/>\r\n");
}

void tst_StandinDevenv::buildsDependenciesFirst()
{
    QFETCH(QString, solutionFile);
    QFETCH(QByteArray, hostLine);
    QFETCH(QByteArray, dependency);
    const QString path = buildRoot + "/solution/" + solutionFile;
    QByteArray text = contentOf(path);
    if (dependency.isEmpty()) {
        const QByteArray zeroCheck = "{985CA4E3-4ECA-3382-BF54-07C0BF195601}";
        const QByteArray node = "{7BE1DB36-E740-3C8B-883B-63D9E5DFF272}";
        const int hostDependency = text.indexOf(zeroCheck + " = " + zeroCheck);
        QVERIFY(hostDependency > 0);
        text.replace(hostDependency, 2 * zeroCheck.size() + 3, node + " = " + node);
    } else {
        QVERIFY(text.contains(hostLine));
        text.replace(hostLine, hostLine + dependency);
    }
    QVERIFY(writeFile(path, text));

    QString output;
    QCOMPARE(devenv({ path, "/Build", "Debug|x64" }, output), 0);
    QVERIFY2(
        output.startsWith("1>------ Build started: Project: 3ddp_node, Configuration: Debug x64"),
        qPrintable(output));
    QVERIFY(
        output.contains("2>------ Build started: Project: 3ddp_host, Configuration: Debug x64"));
}

void tst_StandinDevenv::recordsEveryStart()
{
    QString output;
    QCOMPARE(devenv({ solution }, output), 0);
    QVERIFY2(output.isEmpty(), qPrintable(output)); // opening builds nothing
    QCOMPARE(devenv({ slnx }, output), 0);
    QVERIFY(!QFileInfo::exists(buildRoot + "/solution/Debug"));
    QCOMPARE(devenv({ solution, "/Build", "Debug|x64" }, output), 0);
    QCOMPARE(devenv({ "/Build" }, output), 1);
    QVERIFY2(output.contains("error : no solution file (.sln) given to build"), qPrintable(output));

    const QString log = QFileInfo(devenvProgram).path() + "/devenv.log";
    const QStringList lines = QString::fromUtf8(contentOf(log)).split('\n');
    QCOMPARE(lines.mid(lines.size() - 5),
        QStringList({ solution, slnx, solution + "\t/Build\tDebug|x64", "/Build", "" }));
}

QTEST_GUILESS_MAIN(tst_StandinDevenv)
#include "tst_standindevenv.moc"
