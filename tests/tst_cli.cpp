#include "helpers/filetree.h"

#include <QtTest>

#include <csignal>

// kestrune-cli as a script runs it: exit statuses, the refusals the window gives (same words),
// create, refresh and watch through the stand-in tools, and one create through Wine's cmd.exe on
// a Chinese Windows.
class tst_Cli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void usage_data();
    void usage();
    void refusals_data();
    void refusals();
    void createRefreshAndRegenerate();
    void twoWatchesTakeTurns();
    void createThroughWinesCmdInChinese();

private:
    struct Run {
        int status = -1;
        QString out;
        QString err;
    };
    Run cli(const QStringList &arguments) const;
    QString picked(const QString &name, const QByteArray &content) const;
    QString root() const { return temp->path() + "/项目 A/buildByVarnholt"; }

    QByteArray originalPath;
    QScopedPointer<QTemporaryDir> temp;
    QString fluent;
    QString studio;
};

void tst_Cli::initTestCase()
{
    originalPath = qgetenv("PATH");
    fluent = QStringLiteral(KESTRUNE_STANDIN_INSTALLATIONS "/ANSYS Inc/v192/fluent");
    studio
        = QStringLiteral(KESTRUNE_STANDIN_INSTALLATIONS "/Microsoft Visual Studio/2019/Community");
}

// Each test works in a folder of its own; the paths come from its settings file, as the window's.
void tst_Cli::init()
{
    qputenv("PATH", QByteArray(KESTRUNE_STANDINS_BIN) + ":" + originalPath);
    temp.reset(new QTemporaryDir);
    QVERIFY(temp->isValid());
    QVERIFY(QDir().mkpath(temp->path() + "/work"));
    QJsonObject settings { { "pathFluent", fluent }, { "pathVs", studio } };
    QVERIFY(filetree::write(temp->path() + "/ini/settings.json", QJsonDocument(settings).toJson()));
}

tst_Cli::Run tst_Cli::cli(const QStringList &arguments) const
{
    QProcess process;
    process.setWorkingDirectory(temp->path() + "/work");
    process.start(QStringLiteral(KESTRUNE_CLI), arguments);
    Run run;
    if (!process.waitForFinished(120000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString tst_Cli::picked(const QString &name, const QByteArray &content) const
{
    return filetree::make(temp->path() + "/picked", name, content);
}

void tst_Cli::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    QTest::newRow("help") << QStringList { "--help" } << 0 << "kestrune-cli create --project";
    QTest::newRow("version") << QStringList { "--version" } << 0 << "kestrune-cli 3.0.0";
    QTest::newRow("nothing") << QStringList {} << 2 << "no command given";
    QTest::newRow("unknown command") << QStringList { "make" } << 2 << "unknown command: make";
    QTest::newRow("unknown option") << QStringList { "create", "--project", "p", "--colour", "red",
        "a.c" } << 2 << "unknown option: --colour";
    QTest::newRow("missing value")
        << QStringList { "create", "a.c", "--project" } << 2 << "missing value for --project";
    QTest::newRow("value not offered") << QStringList { "create", "--project", "p", "--mode=fast",
        "a.c" } << 2 << "--mode takes one of parallel|serial, not \"fast\"";
    QTest::newRow("no file") << QStringList { "create", "--project", "p" } << 2
                             << "create needs at least one FILE";
    QTest::newRow("no project") << QStringList { "create", "a.c" } << 2
                                << "create needs --project FOLDER";
    QTest::newRow("refresh without root") << QStringList { "refresh" } << 2 << "refresh needs ROOT";
    QTest::newRow("watch with two roots")
        << QStringList { "watch", "a", "b" } << 2 << "unexpected argument: b";
}

void tst_Cli::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, said);
    const Run run = cli(arguments);
    QCOMPARE(run.status, status);
    QVERIFY2((status == 0 ? run.out : run.err).contains(said), qPrintable(run.out + run.err));
}

