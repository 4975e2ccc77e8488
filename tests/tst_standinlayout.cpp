#include <QtTest>

// The stand-in installations: the files the system relies on, the makefile's include folders, real
// import libraries, UDF sources and a function table that compile and link against them, the
// layout script itself and the devenv stand-in. Fluent 19.2 and Visual Studio 2019 are the
// defaults; Fluent 2024 R2 and Visual Studio 2026 lie beside them.
class tst_StandinLayout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void filesTheSystemReliesOn_data();
    void filesTheSystemReliesOn();
    void vcvarsTellsTheVersion_data();
    void vcvarsTellsTheVersion();
    void makefileHasWindowsIncludeLines_data();
    void makefileHasWindowsIncludeLines();
    void includeFoldersExistForEveryVariant_data();
    void includeFoldersExistForEveryVariant();
    void importLibrariesNameTheirDll_data();
    void importLibrariesNameTheirDll();
    void sourcesCompileAgainstTheInstallation_data();
    void sourcesCompileAgainstTheInstallation();
    void libraryLinksFromTableAndSources_data();
    void libraryLinksFromTableAndSources();
    void layoutScriptLaysOutAnywhere();
    void layoutScriptNeedsItsValues_data();
    void layoutScriptNeedsItsValues();

private:
    QStringList includeFolders(const QString &variant, const QString &release = "19.2.0") const;
    bool compile(const QString &source, const QString &variant, bool coupling, QString &object);

    QScopedPointer<QTemporaryDir> tempDir;
    QString fluent;
    QString fluent242;
    QString studio;
    QString studio18;
    QString edem;
};

static const QStringList variants { "2d", "3d", "2ddp", "3ddp", "2d_host", "3d_host", "2ddp_host",
    "3ddp_host", "2d_node", "3d_node", "2ddp_node", "3ddp_node" };

static QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The include options of a makefile, from "-I" on, trimmed: those of its INCLUDES, or those of its
// optional GPU block.
static QStringList includeOptions(const QByteArray &makefile, bool gpuBlock)
{
    QStringList options;
    bool inBlock = false;
    for (const QByteArray &line : makefile.split('\n')) {
        if (line.startsWith("!IF") || line.startsWith("!ENDIF"))
            inBlock = line.startsWith("!IF");
        const int at = line.indexOf("-I");
        if (at >= 0 && inBlock == gpuBlock)
            options << QString::fromUtf8(line.mid(at)).trimmed();
    }
    return options;
}

static bool isX64CoffObject(const QString &path)
{
    return contentOf(path).startsWith(QByteArray("\x64\x86", 2));
}

// Every file below a folder, by relative path, with its content: two layouts are equal when these
// are.
static QMap<QString, QByteArray> filesBelow(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileName() != QLatin1String("devenv.log")) // other tests start this devenv
            files.insert(QDir(folder).relativeFilePath(path), contentOf(path));
    }
    return files;
}

static int runProgram(const QString &program, const QStringList &arguments, QByteArray &errors)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    errors = process.readAllStandardOutput() + process.readAllStandardError();
    return process.exitCode();
}

void tst_StandinLayout::initTestCase()
{
    qputenv("PATH", QByteArray(KESTRUNE_STANDINS_BIN) + ':' + qgetenv("PATH"));
    const QString root = QStringLiteral(KESTRUNE_STANDIN_INSTALLATIONS);
    fluent = root + "/ANSYS Inc/v192/fluent";
    fluent242 = root + "/ANSYS Inc/v242/fluent";
    studio = root + "/Microsoft Visual Studio/2019/Community";
    studio18 = root + "/Microsoft Visual Studio/18/Community";
    edem = root + "/DEM Solutions/EDEM 2018";
}

void tst_StandinLayout::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
}

