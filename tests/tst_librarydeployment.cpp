#include "librarydeployment.h"

#include "helpers/filetree.h"
#include "wineloader.h"

#include <QtTest>

// The built libraries laid into a Fluent case folder where Fluent's own build puts them, and never
// over a library that a running process holds, nor half of one.
class tst_LibraryDeployment : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void laysEachVariant_data();
    void laysEachVariant();
    void refusesWhileInUse_data();
    void refusesWhileInUse();
    void refusesWithoutBuiltLibrary();
    void failedCopyLeavesOldLibrary_data();
    void failedCopyLeavesOldLibrary();

private:
    QString makeBuilt(const QString &relativePath, const QByteArray &content);
    bool startHolder(const QString &how, const QString &library);

    QScopedPointer<QTemporaryDir> tempDir;
    QString buildRoot;
    QString caseFolder;
    QProcess holder;
};

using Problem = LibraryDeployment::Result::Problem;
Q_DECLARE_METATYPE(LibraryDeployment::Result::Problem)

void tst_LibraryDeployment::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
    buildRoot = tempDir->path() + "/project/buildByVarnholt";
    caseFolder = tempDir->path() + "/Fluent cases/弯管 (2) 换热";
    QVERIFY(filetree::write(caseFolder + "/elbow.cas", "(0 \"case\")\n"));
}

void tst_LibraryDeployment::cleanup()
{
    if (holder.state() != QProcess::NotRunning) {
        holder.closeWriteChannel();
        if (!holder.waitForFinished(10000))
            holder.kill();
        holder.waitForFinished(5000);
    }
}

QString tst_LibraryDeployment::makeBuilt(const QString &relativePath, const QByteArray &content)
{
    return filetree::make(buildRoot, relativePath, content);
}

// Starts a process that holds the library and waits until it says it does.
bool tst_LibraryDeployment::startHolder(const QString &how, const QString &library)
{
    if (how == "wine") {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("WINEPREFIX", KESTRUNE_WINE_PREFIX);
        environment.insert("WINEDEBUG", "-all");
        environment.insert("WINEDLLOVERRIDES", "mscoree,mshtml,winemenubuilder.exe=");
        environment.insert("LC_ALL", "C.UTF-8");
        environment.remove("DISPLAY");
        holder.setProcessEnvironment(environment);
        holder.start(QStringLiteral("/usr/lib/wine/wine64"),
            { KESTRUNE_UDF_LOADER, "--hold", WineLoader::windowsPath(library) });
    } else {
        holder.start(KESTRUNE_HOLD_LIBRARY, { how, library });
    }
    // A new Wine prefix takes a while to make.
    QDeadlineTimer deadline(120000);
    QByteArray said;
    while (holder.waitForReadyRead(int(deadline.remainingTime())) || !deadline.hasExpired()) {
        said += holder.readAllStandardOutput();
        if (said.contains("held_report ON_DEMAND") || said.contains("holding"))
            return true;
        if (holder.state() == QProcess::NotRunning)
            break;
    }
    qWarning() << "the holder did not hold:" << said << holder.readAllStandardError();
    return false;
}

void tst_LibraryDeployment::laysEachVariant_data()
{
    QTest::addColumn<bool>("coupling");
    QTest::addColumn<QString>("configuration");
    QTest::addColumn<QStringList>("variants");
    QTest::addColumn<QStringList>("built"); // below the build root
    QTest::addColumn<QStringList>("laid"); // below the case folder
    // Serial and parallel libraries of either configuration are laid by the library build's test
    // from real builds; here the other configuration and the other kind lie beside them.
    QTest::newRow("coupling, Debug")
        << true << "Debug" << QStringList { "2ddp_host", "2ddp_node" }
        << QStringList { "solution/Debug/edem_udf/win64/2ddp_host/libudf.dll",
               "solution/Debug/edem_udf/win64/2ddp_node/libudf.dll" }
        << QStringList { "edem_udf/win64/2ddp_host/libudf.dll",
               "edem_udf/win64/2ddp_node/libudf.dll" };
}

