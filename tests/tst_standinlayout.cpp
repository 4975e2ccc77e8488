#include <QtTest>

// The stand-in installations, where the end-to-end builds do not look: the GPU block of the Fluent
// 2024 R2 makefile, exports of import libraries no build links, and the layout script run by hand.
class tst_StandinLayout : public QObject {
    Q_OBJECT

private slots:
    void init();
    void gpuBlockNamesFoldersThatDoNotExist();
    void importLibrariesNameTheirDll_data();
    void importLibrariesNameTheirDll();
    void layoutScriptLaysOutAnywhere();
    void layoutScriptNeedsItsValues_data();
    void layoutScriptNeedsItsValues();

private:
    QScopedPointer<QTemporaryDir> tempDir;
};

static const QString fluent
    = QStringLiteral(KESTRUNE_STANDIN_INSTALLATIONS "/ANSYS Inc/v192/fluent");
static const QString fluent242
    = QStringLiteral(KESTRUNE_STANDIN_INSTALLATIONS "/ANSYS Inc/v242/fluent");

static QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file below a folder, by relative path, with its content: two layouts are equal when these
// are.
static QMap<QString, QByteArray> filesBelow(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        // Other tests start this devenv and MSBuild.
        if (it.fileName() != QLatin1String("devenv.log")
            && it.fileName() != QLatin1String("MSBuild.log"))
            files.insert(QDir(folder).relativeFilePath(path), contentOf(path));
    }
    return files;
}

static int runLayout(const QStringList &values, QByteArray &output)
{
    QProcess process;
    process.start(
        KESTRUNE_CMAKE_COMMAND, values + QStringList { "-P", KESTRUNE_STANDIN_LAYOUT_SCRIPT });
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    output = process.readAllStandardOutput() + process.readAllStandardError();
    return process.exitCode();
}

void tst_StandinLayout::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
}

// Fluent's own build adds these only for a GPU build; an ordinary installation lacks them, so a
// reader of the makefile that does not skip the block names folders that are not there.
void tst_StandinLayout::gpuBlockNamesFoldersThatDoNotExist()
{
    const QByteArray makefile = contentOf(fluent242 + "/fluent24.2.0/src/udf/makefile_nt.udf");
    QCOMPARE(makefile.count("\n"), makefile.count("\r\n"));
    const int begin = makefile.indexOf("\r\n!IF ");
    const int end = makefile.indexOf("\r\n!ENDIF", begin);
    QVERIFY(begin > 0 && end > begin);
    const QString prefix = QStringLiteral("-I\"$(FLUENT_INC)\"");
    QStringList folders;
    for (const QByteArray &line : makefile.mid(begin, end - begin).split('\n')) {
        QString option = QString::fromUtf8(line).trimmed();
        if (option.endsWith('\\'))
            option.chop(1);
        if (option.startsWith(prefix))
            folders << fluent242
                    + option.mid(prefix.size())
                          .trimmed()
                          .replace("$(RELEASE)", "24.2.0")
                          .replace("$(FLUENT_ARCH)", "win64")
                          .replace('\\', '/');
    }
    QCOMPARE(folders,
        QStringList({ fluent242 + "/fluent24.2.0/src/gpu",
            fluent242 + "/fluent24.2.0/gpu/win64/include" }));
    for (const QString &folder : folders)
        QVERIFY2(!QFileInfo::exists(folder), qPrintable(folder));
    QVERIFY(QFileInfo(fluent242 + "/fluent24.2.0/src/udf").isDir());
    QVERIFY(!contentOf(fluent + "/fluent19.2.0/src/udf/makefile_nt.udf").contains("!IF"));
}