void tst_StandinLayout::filesTheSystemReliesOn_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("program");
    QTest::newRow("fluent.exe") << fluent + "/ntbin/win64/fluent.exe" << false;
    QTest::newRow("makefile") << fluent + "/fluent19.2.0/src/udf/makefile_nt.udf" << false;
    QTest::newRow("devenv.exe") << studio + "/Common7/IDE/devenv.exe" << true;
    QTest::newRow("vcvars64.bat") << studio + "/VC/Auxiliary/Build/vcvars64.bat" << false;
    QTest::newRow("edem.exe") << edem + "/bin/edem.exe" << false;
    QTest::newRow("coupling header") << edem + "/src/Api/Coupling/EdemCouplingClient.h" << false;
    QTest::newRow("core header") << edem + "/src/Api/Core/EdemCoreTypes.h" << false;
    QTest::newRow("fluent.exe 2024 R2") << fluent242 + "/ntbin/win64/fluent.exe" << false;
    QTest::newRow("fl2420.dll") << fluent242 + "/ntbin/win64/fl2420.dll" << true;
    QTest::newRow("mport.dll 2024 R2") << fluent242 + "/ntbin/win64/mport.dll" << true;
    QTest::newRow("devenv.exe 2026") << studio18 + "/Common7/IDE/devenv.exe" << true;
    QTest::newRow("C runtime 2026")
        << studio18 + "/VC/Tools/MSVC/14.50.35717/lib/x64/msvcrt.lib" << false;
}

void tst_StandinLayout::filesTheSystemReliesOn()
{
    QFETCH(QString, path);
    QFETCH(bool, program);
    QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
    QCOMPARE(QFileInfo(path).isExecutable(), program);
}

void tst_StandinLayout::vcvarsTellsTheVersion_data()
{
    QTest::addColumn<QString>("studioFolder");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("2019") << studio << QByteArray("set VisualStudioVersion=16.0\r\n");
    QTest::newRow("2026") << studio18 << QByteArray("set VisualStudioVersion=18.0\r\n");
}

void tst_StandinLayout::vcvarsTellsTheVersion()
{
    QFETCH(QString, studioFolder);
    QFETCH(QByteArray, line);
    const QByteArray vcvars = contentOf(studioFolder + "/VC/Auxiliary/Build/vcvars64.bat");
    QVERIFY2(vcvars.contains(line), vcvars.constData());
    QVERIFY(vcvars.contains("set VSCMD_ARG_TGT_ARCH=x64\r\n"));
}

void tst_StandinLayout::makefileHasWindowsIncludeLines_data()
{
    QTest::addColumn<QString>("makefile");
    QTest::addColumn<QStringList>("folders"); // that must be named once each
    QTest::addColumn<QString>("last");
    QTest::addColumn<int>("gpuOptions");
    QTest::newRow("19.2") << fluent + "/fluent19.2.0/src/udf/makefile_nt.udf"
                          << QStringList { "\\src\\main", "\\src\\udf", "\\cortex\\src",
                                 "\\client\\src" }
                          << "\\fluent$(RELEASE)\\multiport\\src" << 0;
    // Since 2020 the list ends with the installation's own include folder, and a GPU build adds
    // folders of its own.
    QTest::newRow("2024 R2") << fluent242 + "/fluent24.2.0/src/udf/makefile_nt.udf"
                             << QStringList { "\\src\\udf", "\\src\\acoustics",
                                    "\\multiport\\mpi_wrapper\\src" }
                             << "\"$(FLUENT_INC)\"\\include" << 2;
}

void tst_StandinLayout::makefileHasWindowsIncludeLines()
{
    QFETCH(QString, makefile);
    QFETCH(QStringList, folders);
    QFETCH(QString, last);
    QFETCH(int, gpuOptions);
    const QByteArray content = contentOf(makefile);
    QVERIFY(!content.isEmpty());
    QCOMPARE(content.count("\n"), content.count("\r\n"));
    const QStringList options = includeOptions(content, false);
    QVERIFY2(options.size() >= 25, qPrintable(options.join('\n')));
    QCOMPARE(options.first(), QString("-I. \\"));
    const QRegularExpression form(
        R"re(^-I"\$\(FLUENT_INC\)"\\(fluent\$\(RELEASE\)\\)?[^ "]+( \\)?$)re");
    for (const QString &option : options.mid(1)) {
        QVERIFY2(form.match(option).hasMatch(), qPrintable(option));
        QCOMPARE(option.endsWith(" \\"), option != options.last());
    }
    QCOMPARE(options.at(1),
        QString(R"mk(-I"$(FLUENT_INC)"\fluent$(RELEASE)\$(FLUENT_ARCH)\$(VERSION) \)mk"));
    for (const QString &folder : folders)
        QVERIFY2(options.filter(folder + " \\").size() == 1, qPrintable(folder));
    QVERIFY2(options.last().endsWith(last), qPrintable(options.last()));
    const QStringList gpu = includeOptions(content, true);
    QCOMPARE(gpu.size(), gpuOptions);
    for (const QString &option : gpu)
        QVERIFY2(form.match(option).hasMatch(), qPrintable(option));
}

