#include "dialoganswerer.h"
#include "windowfixture.h"

#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

// The create and open commands up to the point where the builders take over: every check and
// message in order, the dialogs, the variant name, and what the window reports after a build.
class tst_CreateCommand : public QObject {
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private slots:
    void init();
    void cleanup();
    void checksInOrder_data();
    void checksInOrder();
    void backslashedPathsPassTheChecks();
    void cancelledFolderDialogForgetsTheProject();
    void dpmLaysOutTheBuildRootAndStops();
    void existingSolutionIsNotTouched_data();
    void existingSolutionIsNotTouched();
    void unusableProjectFolderIsRefused_data();
    void unusableProjectFolderIsRefused();
    void buildRootFailures_data();
    void buildRootFailures();
    void variantName_data();
    void variantName();
    void openStartsDevenvWithTheSolution_data();
    void openStartsDevenvWithTheSolution();

private:
    void pickSource(const QString &path);
    void clickCreate();
    void chooseBuildType(const char *button) { fixture->child<QRadioButton>(button)->click(); }
    int progress() const { return fixture->child<QProgressBar>("progressBar")->value(); }
    QString lastMessage() const
    {
        return answerer->seen.isEmpty() ? QString() : answerer->seen.last().text;
    }

    QScopedPointer<WindowFixture> fixture;
    QScopedPointer<DialogAnswerer> answerer;
    QString projectFolder;
};

void tst_CreateCommand::init()
{
    fixture.reset(new WindowFixture);
    fixture->open();
    answerer.reset(new DialogAnswerer);
    projectFolder = fixture->root() + "/my project";
    QVERIFY(QDir().mkpath(projectFolder));
}

void tst_CreateCommand::cleanup()
{
    QVERIFY2(answerer->unexpected.isEmpty(), qPrintable(answerer->unexpected.join(", ")));
    QVERIFY(answerer->allAnswered());
    answerer.reset();
    fixture.reset();
}

// The source list is filled the way the add command fills it, through the file dialog.
void tst_CreateCommand::pickSource(const QString &path)
{
    const int slash = path.lastIndexOf('/');
    answerer->expect(DialogAnswerer::pickFiles(path.left(slash), { path.mid(slash + 1) }));
    fixture->child<QPushButton>("btnAdd")->click();
}

void tst_CreateCommand::clickCreate()
{
    fixture->child<QPushButton>("btnCreateVsProject")->click();
    fixture->waitForCreate();
}

void tst_CreateCommand::checksInOrder_data()
{
    QTest::addColumn<bool>("fluentFound");
    QTest::addColumn<bool>("vsFound");
    QTest::addColumn<bool>("edemFound");
    QTest::addColumn<QString>("buildType");
    QTest::addColumn<bool>("withSource");
    QTest::addColumn<QString>("message");
    QTest::newRow("fluent and vs wrong")
        << false << false << false << "rbtnFluentUdf" << true << "fluent路径错误！！！";
    QTest::newRow("vs wrong") << true << false << false << "rbtnFluentUdf" << true
                              << "visual studio路径错误！！！";
    QTest::newRow("edem wrong, euler")
        << true << true << false << "rbtnCoupling_Euler" << true << "Edem路径错误！！！";
    QTest::newRow("edem wrong, dpm")
        << true << true << false << "rbtnCoupling_DPM" << false << "Edem路径错误！！！";
    QTest::newRow("no source, udf ignores edem")
        << true << true << false << "rbtnFluentUdf" << false << "添加至少一个源文件！";
    QTest::newRow("no source, euler")
        << true << true << true << "rbtnCoupling_Euler" << false << "添加至少一个源文件！";
}