void tst_StandinLayout::importLibrariesNameTheirDll_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QByteArray>("dll");
    QTest::addColumn<QByteArray>("symbol");
    QTest::addColumn<QByteArray>("absent");
    QTest::newRow("2d_node") << fluent + "/fluent19.2.0/win64/2d_node/fl_mpi1920.lib"
                             << QByteArray("fl_mpi1920.dll") << QByteArray("Message")
                             << QByteArray("mport_rank");
    // A node linked against the socket build fails: it lacks the MPI build's name of the rank.
    QTest::newRow("multiport") << fluent + "/fluent19.2.0/multiport/win64/net/shared/mport.lib"
                               << QByteArray("mport.dll") << QByteArray("mport_rank")
                               << QByteArray("mport_node_rank");
    QTest::newRow("multiport, MPI build")
        << fluent + "/fluent19.2.0/multiport/win64/mpi/shared/mport.lib" << QByteArray("mport.dll")
        << QByteArray("mport_node_rank") << QByteArray("fl_mpi");
    QTest::newRow("2024 R2 2d_node")
        << fluent242 + "/fluent24.2.0/win64/2d_node/fl_mpi2420.lib" << QByteArray("fl_mpi2420.dll")
        << QByteArray("Message") << QByteArray("mport_rank");
}

void tst_StandinLayout::importLibrariesNameTheirDll()
{
    QFETCH(QString, library);
    QFETCH(QByteArray, dll);
    QFETCH(QByteArray, symbol);
    QFETCH(QByteArray, absent);
    const QByteArray content = contentOf(library);
    QVERIFY2(content.startsWith("!<arch>\n"), qPrintable(library));
    QVERIFY(content.contains(dll + '\0'));
    QVERIFY(content.contains("__imp_" + symbol + '\0'));
    QVERIFY(!content.contains(absent));
}

// By hand, into a folder with blanks and Chinese characters that holds a stale installation: the
// same files as the build's own layout, and nothing else.
void tst_StandinLayout::layoutScriptLaysOutAnywhere()
{
    const QString destination = tempDir->path() + "/安装 目录";
    QDir().mkpath(destination + "/ANSYS Inc/stale");
    QByteArray output;
    QCOMPARE(
        runLayout({ "-DDESTINATION=" + destination, "-DDEVENV=" KESTRUNE_STANDIN_DEVENV }, output),
        0);
    QVERIFY(!QFileInfo::exists(destination + "/ANSYS Inc/stale"));
    const auto laidOut = filesBelow(destination);
    QCOMPARE(laidOut.keys(), filesBelow(KESTRUNE_STANDIN_INSTALLATIONS).keys());
    QVERIFY(laidOut == filesBelow(KESTRUNE_STANDIN_INSTALLATIONS));
}

void tst_StandinLayout::layoutScriptNeedsItsValues_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("no destination")
        << QStringList { "-DDEVENV=" KESTRUNE_STANDIN_DEVENV } << QByteArray("-DDESTINATION=");
    QTest::newRow("missing devenv")
        << QStringList { "-DDESTINATION=@DEST@", "-DDEVENV=/no/devenv" } << QByteArray("-DDEVENV=");
    QTest::newRow("missing MSBuild") << QStringList { "-DDESTINATION=@DEST@",
        "-DDEVENV=" KESTRUNE_STANDIN_DEVENV, "-DMSBUILD=/no/MSBuild" }
                                     << QByteArray("-DMSBUILD=");
    QTest::newRow("missing dlltool") << QStringList { "-DDESTINATION=@DEST@",
        "-DDEVENV=" KESTRUNE_STANDIN_DEVENV, "-DDLLTOOL=/no/llvm-dlltool" }
                                     << QByteArray("/no/llvm-dlltool failed");
}

void tst_StandinLayout::layoutScriptNeedsItsValues()
{
    QFETCH(QStringList, values);
    QFETCH(QByteArray, message);
    QByteArray output;
    QVERIFY(runLayout(values.replaceInStrings("@DEST@", tempDir->path()), output) != 0);
    QVERIFY2(output.contains("layout.cmake: ") && output.contains(message), output.constData());
}

QTEST_GUILESS_MAIN(tst_StandinLayout)
#include "tst_standinlayout.moc"