// The include folders of a variant, read from the makefile the way Fluent's own build would,
// without the GPU block.
QStringList tst_StandinLayout::includeFolders(const QString &variant, const QString &release) const
{
    const QString prefix = QStringLiteral("-I\"$(FLUENT_INC)\"");
    const QString root = release == "19.2.0" ? fluent : fluent242;
    QStringList folders;
    const QByteArray makefile = contentOf(root + "/fluent" + release + "/src/udf/makefile_nt.udf");
    for (QString option : includeOptions(makefile, false)) {
        if (!option.startsWith(prefix))
            continue;
        if (option.endsWith(" \\"))
            option.chop(2);
        option = option.mid(prefix.size())
                     .replace("$(RELEASE)", release)
                     .replace("$(FLUENT_ARCH)", "win64")
                     .replace("$(VERSION)", variant)
                     .replace('\\', '/');
        folders << root + option;
    }
    return folders;
}

void tst_StandinLayout::includeFoldersExistForEveryVariant_data()
{
    QTest::addColumn<QString>("release");
    QTest::addColumn<QString>("variant");
    for (const QString &variant : variants)
        QTest::newRow(qPrintable(variant)) << "19.2.0" << variant;
    for (const char *variant : { "3d", "3ddp_host", "2d_node" })
        QTest::newRow(qPrintable("2024 R2 " + QString(variant))) << "24.2.0" << QString(variant);
}

void tst_StandinLayout::includeFoldersExistForEveryVariant()
{
    QFETCH(QString, release);
    QFETCH(QString, variant);
    const QStringList folders = includeFolders(variant, release);
    QVERIFY(folders.size() >= 25);
    QVERIFY(folders.first().endsWith("/fluent" + release + "/win64/" + variant));
    for (const QString &folder : folders)
        QVERIFY2(QFileInfo(folder).isDir(), qPrintable(folder));
    for (const char *header : { "udf.h", "prop.h", "dpm.h", "version.h" }) {
        const bool found = std::any_of(folders.begin(), folders.end(), [&](const QString &folder) {
            return QFileInfo(folder + "/" + QString(header)).isFile();
        });
        QVERIFY2(found, header);
    }
    // The release that a UDF library reports to Fluent.
    const QByteArray version
        = contentOf(QFileInfo(folders.first()).path() + "/../src/udf/version.h");
    const QStringList parts = release.split('.');
    for (int i = 0; i < 3; ++i) {
        const QByteArray define = QByteArray("#define RampantRelease")
            + QList<QByteArray> { "Major ", "Minor ", "Revision " }.at(i) + parts.at(i).toUtf8();
        QVERIFY2(version.contains(define + '\n'), define.constData());
    }
}

void tst_StandinLayout::importLibrariesNameTheirDll_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QByteArray>("dll");
    QTest::addColumn<QByteArray>("symbol");
    for (const QString &variant : variants) {
        const bool node = variant.endsWith("_node");
        QTest::newRow(qPrintable(variant))
            << fluent + "/fluent19.2.0/win64/" + variant
                + (node ? "/fl_mpi1920.lib" : "/fl1920.lib")
            << QByteArray(node ? "fl_mpi1920.dll" : "fl1920.dll") << QByteArray("Message");
    }
    QTest::newRow("multiport") << fluent + "/fluent19.2.0/multiport/win64/net/shared/mport.lib"
                               << QByteArray("mport.dll") << QByteArray("mport_rank");
    const QString release242 = fluent242 + "/fluent24.2.0";
    QTest::newRow("2024 R2 3ddp_host") << release242 + "/win64/3ddp_host/fl2420.lib"
                                       << QByteArray("fl2420.dll") << QByteArray("Message");
    QTest::newRow("2024 R2 2d_node") << release242 + "/win64/2d_node/fl_mpi2420.lib"
                                     << QByteArray("fl_mpi2420.dll") << QByteArray("Message");
    QTest::newRow("2024 R2 multiport") << release242 + "/multiport/win64/net/shared/mport.lib"
                                       << QByteArray("mport.dll") << QByteArray("mport_rank");
    QTest::newRow("edem") << edem + "/lib/EDEMCouplingClient4.lib"
                          << QByteArray("EDEMCouplingClient4.dll") << QByteArray("edemConnect");
}