void tst_CreateCommand::checksInOrder()
{
    QFETCH(bool, fluentFound);
    QFETCH(bool, vsFound);
    QFETCH(bool, edemFound);
    QFETCH(QString, buildType);
    QFETCH(bool, withSource);
    QFETCH(QString, message);
    fixture->useMinimalInstallations();
    if (!fluentFound)
        QVERIFY(QFile::remove(fixture->root() + "/inst/fluent/ntbin/win64/fluent.exe"));
    if (!vsFound)
        QVERIFY(QFile::remove(fixture->root() + "/inst/vs 2019/Common7/IDE/devenv.exe"));
    if (!edemFound)
        fixture->child<QLineEdit>("editPathEdem")->clear();
    if (withSource)
        pickSource(fixture->makeFile("picked/a.c"));
    chooseBuildType(qPrintable(buildType));

    answerer->expect(DialogAnswerer::clickOk());
    clickCreate();
    QCOMPARE(answerer->seen.size(), withSource ? 2 : 1);
    QCOMPARE(answerer->seen.last().className, QByteArray("QMessageBox"));
    QCOMPARE(answerer->seen.last().title, QStringLiteral("警告"));
    QCOMPARE(lastMessage(), message);
    QCOMPARE(progress(), 0);
    QCOMPARE(fixture->statusAfterTick(), QStringLiteral("文件监测中..."));
}

void tst_CreateCommand::backslashedPathsPassTheChecks()
{
    fixture->useMinimalInstallations();
    for (const char *name : { "editPathFluent", "editPathVS" }) {
        auto *edit = fixture->child<QLineEdit>(name);
        edit->setText(QString(edit->text()).replace('/', '\\'));
    }
    answerer->expect(DialogAnswerer::clickOk());
    clickCreate();
    QCOMPARE(lastMessage(), QStringLiteral("添加至少一个源文件！"));
}

void tst_CreateCommand::cancelledFolderDialogForgetsTheProject()
{
    fixture->useMinimalInstallations();
    pickSource(fixture->makeFile("picked/a.c"));
    chooseBuildType("rbtnCoupling_DPM");
    answerer->expect(DialogAnswerer::chooseFolder(projectFolder));
    answerer->expect(DialogAnswerer::clickOk());
    clickCreate();
    QCOMPARE(fixture->statusAfterTick(),
        projectFolder + QStringLiteral("/buildByVarnholt/src文件夹监测中..."));

    answerer->expect(DialogAnswerer::cancel());
    clickCreate();
    QCOMPARE(answerer->seen.last().className, QByteArray("QFileDialog"));
    QCOMPARE(answerer->seen.last().title, QStringLiteral("工程文件保存在..."));
    QCOMPARE(fixture->statusAfterTick(), QStringLiteral("文件监测中..."));

    // Without a create of its own the open command asks which build root to resume.
    answerer->expect(DialogAnswerer::cancel());
    fixture->child<QPushButton>("btnOpenVsProject")->click();
    QCOMPARE(answerer->seen.last().className, QByteArray("QFileDialog"));
    QCOMPARE(fixture->statusAfterTick(), QStringLiteral("文件监测中..."));
}

void tst_CreateCommand::dpmLaysOutTheBuildRootAndStops()
{
    fixture->useMinimalInstallations();
    fixture->makeFile("picked/props.h");
    pickSource(fixture->makeFile("picked/a.c"));
    pickSource(fixture->root() + "/picked/props.h");
    chooseBuildType("rbtnCoupling_DPM");
    answerer->expect(DialogAnswerer::chooseFolder(projectFolder));
    answerer->expect(DialogAnswerer::clickOk());
    clickCreate();

    QCOMPARE(lastMessage(), QStringLiteral("等待搭建！！！"));
    QCOMPARE(progress(), 65);
    const QString root = projectFolder + "/buildByVarnholt";
    QCOMPARE(fixture->filesIn(root + "/src"), QStringList { "a.c" });
    QCOMPARE(fixture->filesIn(root + "/include"), QStringList { "props.h" });
    QCOMPARE(QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        QStringList({ "include", "src" }));
}

void tst_CreateCommand::existingSolutionIsNotTouched_data()
{
    QTest::addColumn<QString>("solutionName");
    QTest::newRow("sln") << "FLUENTUDF.sln";
    QTest::newRow("slnx of Visual Studio 2026") << "FLUENTUDF.slnx";
}