void tst_Cli::refusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("Fluent path") << QStringList { "--fluent", "/nowhere" }
                                 << "fluent路径错误！！！";
    QTest::newRow("Visual Studio path")
        << QStringList { "--vs", "/nowhere" } << "visual studio路径错误！！！";
    QTest::newRow("EDEM path") << QStringList { "--type", "euler", "--edem", "/nowhere" }
                               << "Edem路径错误！！！";
    QTest::newRow("headers only") << QStringList { "@PICKED@/props.h" } << "添加至少一个源文件！";
    QTest::newRow("unusable project folder") << QStringList { "--project",
        "@TEMP@/a;b" } << "工程路径中含有“;”，无法生成可编译的VS工程，请更换路径！！！";
    QTest::newRow("refresh without record")
        << QStringList { "refresh", "@TEMP@" } << "该文件夹中没有Kestrune创建的工程：";
}

// The window's refusals, word for word, on standard error with status 1; nothing is written.
void tst_Cli::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const QString source = picked("a.c", "int a;\n");
    picked("props.h", "#define P 1\n");
    for (QString &argument : arguments)
        argument.replace("@TEMP@", temp->path()).replace("@PICKED@", temp->path() + "/picked");
    if (arguments.first() != "refresh") {
        if (!arguments.last().endsWith(".h"))
            arguments << source;
        arguments.prepend("create");
        if (!arguments.contains("--project"))
            arguments << "--project" << temp->path() + "/p";
    }
    const Run run = cli(arguments);
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.startsWith(message), qPrintable(run.err));
    QVERIFY(!QFileInfo::exists(temp->path() + "/p"));
}

void tst_Cli::createRefreshAndRegenerate()
{
    const QStringList files { picked("inlet.c",
                                  "#include \"udf.h\"\nDEFINE_PROFILE(inlet, t, i) { }\n"),
        picked("props.h", "#define RHO 1.2\n") };
    const QString project = temp->path() + "/项目 A";
    Run run = cli(QStringList { "create", "--project", project, "--mode", "serial" } + files);
    QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
    QVERIFY2(run.out.contains("> cmd.exe /c compileOBJ.bat\n"), qPrintable(run.out));
    QVERIFY(run.out.contains("【运行 CMake】完成"));
    QVERIFY(run.out.endsWith("已创建：" + root() + "/solution/FLUENTUDF.sln\n"));
    QCOMPARE(QFileInfo(root() + "/include/props.h").size(), 16);

    run = cli(QStringList { "create", "--project", project } + files);
    QCOMPARE(run.status, 1);
    QVERIFY(run.err.contains("--regenerate"));

    // Edited while nothing watched, refreshed from the record.
    const QString copy = root() + "/src/inlet.c";
    QVERIFY(filetree::write(copy, filetree::read(copy) + "DEFINE_INIT(edited, d) { }\n"));
    run = cli({ "refresh", project });
    QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
    QVERIFY(run.out.endsWith("【更新函数表】udf_names.obj 已更新：3ddp 2 个函数\n"));
    QVERIFY(filetree::read(root() + "/3ddp/udf_names.obj").contains("edited"));

    run = cli(QStringList { "create", "--project", project, "--regenerate" } + files);
    QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
    QVERIFY(run.out.contains("保留 " + copy));
    QVERIFY(filetree::read(root() + "/3ddp_node/udf_names.obj").contains("edited"));
    QVERIFY(filetree::read(copy).contains("edited"));

    // A failing compile is a failed refresh.
    QVERIFY(filetree::write(copy, filetree::read(copy) + "DEFINE_ON_DEMAND(two words)\n"));
    run = cli({ "refresh", root() });
    QCOMPARE(run.status, 1);
    QVERIFY(run.out.contains("udf_names.obj 编译失败：3ddp_host, 3ddp_node"));
}