void tst_StandinLayout::importLibrariesNameTheirDll()
{
    QFETCH(QString, library);
    QFETCH(QByteArray, dll);
    QFETCH(QByteArray, symbol);
    const QByteArray content = contentOf(library);
    QVERIFY2(content.startsWith("!<arch>\n"), qPrintable(library));
    QVERIFY(content.contains(dll + '\0'));
    QVERIFY(content.contains("__imp_" + symbol + '\0'));
}

// Compiles a source from the test data through the stand-in cmd.exe, with a batch file of the
// shape the system writes: vcvars, then cl with one quoted /I per include folder of the variant.
bool tst_StandinLayout::compile(
    const QString &source, const QString &variant, bool coupling, QString &object)
{
    const QString dir = tempDir->path() + "/build root/" + variant;
    QDir().mkpath(dir);
    const QString copy = dir + "/" + source;
    QFile file(copy);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(contentOf(QStringLiteral(KESTRUNE_TEST_DATA "/standinlayout/") + source)
                   .replace("\n", "\r\n"));
    file.close();
    QStringList includes = includeFolders(variant);
    if (coupling)
        includes << edem + "/src/Api/Coupling" << edem + "/src/Api/Core";
    object = dir + "/" + QFileInfo(source).completeBaseName() + ".obj";
    QString batch = QString("@echo off\ncall \"%1/VC/Auxiliary/Build/vcvars64.bat\"\n"
                            "cl /DUDF_EXPORTING /c /MDd ^\n")
                        .arg(studio);
    for (const QString &folder : includes)
        batch += QString("/I\"%1\" ^\n").arg(folder);
    batch += QString("\"%1\" /Fo\"%2\"").arg(copy, object);
    QFile batchFile(dir + "/compileOBJ.bat");
    if (!batchFile.open(QIODevice::WriteOnly))
        return false;
    batchFile.write(batch.toUtf8().replace("\n", "\r\n"));
    batchFile.close();
    QByteArray errors;
    const int status = runProgram("cmd.exe", { "/c", batchFile.fileName() }, errors);
    if (status != 0)
        qWarning("%s", errors.constData());
    return status == 0;
}

void tst_StandinLayout::sourcesCompileAgainstTheInstallation_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("variant");
    QTest::addColumn<bool>("coupling");
    QTest::newRow("function table, serial") << "udf_names.c"
                                            << "3ddp" << false;
    QTest::newRow("function table, node") << "udf_names.c"
                                          << "2d_node" << false;
    QTest::newRow("c source") << "inlet.c"
                              << "3d" << false;
    QTest::newRow("c++ source with edem") << "coupling.cpp"
                                          << "3ddp_host" << true;
    QTest::newRow("every function type") << "properties.c"
                                         << "2ddp" << false;
}

void tst_StandinLayout::sourcesCompileAgainstTheInstallation()
{
    QFETCH(QString, source);
    QFETCH(QString, variant);
    QFETCH(bool, coupling);
    QString object;
    QVERIFY(compile(source, variant, coupling, object));
    QVERIFY(isX64CoffObject(object));
}

void tst_StandinLayout::libraryLinksFromTableAndSources_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("libraries");
    const QString release = fluent + "/fluent19.2.0";
    const QString multiport = "/libpath:" + release + "/multiport/win64/net/shared";
    const QString coupling = "/libpath:" + edem + "/lib";
    QTest::newRow("host") << "3ddp_host"
                          << QStringList { "/libpath:" + release + "/win64/3ddp_host", multiport,
                                 coupling, "mport.lib", "fl1920.lib", "EDEMCouplingClient4.lib" };
    QTest::newRow("node") << "2d_node"
                          << QStringList { "/libpath:" + release + "/win64/2d_node", multiport,
                                 coupling, "mport.lib", "fl_mpi1920.lib",
                                 "EDEMCouplingClient4.lib" };
}