void tst_LibraryDeployment::laysEachVariant()
{
    QFETCH(bool, coupling);
    QFETCH(QString, configuration);
    QFETCH(QStringList, variants);
    QFETCH(QStringList, built);
    QFETCH(QStringList, laid);
    // The other configuration and the other library kind lie beside them; neither may be taken.
    const QString other = configuration == "Debug" ? "Release" : "Debug";
    for (const QString &path : built) {
        QVERIFY(!makeBuilt(path, "MZ new " + path.toUtf8()).isEmpty());
        QVERIFY(!makeBuilt(QString(path).replace(configuration, other), "MZ other").isEmpty());
        QVERIFY(!makeBuilt(QString(path).replace(
                               coupling ? "edem_udf" : "libudf", coupling ? "libudf" : "edem_udf"),
            "MZ other kind")
                     .isEmpty());
    }
    // A stale library of the first variant is replaced.
    QVERIFY(filetree::write(caseFolder + "/" + laid.first(), "MZ stale"));

    const LibraryDeployment::Result result = LibraryDeployment::lay(
        LibraryDeployment::copiesOf(buildRoot, caseFolder, configuration, coupling, variants));
    QVERIFY2(result.succeeded(), qPrintable(result.failedLibrary + ": " + result.reason));
    QStringList expectedTargets;
    for (int i = 0; i < laid.size(); ++i) {
        expectedTargets << caseFolder + "/" + laid.at(i);
        QCOMPARE(filetree::read(caseFolder + "/" + laid.at(i)), "MZ new " + built.at(i).toUtf8());
    }
    QCOMPARE(result.laid, expectedTargets);
    // Nothing else in the case folder: no temporary file left beside a library.
    for (const QString &entry : filetree::listing(caseFolder).split('\n', Qt::SkipEmptyParts))
        QVERIFY2(
            entry.endsWith('/') || entry == "elbow.cas" || laid.contains(entry), qPrintable(entry));
}

void tst_LibraryDeployment::refusesWhileInUse_data()
{
    QTest::addColumn<QString>("user");
    QTest::newRow("Fluent's loader under Wine") << "wine";
    QTest::newRow("a process that maps it") << "map";
    QTest::newRow("a process that holds it open") << "open";
}

// The node's library is held; the host's, laid first, must stay as it was too.
void tst_LibraryDeployment::refusesWhileInUse()
{
    QFETCH(QString, user);
    if (user == "wine") {
        const QString reason
            = WineLoader(KESTRUNE_UDF_LOADER, KESTRUNE_WINE_PREFIX).unavailableReason();
        if (!reason.isEmpty())
            QSKIP(qPrintable(reason));
    }
    const QList<LibraryDeployment::Copy> copies = LibraryDeployment::copiesOf(
        buildRoot, caseFolder, "Debug", false, { "3ddp_host", "3ddp_node" });
    const QByteArray oldLibrary = filetree::read(KESTRUNE_HELD_LIBRARY);
    QVERIFY(oldLibrary.startsWith("MZ"));
    for (const LibraryDeployment::Copy &copy : copies) {
        QVERIFY(filetree::write(copy.built, "MZ new library"));
        QVERIFY(filetree::write(copy.target, oldLibrary));
    }
    const QString held = copies.at(1).target;
    QVERIFY(!LibraryDeployment::isInUse(held));
    QVERIFY(startHolder(user, held));

    QVERIFY(LibraryDeployment::isInUse(held));
    QVERIFY(!LibraryDeployment::isInUse(copies.at(0).target));
    const QString before = filetree::listing(caseFolder);
    const LibraryDeployment::Result refused = LibraryDeployment::lay(copies);
    QCOMPARE(refused.problem, Problem::InUse);
    QVERIFY(refused.inUse());
    QCOMPARE(refused.failedLibrary, held);
    QVERIFY(refused.laid.isEmpty());
    for (const LibraryDeployment::Copy &copy : copies)
        QCOMPARE(filetree::read(copy.target), oldLibrary);
    QCOMPARE(filetree::listing(caseFolder), before);

    // Unloaded (Fluent closed), the copy goes through.
    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(30000));
    QTRY_VERIFY_WITH_TIMEOUT(!LibraryDeployment::isInUse(held), 15000);
    const LibraryDeployment::Result laid = LibraryDeployment::lay(copies);
    QVERIFY2(laid.succeeded(), qPrintable(laid.reason));
    QCOMPARE(filetree::read(held), QByteArray("MZ new library"));
}

