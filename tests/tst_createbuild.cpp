#include "dialoganswerer.h"
#include "helpers/filetree.h"
#include "windowfixture.h"

#include <QAction>
#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QtTest>

// The create command through the stand-in tools, as the window drives it: the function tables and
// their regeneration when a source copy is saved, a resume the next day, a create over an edited
// copy, and a failed build's errors. The finished tree itself is the builders' test.
class tst_CreateBuild : public QObject {
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void parallelCouplingBuildKeepsAdaptorsOutOfTheNode();
    void nextDaysWindowResumesTheBuild();
    void recreateKeepsTheEditedCopy();
    void buildErrorsAreRowsThatOpenTheFile();

private:
    void create(const char *buildType, int parallel, const QStringList &sources);
    QStringList solutionProjects() const;
    QByteArray objectOf(const QString &variant) const;
    QString buildRoot() const { return projectFolder + "/buildByVarnholt"; }

    QScopedPointer<WindowFixture> fixture;
    QScopedPointer<DialogAnswerer> answerer;
    QString projectFolder;
};

void tst_CreateBuild::initTestCase()
{
    qputenv("PATH", QByteArray(KESTRUNE_STANDINS_BIN) + ":" + qgetenv("PATH"));
    if (!QFileInfo::exists(KESTRUNE_STANDIN_INSTALLATIONS "/ANSYS Inc/v192/fluent"))
        QSKIP("The stand-in installations were not laid out (no llvm-dlltool)");
}

void tst_CreateBuild::init()
{
    fixture.reset(new WindowFixture);
    fixture->open();
    answerer.reset(new DialogAnswerer);
    projectFolder = fixture->root() + "/Li Wei/流体 项目";
    QVERIFY(QDir().mkpath(projectFolder));
    fixture->useStandinInstallations();
}

void tst_CreateBuild::cleanup()
{
    QVERIFY2(answerer->unexpected.isEmpty(), qPrintable(answerer->unexpected.join(", ")));
    answerer.reset();
    fixture.reset();
}

void tst_CreateBuild::create(const char *buildType, int parallel, const QStringList &sources)
{
    const QString picked = fixture->root() + "/picked";
    answerer->expect(DialogAnswerer::pickFiles(picked, sources));
    fixture->child<QPushButton>("btnAdd")->click();
    fixture->child<QRadioButton>(buildType)->click();
    fixture->child<QComboBox>("cbParallel")->setCurrentIndex(parallel);
    answerer->expect(DialogAnswerer::chooseFolder(projectFolder));
    fixture->child<QPushButton>("btnCreateVsProject")->click();
    fixture->waitForCreate();
}