// The table's externs must meet the C and C++ definitions, and the import libraries must give
// every solver and EDEM function: the library links.
void tst_StandinLayout::libraryLinksFromTableAndSources()
{
    QFETCH(QString, variant);
    QFETCH(QStringList, libraries);
    QStringList objects;
    for (const char *source : { "udf_names.c", "inlet.c", "coupling.cpp" }) {
        QString object;
        QVERIFY2(compile(source, variant, true, object), source);
        objects << object;
    }
    QString linker = QStandardPaths::findExecutable("lld-link");
    if (linker.isEmpty())
        linker
            = QStandardPaths::findExecutable("lld-link-14", { "/usr/bin", "/usr/lib/llvm-14/bin" });
    QVERIFY2(!linker.isEmpty(), "lld-link (package lld-14) is needed");
    const QString dll = tempDir->path() + "/build root/libudf.dll";
    QByteArray errors;
    const int status = runProgram(linker,
        QStringList { "/dll", "/noentry", "/nodefaultlib", "/machine:x64", "/out:" + dll } + objects
            + libraries,
        errors);
    QVERIFY2(status == 0, errors.constData());
    const QByteArray library = contentOf(dll);
    QVERIFY(library.startsWith("MZ"));
    for (const char *name :
        { "udf_data", "n_udf_data", "UDF_Inquire_Release", "mport.dll", "EDEMCouplingClient4.dll" })
        QVERIFY2(library.contains(name), name);
}

void tst_StandinLayout::layoutScriptLaysOutAnywhere()
{
    const QString destination = tempDir->path() + "/安装 目录";
    QDir().mkpath(destination + "/ANSYS Inc/stale");
    QByteArray errors;
    QCOMPARE(runProgram(KESTRUNE_CMAKE_COMMAND,
                 { "-DDESTINATION=" + destination, "-DDEVENV=" KESTRUNE_STANDIN_DEVENV, "-P",
                     KESTRUNE_STANDIN_LAYOUT_SCRIPT },
                 errors),
        0);
    QVERIFY(!QFileInfo::exists(destination + "/ANSYS Inc/stale"));
    const auto laidOut = filesBelow(destination);
    QCOMPARE(laidOut.keys(), filesBelow(KESTRUNE_STANDIN_INSTALLATIONS).keys());
    QVERIFY(laidOut == filesBelow(KESTRUNE_STANDIN_INSTALLATIONS));

    const QString devenv
        = destination + "/Microsoft Visual Studio/2019/Community/Common7/IDE/devenv.exe";
    QCOMPARE(runProgram(devenv, { "/tmp/p q/buildByVarnholt/solution/FLUENTUDF.sln" }, errors), 0);
    // Building a solution that is not there fails, and the start is recorded all the same.
    QCOMPARE(runProgram(devenv, { "/build", "Debug", "流体 计算.sln" }, errors), 1);
    QCOMPARE(QString::fromUtf8(contentOf(QFileInfo(devenv).path() + "/devenv.log")),
        QString("/tmp/p q/buildByVarnholt/solution/FLUENTUDF.sln\n/build\tDebug\t流体 计算.sln\n"));
}

void tst_StandinLayout::layoutScriptNeedsItsValues_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("no destination")
        << QStringList { "-DDEVENV=" KESTRUNE_STANDIN_DEVENV } << QByteArray("-DDESTINATION=");
    QTest::newRow("no devenv") << QStringList { "-DDESTINATION=@DEST@" } << QByteArray("-DDEVENV=");
    QTest::newRow("missing devenv")
        << QStringList { "-DDESTINATION=@DEST@", "-DDEVENV=/no/devenv" } << QByteArray("-DDEVENV=");
    QTest::newRow("missing stubs") << QStringList { "-DDESTINATION=@DEST@",
        "-DDEVENV=" KESTRUNE_STANDIN_DEVENV, "-DSTUBS=/no/stubs" }
                                   << QByteArray("-DSTUBS=");
    QTest::newRow("missing dlltool") << QStringList { "-DDESTINATION=@DEST@",
        "-DDEVENV=" KESTRUNE_STANDIN_DEVENV, "-DDLLTOOL=/no/llvm-dlltool" }
                                     << QByteArray("/no/llvm-dlltool failed");
}

void tst_StandinLayout::layoutScriptNeedsItsValues()
{
    QFETCH(QStringList, values);
    QFETCH(QByteArray, message);
    values.replaceInStrings("@DEST@", tempDir->path());
    QByteArray errors;
    const int status = runProgram(KESTRUNE_CMAKE_COMMAND,
        values + QStringList { "-P", KESTRUNE_STANDIN_LAYOUT_SCRIPT }, errors);
    QVERIFY(status != 0);
    QVERIFY2(errors.contains("layout.cmake: ") && errors.contains(message), errors.constData());
}

QTEST_GUILESS_MAIN(tst_StandinLayout)
#include "tst_standinlayout.moc"
