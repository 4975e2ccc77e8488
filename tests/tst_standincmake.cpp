#include "helpers/filetree.h"
#include "helpers/goldenfile.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

namespace {

const QString standinCMake = QStringLiteral(KESTRUNE_STANDINS_BIN "/cmake");
const QString dataDir = QStringLiteral(KESTRUNE_TEST_DATA);

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the stand-in with itself first on PATH, so that it must skip itself to find the real one,
// acting as its own default CMake version.
Run runStandin(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH",
        QStringLiteral(KESTRUNE_STANDINS_BIN) + QDir::listSeparator() + environment.value("PATH"));
    environment.remove("KESTRUNE_STANDIN_CMAKE_VERSION");
    process.setProcessEnvironment(environment);
    process.start(standinCMake, arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// Copies a tree of test input, naming the places of this run in place of the placeholders.
void copyTree(
    const QString &from, const QString &to, const QList<QPair<QByteArray, QString>> &names)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        QByteArray text = filetree::read(source);
        for (const auto &name : names)
            text.replace(name.first, name.second.toUtf8());
        QVERIFY(filetree::write(to + source.mid(from.size()), text));
    }
}

QString backslashed(QString path)
{
    return path.replace('/', '\\');
}

QString guidOf(const QString &binaryDir, const QString &name)
{
    static const QUuid nameSpace(QStringLiteral("{ee30c4be-5192-4fb0-b335-722a2dffe760}"));
    return QUuid::createUuidV3(nameSpace, binaryDir + '|' + name)
        .toString(QUuid::WithoutBraces)
        .toUpper();
}

QString md5Of(const QString &text)
{
    return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex();
}

// The places of one generated tree, and how its volatile parts are named in golden files.
struct TreePlaces {
    QString buildRoot; // the folder holding the top CMakeLists.txt
    QString cmakeCommand; // as it stands in the rules, quoted when needed
    QList<QPair<QString, QString>> extraPaths; // other folders of the tree and their placeholders
};

QByteArray normalized(QByteArray text, const TreePlaces &places)
{
    const QString binary = places.buildRoot + "/solution";
    static const QStringList names = { "ALL_BUILD", "ZERO_CHECK", "3ddp_host", "3ddp_node", "3ddp",
        "FLUENTUDF.sln", "3ddp_host.sln", "3ddp_node.sln", "3ddp.sln",
        "CMAKE_FOLDER_GUID_CMakePredefinedTargets", "SG_Filter_Source Files",
        "SG_Filter_Header Files", "SG_Filter_CMake Rules" };
    for (const QString &name : names) {
        text.replace(guidOf(binary, name).toUtf8(), "GUID(" + name.toUtf8() + ")");
        text.replace(guidOf(binary, name).toLower().toUtf8(), "guid(" + name.toUtf8() + ")");
    }
    text.replace(md5Of(binary + "/CMakeFiles").toUtf8(), "@MD5@");
    text.replace(places.cmakeCommand.toUtf8(), "@CMAKE@");
    QString s = QString::fromUtf8(text);
    // The CMake modules read and the compiler detection differ between machines and versions.
    s.remove(QRegularExpression(R"([^;<>\r\n]*[/\\]Modules[/\\][^;<>\r\n]*;)"));
    s.remove(QRegularExpression(R"((?m)^[^\r\n]*/Modules/[^\r\n]*\r\n)"));
    s.remove(QRegularExpression(R"([^;<>\r\n]*CMakeRCCompiler\.cmake(;|\r\n))"));
    s.replace(QRegularExpression(R"(CMakeFiles([/\\])\d+\.\d+\.\d+)"), "CMakeFiles\\1@VERSION@");
    for (const auto &path : places.extraPaths) {
        s.replace(backslashed(path.first), "@WIN" + path.second.mid(1));
        s.replace(path.first, path.second);
    }
    s.replace(backslashed(places.buildRoot), "@WINROOT@");
    s.replace(places.buildRoot, "@ROOT@");
    // QString drops a leading byte-order mark; the golden files must keep it.
    return (text.startsWith("\xEF\xBB\xBF") ? QByteArray("\xEF\xBB\xBF") : QByteArray())
        + s.toUtf8();
}

} // namespace

class tst_StandinCMake : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void writesGoldenFiles_data();
    void writesGoldenFiles();
    void matchesTheSampleBytes_data();
    void matchesTheSampleBytes();
    void reportsConfigureErrors();

private:
    QTemporaryDir mainDir;
    TreePlaces mainTree;
    QTemporaryDir sampleDir;
    TreePlaces sampleTree;
    QTemporaryDir slnxDir;
    TreePlaces slnxTree;
};

