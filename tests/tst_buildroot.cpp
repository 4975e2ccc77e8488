#include "kestrune.h"

#include <QtTest>

class tst_BuildRoot : public QObject {
    Q_OBJECT

private slots:
    void init();
    void copiesHeadersAndSources_data();
    void copiesHeadersAndSources();
    void existingBuildRootIsReused();
    void existingCopiesAreReplaced();
    void missingIncludeFolderIsMade();
    void folderThatCannotBeMade_data();
    void folderThatCannotBeMade();
    void deletedPickedFileStopsTheCopies();
    void targetThatCannotBeRemoved();
    void pickedFileIsItsOwnCopy();

private:
    QString makeFile(const QString &relativePath, const QByteArray &content);

    QScopedPointer<QTemporaryDir> tempDir;
    CKestrune engine;
};

void tst_BuildRoot::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
}

QString tst_BuildRoot::makeFile(const QString &relativePath, const QByteArray &content)
{
    const QString path = tempDir->path() + "/" + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(content);
    return path;
}

static QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
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

    QTest::ignoreMessage(QtDebugMsg, "varnholtPath directory created successfully");
    QTest::ignoreMessage(QtDebugMsg, "srcPath directory created successfully");
    QTest::ignoreMessage(QtDebugMsg, "includePath directory created successfully");
    QTest::ignoreMessage(QtDebugMsg,
        QRegularExpression("^File copied successfully from \".*inlet.c\" to \""
            + QRegularExpression::escape(root) + "/src/inlet.c\"$"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^File copied successfully from"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^File copied successfully from"));

    QStringList headerCopies, sourceCopies;
    QCOMPARE(engine.createBuildRoot(
                 { header }, { source1, source2 }, project, headerCopies, sourceCopies),
        0);
    QCOMPARE(headerCopies, QStringList { root + "/include/props.h" });
    QCOMPARE(sourceCopies, QStringList({ root + "/src/inlet.c", root + "/src/源 文件.cpp" }));
    QCOMPARE(contentOf(headerCopies.at(0)), contentOf(header));
    QCOMPARE(contentOf(sourceCopies.at(1)), contentOf(source2));
    // The picked files stay where they were.
    QVERIFY(QFile::exists(header) && QFile::exists(source1) && QFile::exists(source2));
}

void tst_BuildRoot::existingBuildRootIsReused()
{
    const QString project = tempDir->path() + "/p";
    QVERIFY(QDir().mkpath(project + "/buildByVarnholt/src"));
    QVERIFY(QDir().mkpath(project + "/buildByVarnholt/include"));
    QTest::ignoreMessage(QtDebugMsg, "srcPath directory already exists");

    QStringList headerCopies, sourceCopies;
    QCOMPARE(engine.createBuildRoot({}, {}, project, headerCopies, sourceCopies), 0);
    QVERIFY(headerCopies.isEmpty());
    QVERIFY(sourceCopies.isEmpty());
}

void tst_BuildRoot::existingCopiesAreReplaced()
{
    const QString project = tempDir->path() + "/p";
    const QString stale = makeFile("p/buildByVarnholt/src/a.c", "old table source");
    const QString picked = makeFile("picked/a.c", "DEFINE_ADJUST(adjust, d) {}\n");

    QStringList headerCopies, sourceCopies;
    QCOMPARE(engine.createBuildRoot({}, { picked }, project, headerCopies, sourceCopies), 0);
    QCOMPARE(sourceCopies, QStringList { stale });
    QCOMPARE(contentOf(stale), contentOf(picked));
    QVERIFY(QFileInfo(project + "/buildByVarnholt/include").isDir());
}

void tst_BuildRoot::missingIncludeFolderIsMade()
{
    const QString project = tempDir->path() + "/p";
    QVERIFY(QDir().mkpath(project + "/buildByVarnholt/src"));
    QTest::ignoreMessage(QtDebugMsg, "srcPath directory created successfully");
    QTest::ignoreMessage(QtDebugMsg, "includePath directory created successfully");

    QStringList headerCopies, sourceCopies;
    QCOMPARE(engine.createBuildRoot({}, {}, project, headerCopies, sourceCopies), 0);
    QVERIFY(QFileInfo(project + "/buildByVarnholt/include").isDir());
}