void tst_CreateCommand::existingSolutionIsNotTouched()
{
    QFETCH(QString, solutionName);
    fixture->useMinimalInstallations();
    pickSource(fixture->makeFile("picked/a.c"));
    const QString solution
        = fixture->makeFile("my project/buildByVarnholt/solution/" + solutionName, "mine");
    answerer->expect(DialogAnswerer::chooseFolder(projectFolder));
    answerer->expect(DialogAnswerer::pressButton(QStringLiteral("取消")));
    clickCreate();

    QCOMPARE(answerer->seen.last().className, QByteArray("QMessageBox"));
    QCOMPARE(answerer->seen.last().title, QStringLiteral("警告"));
    QVERIFY2(lastMessage().startsWith(QStringLiteral("该文件夹中已有VS工程：\n ") + solution),
        qPrintable(lastMessage()));
    QCOMPARE(progress(), 0);
    QCOMPARE(filetree::read(solution), QByteArray("mine"));
    QVERIFY(!QFileInfo::exists(projectFolder + "/buildByVarnholt/src"));
    // The window still holds the chosen folder, without the build root.
    QCOMPARE(fixture->statusAfterTick(), projectFolder + QStringLiteral("/src文件夹监测中..."));
}

// What CMake or Visual Studio cannot carry in a path is refused before anything is written.
void tst_CreateCommand::unusableProjectFolderIsRefused_data()
{
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<QString>("named");
    QTest::newRow("semicolon") << "泵站;UDF"
                               << ";";
    QTest::newRow("CMake variable") << "a${x}b"
                                    << "${";
    QTest::newRow("CMake environment variable") << "a$ENV{x}"
                                                << "$ENV{";
    QTest::newRow("MSBuild property") << "a$(x)b"
                                      << "$(";
}

void tst_CreateCommand::unusableProjectFolderIsRefused()
{
    QFETCH(QString, folderName);
    QFETCH(QString, named);
    fixture->useMinimalInstallations();
    pickSource(fixture->makeFile("picked/a.c"));
    const QString folder = fixture->root() + "/" + folderName;
    QVERIFY(QDir().mkpath(folder));
    answerer->expect(DialogAnswerer::chooseFolder(folder));
    answerer->expect(DialogAnswerer::clickOk());
    clickCreate();

    QCOMPARE(lastMessage(),
        QString("工程路径中含有“%1”，无法生成可编译的VS工程，请更换路径！！！").arg(named));
    QCOMPARE(progress(), 0);
    QVERIFY(QDir(folder).isEmpty());
}

void tst_CreateCommand::buildRootFailures_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("message");
    QTest::newRow("folder cannot be made") << "folder"
                                           << "创建失败，请更换路径！！！";
    QTest::newRow("picked file deleted") << "file"
                                         << "请检查文件位置及占用情况！！！";
}

void tst_CreateCommand::buildRootFailures()
{
    QFETCH(QString, failure);
    QFETCH(QString, message);
    fixture->useMinimalInstallations();
    const QString source = fixture->makeFile("picked/a.c");
    pickSource(source);
    if (failure == "folder") // a plain file where the src folder must go
        fixture->makeFile("my project/buildByVarnholt/src");
    else
        QVERIFY(QFile::remove(source));
    answerer->expect(DialogAnswerer::chooseFolder(projectFolder));
    answerer->expect(DialogAnswerer::clickOk());
    clickCreate();

    QCOMPARE(lastMessage(), message);
    QCOMPARE(progress(), 33);
    QCOMPARE(fixture->statusAfterTick(),
        projectFolder + QStringLiteral("/buildByVarnholt/src文件夹监测中..."));
}

