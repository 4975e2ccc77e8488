#include "kestrune.h"

#include "helpers/filetree.h"

#include <QtTest>

class tst_BuildRoot : public QObject {
    Q_OBJECT

private slots:
    void init();
    void copiesHeadersAndSources_data();
    void copiesHeadersAndSources();
    void existingTreeIsReused_data();
    void existingTreeIsReused();
    void failureStopsTheCopies_data();
    void failureStopsTheCopies();

private:
    QString makeFile(const QString &relativePath, const QByteArray &content)
    {
        return filetree::make(tempDir->path(), relativePath, content);
    }

    QScopedPointer<QTemporaryDir> tempDir;
    CKestrune engine;
};

void tst_BuildRoot::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
}

void tst_BuildRoot::copiesHeadersAndSources_data()
{
    QTest::addColumn<QString>("projectFolder");
    QTest::newRow("plain") << "project";
    QTest::newRow("blanks") << "Li Wei/my cfd project";
    QTest::newRow("chinese") << "用户/流体 计算";
}

void tst_BuildRoot::copiesHeadersAndSources()
{
    QFETCH(QString, projectFolder);
    const QString header = makeFile("picked one/props.h", "#define RHO 1.2\n");
    const QString source1 = makeFile("picked one/inlet.c", "DEFINE_PROFILE(inlet, t, i) {}\n");
    const QString source2 = makeFile("other/源 文件.cpp", "int x;\n");
    const QString project = tempDir->path() + "/" + projectFolder;
    const QString root = project + "/buildByVarnholt";

    QStringList headerCopies, sourceCopies;
    QCOMPARE(engine.createBuildRoot(
                 { header }, { source1, source2 }, project, headerCopies, sourceCopies),
        0);
    QCOMPARE(headerCopies, QStringList { root + "/include/props.h" });
    QCOMPARE(sourceCopies, QStringList({ root + "/src/inlet.c", root + "/src/源 文件.cpp" }));
    QCOMPARE(filetree::read(headerCopies.at(0)), filetree::read(header));
    QCOMPARE(filetree::read(sourceCopies.at(1)), filetree::read(source2));
    // The picked files stay where they were.
    QVERIFY(QFile::exists(header) && QFile::exists(source1) && QFile::exists(source2));
}

void tst_BuildRoot::existingTreeIsReused_data()
{
    QTest::addColumn<QStringList>("existing"); // under the test's folder; folders end with "/"
    QTest::addColumn<QString>("picked"); // a source, made unless it exists; empty: none
    QTest::addColumn<QByteArray>("copyContent"); // of p/buildByVarnholt/src/a.c afterwards
    const QString src = "p/buildByVarnholt/src/";
    const QString include = "p/buildByVarnholt/include/";
    QTest::newRow("empty tree") << QStringList { src, include } << QString() << QByteArray();
    QTest::newRow("include folder missing") << QStringList { src } << QString() << QByteArray();
    QTest::newRow("stale copy replaced")
        << QStringList { src + "a.c" } << "picked/a.c" << QByteArray("picked");
    // Rebuilding from an earlier tree: the user picks the copy in the build root itself.
    QTest::newRow("picked file is its own copy")
        << QStringList { src + "a.c", include } << src + "a.c" << QByteArray("earlier");
}

void tst_BuildRoot::existingTreeIsReused()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, picked);
    QFETCH(QByteArray, copyContent);
    for (const QString &entry : existing) {
        QVERIFY(entry.endsWith('/') ? QDir().mkpath(tempDir->path() + "/" + entry)
                                    : !makeFile(entry, "earlier").isEmpty());
    }
    QStringList sources;
    if (!picked.isEmpty()) {
        sources << tempDir->path() + "/" + picked;
        if (!QFile::exists(sources.constFirst()))
            QVERIFY(!makeFile(picked, "picked").isEmpty());
    }
    const QString root = tempDir->path() + "/p/buildByVarnholt";

    QStringList headerCopies, sourceCopies;
    QCOMPARE(
        engine.createBuildRoot({}, sources, tempDir->path() + "/p", headerCopies, sourceCopies), 0);
    QVERIFY(headerCopies.isEmpty());
    QCOMPARE(sourceCopies, sources.isEmpty() ? QStringList() : QStringList { root + "/src/a.c" });
    QVERIFY(QFileInfo(root + "/include").isDir());
    if (!copyContent.isNull())
        QCOMPARE(filetree::read(root + "/src/a.c"), copyContent);
}

void tst_BuildRoot::failureStopsTheCopies_data()
{
    QTest::addColumn<QString>("blockingFile"); // empty: none
    QTest::addColumn<QStringList>("sources"); // under "picked"; gone.c is never made
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("headerCopied");
    // A plain file where a folder must go makes mkpath fail, even for root.
    QTest::newRow("build root cannot be made") << "p" << QStringList { "a.c" } << 1 << false;
    QTest::newRow("src cannot be made")
        << "p/buildByVarnholt/src" << QStringList { "a.c" } << 1 << false;
    QTest::newRow("include cannot be made")
        << "p/buildByVarnholt/include" << QStringList { "a.c" } << 1 << false;
    QTest::newRow("picked file deleted")
        << QString() << QStringList { "gone.c", "later.c" } << 2 << true;
    // A non-empty folder in the place of the copy cannot be removed as a file.
    QTest::newRow("copy's place taken by a folder")
        << "p/buildByVarnholt/src/a.c/inside" << QStringList { "a.c", "later.c" } << 2 << true;
}

// What was copied before the failure stays; nothing after it is copied.
void tst_BuildRoot::failureStopsTheCopies()
{
    QFETCH(QString, blockingFile);
    QFETCH(QStringList, sources);
    QFETCH(int, status);
    QFETCH(bool, headerCopied);
    if (!blockingFile.isEmpty())
        QVERIFY(!makeFile(blockingFile, "not a folder").isEmpty());
    const QString header = makeFile("picked/a.h", "int a;\n");
    QStringList picked;
    for (const QString &name : sources) {
        picked << tempDir->path() + "/picked/" + name;
        if (name != "gone.c")
            makeFile("picked/" + name, "int b;\n");
    }
    const QString root = tempDir->path() + "/p/buildByVarnholt";

    QStringList headerCopies, sourceCopies;
    QCOMPARE(engine.createBuildRoot(
                 { header }, picked, tempDir->path() + "/p", headerCopies, sourceCopies),
        status);
    QCOMPARE(headerCopies, headerCopied ? QStringList { root + "/include/a.h" } : QStringList());
    QCOMPARE(QFile::exists(root + "/include/a.h"), headerCopied);
    QVERIFY(sourceCopies.isEmpty());
    QVERIFY(!QFile::exists(root + "/src/later.c"));
}

QTEST_GUILESS_MAIN(tst_BuildRoot)
#include "tst_buildroot.moc"