void tst_BuildRoot::folderThatCannotBeMade_data()
{
    QTest::addColumn<QString>("blockingFile");
    QTest::addColumn<QString>("expectedLog");
    // A plain file where a folder must go makes mkpath fail, even for root.
    QTest::newRow("build root") << "p"
                                << "Failed to create varnholtPath directory";
    QTest::newRow("src") << "p/buildByVarnholt/src"
                         << "Failed to create srcPath directory";
    QTest::newRow("include") << "p/buildByVarnholt/include"
                             << "Failed to create includePath directory";
}

void tst_BuildRoot::folderThatCannotBeMade()
{
    QFETCH(QString, blockingFile);
    QFETCH(QString, expectedLog);
    QVERIFY(!makeFile(blockingFile, "not a folder").isEmpty());
    const QString source = makeFile("picked/a.c", "int a;\n");
    QTest::ignoreMessage(QtDebugMsg, qPrintable(expectedLog));

    QStringList headerCopies, sourceCopies;
    QCOMPARE(
        engine.createBuildRoot({}, { source }, tempDir->path() + "/p", headerCopies, sourceCopies),
        1);
    QVERIFY(sourceCopies.isEmpty());
}

void tst_BuildRoot::deletedPickedFileStopsTheCopies()
{
    const QString header = makeFile("picked/a.h", "int a;\n");
    const QString gone = tempDir->path() + "/picked/gone.c";
    const QString later = makeFile("picked/later.c", "int b;\n");
    const QString root = tempDir->path() + "/p/buildByVarnholt";
    QTest::ignoreMessage(
        QtWarningMsg, qPrintable(QString("Source file does not exist: \"%1\"").arg(gone)));

    QStringList headerCopies, sourceCopies;
    QCOMPARE(engine.createBuildRoot(
                 { header }, { gone, later }, tempDir->path() + "/p", headerCopies, sourceCopies),
        2);
    // What was copied before the failure stays; nothing after it is copied.
    QCOMPARE(headerCopies, QStringList { root + "/include/a.h" });
    QVERIFY(QFile::exists(root + "/include/a.h"));
    QVERIFY(sourceCopies.isEmpty());
    QVERIFY(!QFile::exists(root + "/src/later.c"));

    QString target = root + "/src";
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Source file does not exist:"));
    QVERIFY(!engine.copyFileReplacing(gone, target));
    QCOMPARE(target, root + "/src/gone.c");
}

void tst_BuildRoot::targetThatCannotBeRemoved()
{
    // A non-empty folder in the place of the copy cannot be removed as a file.
    const QString root = tempDir->path() + "/p/buildByVarnholt";
    QVERIFY(!makeFile("p/buildByVarnholt/src/a.c/inside", "x").isEmpty());
    const QString source = makeFile("picked/a.c", "int a;\n");
    QTest::ignoreMessage(QtWarningMsg,
        qPrintable(QString("Failed to remove existing file: \"%1\"").arg(root + "/src/a.c")));

    QStringList headerCopies, sourceCopies;
    QCOMPARE(
        engine.createBuildRoot({}, { source }, tempDir->path() + "/p", headerCopies, sourceCopies),
        2);
    QVERIFY(sourceCopies.isEmpty());
}

void tst_BuildRoot::pickedFileIsItsOwnCopy()
{
    // Rebuilding from an earlier tree: the user picks the copy in the build root itself.
    const QString copy = makeFile("p/buildByVarnholt/src/a.c", "DEFINE_ON_DEMAND(mine) {}\n");
    QVERIFY(QDir().mkpath(tempDir->path() + "/p/buildByVarnholt/include"));

    QStringList headerCopies, sourceCopies;
    QCOMPARE(
        engine.createBuildRoot({}, { copy }, tempDir->path() + "/p", headerCopies, sourceCopies),
        0);
    QCOMPARE(sourceCopies, QStringList { copy });
    QCOMPARE(contentOf(copy), QByteArray("DEFINE_ON_DEMAND(mine) {}\n"));
}

QTEST_GUILESS_MAIN(tst_BuildRoot)
#include "tst_buildroot.moc"