QStringList tst_CreateBuild::solutionProjects() const
{
    QFile solution(buildRoot() + "/solution/FLUENTUDF.sln");
    if (!solution.open(QIODevice::ReadOnly))
        return { "<no solution>" };
    QStringList names;
    const QRegularExpression project(R"re(^Project\("\{[^}]+\}"\) = "([^"]+)")re");
    for (const QByteArray &line : solution.readAll().split('\n')) {
        const QRegularExpressionMatch match = project.match(QString::fromUtf8(line));
        if (match.hasMatch())
            names.append(match.captured(1));
    }
    return names;
}

QByteArray tst_CreateBuild::objectOf(const QString &variant) const
{
    return filetree::read(buildRoot() + "/" + variant + "/udf_names.obj");
}

// Saving a source copy of a coupling build regenerates both variants' tables from the window; the
// node's stays free of the adaptor's functions, and the status bar counts the host's.
void tst_CreateBuild::parallelCouplingBuildKeepsAdaptorsOutOfTheNode()
{
    fixture->makeFile("picked/flow.c", "#include \"udf.h\"\nDEFINE_ADJUST(update_flow, d) { }\n");
    fixture->makeFile("picked/CParticleData.cpp",
        "#include \"udf.h\"\nDEFINE_ON_DEMAND(exchange_particles) { }\n");
    create("rbtnCoupling_Euler", 0, { "flow.c", "CParticleData.cpp" });
    QCOMPARE(solutionProjects(), QStringList({ "3ddp_host", "3ddp_node" }));

    QSignalSpy statusMessages(fixture->window->statusBar(), &QStatusBar::messageChanged);
    const QString copy = buildRoot() + "/src/flow.c";
    QVERIFY(filetree::write(copy, filetree::read(copy) + "DEFINE_INIT(init_flow, d) { }\n"));
    QTRY_VERIFY_WITH_TIMEOUT(
        objectOf("3ddp_host").contains("init_flow") && objectOf("3ddp_node").contains("init_flow"),
        20000);
    QVERIFY(objectOf("3ddp_host").contains("exchange_particles"));
    QVERIFY(!objectOf("3ddp_node").contains("exchange_particles"));
    // Once the regeneration is reported, its temporaries are gone too.
    QTRY_VERIFY(statusMessages.contains({ QStringLiteral("udf_names.obj 已更新：3 个函数") }));
    QVERIFY(!QFileInfo::exists(buildRoot() + "/3ddp_node/udf_names.c"));
}

// The window is closed after a create, a source changes while nothing watches, and the open
// command of a new window resumes the build root: the table is brought up to date, Visual Studio
// is started on the solution, and later saves regenerate again.
void tst_CreateBuild::nextDaysWindowResumesTheBuild()
{
    fixture->makeFile("picked/inlet.c", "#include \"udf.h\"\nDEFINE_PROFILE(inlet, t, i) { }\n");
    create("rbtnFluentUdf", 1, { "inlet.c" });
    QCOMPARE(fixture->child<QProgressBar>("progressBar")->value(), 100);
    delete fixture->window;
    fixture->window = nullptr;
    const QString copy = buildRoot() + "/src/inlet.c";
    QVERIFY(filetree::write(copy, filetree::read(copy) + "DEFINE_INIT(while_closed, d) { }\n"));

    fixture->open();
    fixture->useStandinInstallations();
    QSignalSpy statusMessages(fixture->window->statusBar(), &QStatusBar::messageChanged);
    answerer->expect(DialogAnswerer::chooseFolder(buildRoot()));
    fixture->child<QPushButton>("btnOpenVsProject")->click();
    QVERIFY(answerer->allAnswered());
    QTRY_VERIFY_WITH_TIMEOUT(objectOf("3ddp").contains("while_closed"), 20000);
    QTRY_VERIFY(statusMessages.contains({ QStringLiteral("udf_names.obj 已更新：2 个函数") }));
    QVERIFY(statusMessages.at(0).at(0).toString().startsWith("已恢复 " + buildRoot()));
    const QString devenvLog = QStringLiteral(KESTRUNE_STANDIN_INSTALLATIONS)
        + "/Microsoft Visual Studio/2019/Community/Common7/IDE/devenv.log";
    QTRY_VERIFY(
        filetree::read(devenvLog).contains((buildRoot() + "/solution/FLUENTUDF.sln\n").toUtf8()));
    QCOMPARE(fixture->statusAfterTick(), buildRoot() + QStringLiteral("/src文件夹监测中..."));

    QVERIFY(filetree::write(copy, filetree::read(copy) + "DEFINE_ADJUST(next_save, d) { }\n"));
    QTRY_VERIFY_WITH_TIMEOUT(objectOf("3ddp").contains("next_save"), 20000);
}

// Creating again into the same folder asks, and regenerating keeps the copy the user edited while
// the build changes from serial to parallel.
void tst_CreateBuild::recreateKeepsTheEditedCopy()
{
    fixture->makeFile("picked/inlet.c", "#include \"udf.h\"\nDEFINE_PROFILE(inlet, t, i) { }\n");
    create("rbtnFluentUdf", 1, { "inlet.c" });
    const QString copy = buildRoot() + "/src/inlet.c";
    const QByteArray edited = filetree::read(copy) + "DEFINE_ON_DEMAND(edited)\n{\n}\n";
    QVERIFY(filetree::write(copy, edited));
    QTRY_VERIFY_WITH_TIMEOUT(objectOf("3ddp").contains("edited"), 20000);

    fixture->child<QComboBox>("cbParallel")->setCurrentIndex(0);
    answerer->expect(DialogAnswerer::chooseFolder(projectFolder));
    answerer->expect(DialogAnswerer::pressButton(QStringLiteral("重新生成")));
    fixture->child<QPushButton>("btnCreateVsProject")->click();
    fixture->waitForCreate();
    QVERIFY(answerer->allAnswered());
    QCOMPARE(fixture->child<QProgressBar>("progressBar")->value(), 100);
    QCOMPARE(filetree::read(copy), edited);
    QCOMPARE(solutionProjects(), QStringList({ "3ddp_host", "3ddp_node" }));
    QVERIFY(objectOf("3ddp_node").contains("edited"));
    QVERIFY(!QFileInfo::exists(buildRoot() + "/3ddp"));
}

// A build with an error in a source copy: the error is a row of the list with the copy's name, line
// and code, the status bar counts it, nothing reaches the case folder, and activating the row opens
// the copy at its line in Visual Studio.
void tst_CreateBuild::buildErrorsAreRowsThatOpenTheFile()
{
    fixture->makeFile("picked/inlet.c", "#include \"udf.h\"\nDEFINE_PROFILE(inlet, t, i) { }\n");
    create("rbtnFluentUdf", 1, { "inlet.c" });
    const QString copy = buildRoot() + "/src/inlet.c";
    QVERIFY(filetree::write(
        copy, filetree::read(copy) + "DEFINE_INIT(bad, d)\n{\n    missing = 1;\n}\n"));
    const QString caseFolder = fixture->root() + "/case";
    QVERIFY(QDir().mkpath(caseFolder));

    QSignalSpy messages(fixture->window->statusBar(), &QStatusBar::messageChanged);
    answerer->expect(DialogAnswerer::chooseFolder(caseFolder));
    fixture->window->findChild<QAction *>("actionBuild")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(
        messages.contains({ QStringLiteral("编译失败：1 个错误，1 个警告") }), 30000);
    auto *list = fixture->child<QTreeWidget>("diagnosticsList");
    QList<QTreeWidgetItem *> errors = list->findItems("错误", Qt::MatchExactly, 0);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.first()->text(1), QStringLiteral("inlet.c"));
    QCOMPARE(errors.first()->text(2), QStringLiteral("5"));
    QCOMPARE(errors.first()->text(3), QStringLiteral("C2065"));
    QCOMPARE(errors.first()->text(5), QStringLiteral("3ddp"));
    QVERIFY(list->isVisible());
    QCOMPARE(QDir(caseFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());

    emit list->itemActivated(errors.first(), 0);
    const QString devenvLog = QStringLiteral(KESTRUNE_STANDIN_INSTALLATIONS)
        + "/Microsoft Visual Studio/2019/Community/Common7/IDE/devenv.log";
    QTRY_VERIFY(filetree::read(devenvLog).contains(
        ("/Edit\t" + copy + "\t/Command\tEdit.GoTo 5\n").toUtf8()));
}

QTEST_MAIN(tst_CreateBuild)
#include "tst_createbuild.moc"