// Two watches of one build root (two windows, or a window and a script) both regenerate after a
// save, one after the other, and leave a whole object that holds the new function; an interrupt
// ends each watch cleanly.
void tst_Cli::twoWatchesTakeTurns()
{
    const QString project = temp->path() + "/项目 A";
    const QString source
        = picked("inlet.c", "#include \"udf.h\"\nDEFINE_PROFILE(inlet, t, i) { }\n");
    QCOMPARE(cli({ "create", "--project", project, "--mode", "parallel", source }).status, 0);

    QProcess watches[2];
    QString outs[2];
    const auto readUntil = [&](int i, const QString &text, int times) {
        QElapsedTimer clock;
        clock.start();
        while (outs[i].count(text) < times && clock.elapsed() < 60000) {
            watches[i].waitForReadyRead(100);
            outs[i] += QString::fromUtf8(watches[i].readAllStandardOutput());
        }
        return outs[i].count(text) >= times;
    };
    for (QProcess &watch : watches) {
        watch.setWorkingDirectory(temp->path() + "/work");
        watch.start(QStringLiteral(KESTRUNE_CLI), { "watch", project });
        QVERIFY(watch.waitForStarted());
    }
    for (int i : { 0, 1 })
        QVERIFY2(readUntil(i, "正在监测", 1), qPrintable(outs[i]));
    const QString copy = root() + "/src/inlet.c";
    QVERIFY(filetree::write(copy, filetree::read(copy) + "DEFINE_INIT(saved, d) { }\n"));
    for (int i : { 0, 1 })
        QVERIFY2(
            readUntil(i, "已更新：3ddp_host 2 个函数，3ddp_node 2 个函数", 1), qPrintable(outs[i]));
    for (int i : { 0, 1 }) {
        ::kill(pid_t(watches[i].processId()), SIGINT);
        QVERIFY(watches[i].waitForFinished(30000));
        outs[i] += QString::fromUtf8(watches[i].readAllStandardOutput());
        QCOMPARE(watches[i].exitStatus(), QProcess::NormalExit);
        QCOMPARE(watches[i].exitCode(), 0);
        QVERIFY2(outs[i].endsWith("监测结束\n"), qPrintable(outs[i]));
        // One line per regeneration: the first brings the tables up to date, the second follows
        // the save.
        QCOMPARE(outs[i].count("【更新函数表】"), 2);
    }
    for (const char *variant : { "3ddp_host", "3ddp_node" }) {
        const QByteArray object = filetree::read(root() + "/" + variant + "/udf_names.obj");
        QVERIFY(object.startsWith("\x64\x86")); // a COFF object for x64
        QVERIFY(object.contains("saved"));
    }
    QVERIFY(!QFileInfo::exists(root() + "/kestrune.lock"));
}

// Wine's own cmd.exe reads the compile batch in code page 936, as a Chinese Windows does.
void tst_Cli::createThroughWinesCmdInChinese()
{
    if (!QFileInfo::exists(KESTRUNE_WINE_CMD_BIN "/cmd.exe"))
        QSKIP("Wine's cmd.exe is not set up here");
    if (QProcess::execute("sh",
            { "-c", "locale -a | grep -qi '^zh_CN.utf-\\?8$' && test -x /usr/lib/wine/wine64" })
        != 0)
        QSKIP("Wine or the zh_CN.UTF-8 locale is not installed");
    qputenv("PATH", QByteArray(KESTRUNE_WINE_CMD_BIN ":" KESTRUNE_STANDINS_BIN ":") + originalPath);
    const QString project = temp->path() + "/王工 流体/项目 A";
    const QString source
        = picked("inlet.c", "#include \"udf.h\"\nDEFINE_PROFILE(inlet, t, i) { }\n");
    const Run run = cli({ "create", "--project", project, "--mode", "parallel", source });
    QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
    for (const char *variant : { "3ddp_host", "3ddp_node" }) {
        QVERIFY(filetree::read(project + "/buildByVarnholt/" + variant + "/udf_names.obj")
                    .contains("inlet"));
    }
}

QTEST_GUILESS_MAIN(tst_Cli)
#include "tst_cli.moc"