void tst_CreateCommand::variantName_data()
{
    QTest::addColumn<int>("dimension");
    QTest::addColumn<int>("precision");
    QTest::addColumn<int>("parallel");
    QTest::addColumn<QStringList>("variantFolders");
    QTest::newRow("3D double parallel") << 0 << 0 << 0 << QStringList { "3ddp_host", "3ddp_node" };
    QTest::newRow("3D single parallel") << 0 << 1 << 0 << QStringList { "3d_host", "3d_node" };
    QTest::newRow("2D double parallel") << 1 << 0 << 0 << QStringList { "2ddp_host", "2ddp_node" };
    QTest::newRow("2D single parallel") << 1 << 1 << 0 << QStringList { "2d_host", "2d_node" };
    QTest::newRow("3D double serial") << 0 << 0 << 1 << QStringList { "3ddp" };
    QTest::newRow("3D single serial") << 0 << 1 << 1 << QStringList { "3d" };
    QTest::newRow("2D double serial") << 1 << 0 << 1 << QStringList { "2ddp" };
    QTest::newRow("2D single serial") << 1 << 1 << 1 << QStringList { "2d" };
}

// Without working tools on PATH the build makes its folders and then fails: the window must say so
// and leave the bar where the build stopped rather than report a finished build.
void tst_CreateCommand::variantName()
{
    QFETCH(int, dimension);
    QFETCH(int, precision);
    QFETCH(int, parallel);
    QFETCH(QStringList, variantFolders);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(fixture->root() + "/no tools here"));
    fixture->useMinimalInstallations();
    pickSource(fixture->makeFile("picked/a.c"));
    fixture->child<QComboBox>("cbDimension")->setCurrentIndex(dimension);
    fixture->child<QComboBox>("cbPrecision")->setCurrentIndex(precision);
    fixture->child<QComboBox>("cbParallel")->setCurrentIndex(parallel);
    answerer->expect(DialogAnswerer::chooseFolder(projectFolder));
    answerer->expect(DialogAnswerer::clickOk());
    clickCreate();
    qputenv("PATH", path);

    QCOMPARE(lastMessage(), QStringLiteral("CMake生成失败，请检查CMake及VS路径！！！"));
    QVERIFY(progress() >= 65 && progress() < 100);
    QStringList made = QDir(projectFolder + "/buildByVarnholt")
                           .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    made.removeAll("src");
    made.removeAll("include");
    made.removeAll("solution");
    QCOMPARE(made, variantFolders);
}

void tst_CreateCommand::openStartsDevenvWithTheSolution_data()
{
    QTest::addColumn<QString>("solutionName");
    // Nothing in the solution folder: the usual name, as Visual Studio would be told before.
    QTest::addColumn<QString>("opened");
    QTest::newRow("no solution") << QString() << "FLUENTUDF.sln";
    QTest::newRow("slnx of Visual Studio 2026") << "FLUENTUDF.slnx"
                                                << "FLUENTUDF.slnx";
}

void tst_CreateCommand::openStartsDevenvWithTheSolution()
{
    QFETCH(QString, solutionName);
    QFETCH(QString, opened);
    // A stand-in devenv that records its arguments, in a folder whose name holds blanks.
    fixture->useMinimalInstallations();
    const QString ide = fixture->root() + "/inst/vs 2019/Common7/IDE";
    const QString devenv = fixture->makeFile("inst/vs 2019/Common7/IDE/devenv.exe",
        "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args\"\n");
    QVERIFY(QFile::setPermissions(devenv, QFile::permissions(devenv) | QFile::ExeOwner));
    pickSource(fixture->makeFile("picked/a.c"));
    chooseBuildType("rbtnCoupling_DPM");
    answerer->expect(DialogAnswerer::chooseFolder(projectFolder));
    answerer->expect(DialogAnswerer::clickOk());
    clickCreate();

    if (!solutionName.isEmpty())
        fixture->makeFile("my project/buildByVarnholt/solution/" + solutionName, "solution");
    // The path is typed with backslashes, as on Windows.
    auto *vs = fixture->child<QLineEdit>("editPathVS");
    vs->setText(QString(vs->text()).replace('/', '\\'));
    fixture->child<QPushButton>("btnOpenVsProject")->click();
    QFile args(ide + "/args");
    QTRY_VERIFY(args.exists() && args.size() > 0);
    QVERIFY(args.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(args.readAll()),
        projectFolder + "/buildByVarnholt/solution/" + opened + "\n");
}

QTEST_MAIN(tst_CreateCommand)
#include "tst_createcommand.moc"
