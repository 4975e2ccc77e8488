#include "dialoganswerer.h"
#include "helpers/filetree.h"
#include "windowfixture.h"

#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

// The create command through the stand-in tools: the finished tree, the solution's projects, the
// function tables, and their regeneration when a source copy is saved.
class tst_CreateBuild : public QObject {
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void serialUdfBuild();
    void parallelCouplingBuildKeepsAdaptorsOutOfTheNode();

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

void tst_CreateBuild::serialUdfBuild()
{
    fixture->makeFile(
        "picked/inlet.c", "#include \"udf.h\"\nDEFINE_PROFILE(inlet_velocity, t, i) { }\n");
    fixture->makeFile("picked/props.h", "#define RHO 1.2\n");
    create("rbtnFluentUdf", 1, { "inlet.c", "props.h" });

    QCOMPARE(fixture->child<QProgressBar>("progressBar")->value(), 100);
    QCOMPARE(QDir(buildRoot()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
        QStringList({ "3ddp", "include", "solution", "src" }));
    QCOMPARE(fixture->filesIn(buildRoot() + "/3ddp"), QStringList { "udf_names.obj" });
    QCOMPARE(solutionProjects(), QStringList { "3ddp" });
    QVERIFY(objectOf("3ddp").contains("inlet_velocity"));
    QCOMPARE(fixture->statusAfterTick(), buildRoot() + QStringLiteral("/src文件夹监测中..."));
}

void tst_CreateBuild::parallelCouplingBuildKeepsAdaptorsOutOfTheNode()
{
    fixture->makeFile("picked/flow.c", "#include \"udf.h\"\nDEFINE_ADJUST(update_flow, d) { }\n");
    fixture->makeFile("picked/CParticleData.cpp",
        "#include \"udf.h\"\nDEFINE_ON_DEMAND(exchange_particles) { }\n");
    create("rbtnCoupling_Euler", 0, { "flow.c", "CParticleData.cpp" });

    QCOMPARE(fixture->child<QProgressBar>("progressBar")->value(), 100);
    QCOMPARE(solutionProjects(), QStringList({ "3ddp_host", "3ddp_node" }));
    QVERIFY(objectOf("3ddp_host").contains("exchange_particles"));
    QVERIFY(objectOf("3ddp_node").contains("update_flow"));
    QVERIFY(!objectOf("3ddp_node").contains("exchange_particles"));

    // Saving a source copy regenerates the table of both variant directories; the node's stays
    // free of the adaptor's functions, and the status bar counts the host's.
    QSignalSpy statusMessages(fixture->window->statusBar(), &QStatusBar::messageChanged);
    QFile copy(buildRoot() + "/src/flow.c");
    QVERIFY(copy.open(QIODevice::Append));
    copy.write("DEFINE_INIT(init_flow, d) { }\n");
    copy.close();
    QTRY_VERIFY_WITH_TIMEOUT(
        objectOf("3ddp_host").contains("init_flow") && objectOf("3ddp_node").contains("init_flow"),
        20000);
    QVERIFY(objectOf("3ddp_host").contains("exchange_particles"));
    QVERIFY(!objectOf("3ddp_node").contains("exchange_particles"));
    // Once the regeneration is reported, its temporaries are gone too.
    QTRY_VERIFY(statusMessages.contains({ QStringLiteral("udf_names.obj 已更新：3 个函数") }));
    QVERIFY(!QFileInfo::exists(buildRoot() + "/3ddp_node/udf_names.c"));
}

QTEST_MAIN(tst_CreateBuild)
#include "tst_createbuild.moc"