// Three trees are generated once and looked at by several tests: the system's own form under a
// folder with blanks and Chinese characters, one equivalent to CMake's sample tree, and the
// system's own form for Visual Studio 2026.
void tst_StandinCMake::initTestCase()
{
    QVERIFY2(QFileInfo(standinCMake).isExecutable(), qPrintable(standinCMake));
    const QString cmakeCommand = backslashed(QFileInfo(standinCMake).absoluteFilePath());

    mainTree.buildRoot = mainDir.path() + "/项目 文件夹 a b/buildByVarnholt";
    mainTree.cmakeCommand = cmakeCommand;
    copyTree(
        dataDir + "/standincmake/input", mainTree.buildRoot, { { "@ROOT@", mainTree.buildRoot } });
    Run run = runStandin({ mainTree.buildRoot, "-G", "Visual Studio 16 2019", "-B",
        mainTree.buildRoot + "/solution" });
    QVERIFY2(run.exitCode == 0, run.err.constData());
    QVERIFY(run.out.endsWith("-- Configuring done\n-- Generating done\n"
                             "-- Build files have been written to: "
        + (mainTree.buildRoot + "/solution").toUtf8() + "\n"));

    sampleTree.buildRoot = sampleDir.path() + "/buildByVarnholt";
    sampleTree.cmakeCommand = cmakeCommand;
    sampleTree.extraPaths = { { sampleDir.path() + "/CFDSolver", "@SOLVER@" } };
    copyTree(dataDir + "/standincmake-sample/input", sampleTree.buildRoot,
        { { "@ROOT@", sampleTree.buildRoot }, { "@SOLVER@", sampleDir.path() + "/CFDSolver" } });
    run = runStandin({ sampleTree.buildRoot, "-G", "Visual Studio 16 2019", "-B",
        sampleTree.buildRoot + "/solution" });
    QVERIFY2(run.exitCode == 0, run.err.constData());

    slnxTree.buildRoot = slnxDir.path() + "/buildByVarnholt";
    slnxTree.cmakeCommand = cmakeCommand;
    copyTree(
        dataDir + "/standincmake/input", slnxTree.buildRoot, { { "@ROOT@", slnxTree.buildRoot } });
    run = runStandin({ slnxTree.buildRoot, "-G", "Visual Studio 18 2026", "-B",
        slnxTree.buildRoot + "/solution" });
    QVERIFY2(run.exitCode == 0, run.err.constData());
}

// One of each kind of file the generator writes, under a folder with blanks and Chinese characters;
// Visual Studio 18 gets .slnx solutions, one per project() as the .sln files were.
void tst_StandinCMake::writesGoldenFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("slnx");
    for (const char *file :
        { "FLUENTUDF.sln", "ALL_BUILD.vcxproj", "ZERO_CHECK.vcxproj", "3ddp_host/3ddp_host.sln",
            "3ddp_host/3ddp_host.vcxproj", "3ddp_host/3ddp_host.vcxproj.filters",
            "CMakeFiles/generate.stamp.list", "3ddp_host/CMakeFiles/generate.stamp.depend" })
        QTest::newRow(file) << QString::fromLatin1(file) << false;
    for (const char *file : { "FLUENTUDF.slnx", "3ddp_host/3ddp_host.slnx" })
        QTest::newRow(file) << QString::fromLatin1(file) << true;
}

void tst_StandinCMake::writesGoldenFiles()
{
    QFETCH(QString, file);
    QFETCH(bool, slnx);
    const TreePlaces &tree = slnx ? slnxTree : mainTree;
    const QString binary = tree.buildRoot + "/solution/";
    QVERIFY(golden::matches(normalized(filetree::read(binary + file), tree),
        (slnx ? "standincmake/expected-2026/" : "standincmake/expected/")
            + QString(file).replace('/', '_')));
    if (slnx)
        QVERIFY(!QFileInfo::exists(binary + QString(file).chopped(1)));
}

// The tree equivalent to the sample, moved to this run's folder, must give the sample's bytes
// apart from what depends on the machine (modules, compiler detection, cmake's own path).
void tst_StandinCMake::matchesTheSampleBytes_data()
{
    QTest::addColumn<QString>("file");
    const QString sample = dataDir + "/standincmake-sample/vs2019";
    QDirIterator it(sample, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString entry = it.next().mid(sample.size() + 1);
        if (!entry.endsWith(".cmake") && !entry.endsWith("CMakeCache.txt"))
            QTest::newRow(qPrintable(entry)) << entry;
    }
}

void tst_StandinCMake::matchesTheSampleBytes()
{
    QFETCH(QString, file);
    const QString binary = sampleTree.buildRoot + "/solution";
    const QString md5 = md5Of("C:/work/cfd/buildByVarnholt/solution/CMakeFiles");
    const QString writtenFile = QString(file).replace(md5, md5Of(binary + "/CMakeFiles"));
    const TreePlaces samplePlaces { "C:/work/cfd/buildByVarnholt",
        "\"C:\\Program Files\\CMake\\bin\\cmake.exe\"", { { "C:/CFDSolver", "@SOLVER@" } } };
    const QByteArray expected
        = normalized(filetree::read(dataDir + "/standincmake-sample/vs2019/" + file), samplePlaces);
    const QByteArray actual = normalized(filetree::read(binary + "/" + writtenFile), sampleTree);
    if (actual != expected)
        golden::showDifference(expected, actual, "sample/" + file);
    QCOMPARE(actual, expected);
}

void tst_StandinCMake::reportsConfigureErrors()
{
    QTemporaryDir dir;
    const QString root = dir.path() + "/buildByVarnholt";
    copyTree(dataDir + "/standincmake/input", root, { { "@ROOT@", root } });
    const QString broken = root + "/3ddp_node/CMakeLists.txt";
    QVERIFY(
        filetree::write(broken, filetree::read(broken) + "add_library(3ddp_node_extra SHARED\r\n"));
    const Run run = runStandin({ root, "-G", "Visual Studio 16 2019", "-B", root + "/solution" });
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("CMake Error"), run.err.constData());
    QVERIFY2(run.err.contains("3ddp_node/CMakeLists.txt"), run.err.constData());
    QVERIFY(!run.out.contains("-- Generating done"));
    QVERIFY(!QFileInfo::exists(root + "/solution"));
}

QTEST_GUILESS_MAIN(tst_StandinCMake)
#include "tst_standincmake.moc"