void tst_LibraryDeployment::refusesWithoutBuiltLibrary()
{
    const QList<LibraryDeployment::Copy> copies = LibraryDeployment::copiesOf(
        buildRoot, caseFolder, "Release", false, { "3ddp_host", "3ddp_node" });
    QVERIFY(filetree::write(copies.at(0).built, "MZ host"));
    const QString before = filetree::listing(caseFolder);
    const LibraryDeployment::Result result = LibraryDeployment::lay(copies);
    QCOMPARE(result.problem, Problem::BuiltLibraryMissing);
    QCOMPARE(result.failedLibrary, copies.at(1).built);
    QVERIFY(result.laid.isEmpty());
    QCOMPARE(filetree::listing(caseFolder), before);
}

void tst_LibraryDeployment::failedCopyLeavesOldLibrary_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<Problem>("problem");
    QTest::addColumn<int>("failing"); // the copy named as failed
    QTest::newRow("cancelled in the middle") << "cancel" << Problem::Cancelled << 0;
    QTest::newRow("node's target is a folder") << "folder" << Problem::WriteFailed << 1;
    QTest::newRow("node's folder cannot be made") << "file in the way" << Problem::WriteFailed << 1;
}

// Every fault leaves the case folder as it was: old libraries byte for byte, no temporary file.
void tst_LibraryDeployment::failedCopyLeavesOldLibrary()
{
    QFETCH(QString, fault);
    QFETCH(Problem, problem);
    QFETCH(int, failing);
    const QList<LibraryDeployment::Copy> copies = LibraryDeployment::copiesOf(
        buildRoot, caseFolder, "Debug", false, { "3ddp_host", "3ddp_node" });
    // Three pieces of the copy, so that a cancel can come between them.
    const QByteArray large = "MZ" + QByteArray(3 << 20, 'n');
    QVERIFY(filetree::write(copies.at(0).built, large));
    QVERIFY(filetree::write(copies.at(1).built, large));
    QVERIFY(filetree::write(copies.at(0).target, "MZ old host"));
    if (fault == "folder")
        QVERIFY(QDir().mkpath(copies.at(1).target));
    else if (fault == "file in the way")
        QVERIFY(filetree::write(caseFolder + "/libudf/win64/3ddp_node", "not a folder"));
    else
        QVERIFY(filetree::write(copies.at(1).target, "MZ old node"));
    const QString before = filetree::listing(caseFolder);

    int asked = 0;
    const auto cancelSecondTime = [&asked] { return ++asked == 2; };
    const LibraryDeployment::Result result = fault == "cancel"
        ? LibraryDeployment::lay(copies, cancelSecondTime)
        : LibraryDeployment::lay(copies);
    QCOMPARE(result.problem, problem);
    QCOMPARE(result.failedLibrary, copies.at(failing).target);
    QVERIFY(result.laid.isEmpty());
    QCOMPARE(filetree::read(copies.at(0).target), QByteArray("MZ old host"));
    if (fault == "cancel") {
        QCOMPARE(asked, 2);
        QCOMPARE(filetree::read(copies.at(1).target), QByteArray("MZ old node"));
    }
    QCOMPARE(filetree::listing(caseFolder), before);
}

QTEST_GUILESS_MAIN(tst_LibraryDeployment)
#include "tst_librarydeployment.moc"
