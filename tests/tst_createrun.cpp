#include "dialoganswerer.h"
#include "windowfixture.h"

#include <QClipboard>
#include <QComboBox>
#include <QDirIterator>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QToolButton>
#include <QtTest>

// The create command while its tools run: the window goes on processing events, shows the tools'
// words as they come, refuses a second create, and stops the run when it is closed.
class tst_CreateRun : public QObject {
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void failingCMakeIsShownWhileItRuns_data();
    void failingCMakeIsShownWhileItRuns();
    void closingDuringTheRun_data();
    void closingDuringTheRun();

private:
    // What a timer saw while the create button was disabled, i.e. while the run went on.
    struct DuringRun {
        int ticks = 0;
        bool optionsDisabled = true;
        bool cmakeErrorShown = false;
        int progress = 0;
    };
    void watchTheRun(DuringRun &seen, const std::function<void()> &onCMakeError = {});
    // Picks the source, then creates with the folder chosen and the later dialogs answered in
    // order.
    void create(const char *buildType, const QList<DialogAnswerer::Answer> &laterAnswers);
    QString logText() const { return fixture->child<QPlainTextEdit>("logView")->toPlainText(); }
    QString buildRoot() const { return projectFolder + "/buildByVarnholt"; }

    QScopedPointer<WindowFixture> fixture;
    QScopedPointer<DialogAnswerer> answerer;
    QString projectFolder;
    QTimer watcher;
};

namespace {
const QString cmakeError = QStringLiteral("CMake Error at 3ddp/CMakeLists.txt:3 (project):");
const QString chineseLine = QStringLiteral("找不到 Visual Studio 的 C 编译器。");
const char *const options[]
    = { "btnAdd", "btnDel", "btnCreateVsProject", "btnOpenVsProject", "cbDimension", "cbPrecision",
          "cbParallel", "rbtnFluentUdf", "rbtnCoupling_Euler", "rbtnCoupling_DPM" };
} // namespace

void tst_CreateRun::initTestCase()
{
    qputenv("PATH",
        QByteArray(KESTRUNE_TALKING_CMAKE_BIN) + ":" + KESTRUNE_STANDINS_BIN + ":"
            + qgetenv("PATH"));
    if (!QFileInfo::exists(KESTRUNE_STANDIN_INSTALLATIONS "/ANSYS Inc/v192/fluent"))
        QSKIP("The stand-in installations were not laid out (no llvm-dlltool)");
}

void tst_CreateRun::init()
{
    fixture.reset(new WindowFixture);
    fixture->open();
    answerer.reset(new DialogAnswerer);
    projectFolder = fixture->root() + "/项目";
    QVERIFY(QDir().mkpath(projectFolder));
    fixture->useStandinInstallations();
    fixture->makeFile("picked/inlet.c", "#include \"udf.h\"\nDEFINE_PROFILE(inlet, t, i) { }\n");
}

void tst_CreateRun::cleanup()
{
    watcher.stop();
    watcher.disconnect();
    QVERIFY2(answerer->unexpected.isEmpty(), qPrintable(answerer->unexpected.join(", ")));
    QVERIFY(answerer->allAnswered());
    answerer.reset();
    fixture.reset();
}

// The run goes on after the click; what happens during it is seen from a timer.
void tst_CreateRun::watchTheRun(DuringRun &seen, const std::function<void()> &onCMakeError)
{
    watcher.setInterval(20);
    connect(&watcher, &QTimer::timeout, this, [this, &seen, onCMakeError] {
        if (fixture->child<QPushButton>("btnCreateVsProject")->isEnabled())
            return;
        ++seen.ticks;
        for (const char *name : options)
            seen.optionsDisabled &= !fixture->child<QWidget>(name)->isEnabled();
        const QString log = logText();
        if (seen.cmakeErrorShown || !log.contains(cmakeError) || !log.contains(chineseLine))
            return;
        seen.cmakeErrorShown = true;
        seen.progress = fixture->child<QProgressBar>("progressBar")->value();
        if (onCMakeError)
            onCMakeError();
    });
    watcher.start();
}

void tst_CreateRun::create(const char *buildType, const QList<DialogAnswerer::Answer> &laterAnswers)
{
    answerer->expect(DialogAnswerer::pickFiles(fixture->root() + "/picked", { "inlet.c" }));
    fixture->child<QPushButton>("btnAdd")->click();
    fixture->child<QRadioButton>(buildType)->click();
    fixture->child<QComboBox>("cbParallel")->setCurrentIndex(1);
    answerer->expect(DialogAnswerer::chooseFolder(projectFolder));
    for (const DialogAnswerer::Answer &answer : laterAnswers)
        answerer->expect(answer);
    fixture->child<QPushButton>("btnCreateVsProject")->click();
    fixture->waitForCreate();
}

void tst_CreateRun::failingCMakeIsShownWhileItRuns_data()
{
    QTest::addColumn<QString>("buildType");
    QTest::newRow("Fluent udf") << "rbtnFluentUdf";
    QTest::newRow("Fluent-Edem Euler") << "rbtnCoupling_Euler";
}

void tst_CreateRun::failingCMakeIsShownWhileItRuns()
{
    QFETCH(QString, buildType);
    qputenv("KESTRUNE_TALKING_CMAKE_SLEEP_MS", "1500");
    DuringRun seen;
    watchTheRun(seen);
    create(qPrintable(buildType), { DialogAnswerer::clickOk() });
    watcher.stop();

    QVERIFY(seen.ticks > 10);
    QVERIFY(seen.optionsDisabled);
    QVERIFY2(seen.cmakeErrorShown, qPrintable(logText()));
    QVERIFY(seen.progress > 65 && seen.progress < 100);
    QCOMPARE(
        answerer->seen.last().text, QStringLiteral("CMake生成失败，请检查CMake及VS路径！！！"));
    for (const char *name : options)
        QVERIFY2(fixture->child<QWidget>(name)->isEnabled(), name);
    QVERIFY(fixture->child<QProgressBar>("progressBar")->value() < 100);

    // The pane opened by itself, showing the failing cmake's command line.
    auto *view = fixture->child<QPlainTextEdit>("logView");
    QVERIFY(view->isVisible());
    QVERIFY(fixture->child<QToolButton>("btnToggleLog")->isChecked());
    QVERIFY(fixture->window->height() > 384);
    QTRY_VERIFY(view->viewport()->rect().contains(view->cursorRect()));
    const QString failing = view->textCursor().block().text();
    QVERIFY2(failing.startsWith("> cmake ") && !failing.contains("--version"), qPrintable(failing));
    QVERIFY(logText().contains(QStringLiteral("退出代码 1")));

    fixture->child<QPushButton>("btnCopyLog")->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), logText());
    answerer->expect(DialogAnswerer::saveAs(fixture->root(), "log.txt"));
    fixture->child<QPushButton>("btnSaveLog")->click();
    const QByteArray saved = filetree::read(fixture->root() + "/log.txt");
    QVERIFY(saved.contains(chineseLine.toUtf8() + "\r\n"));
    QVERIFY(saved.contains(cmakeError.toUtf8()));
}

void tst_CreateRun::closingDuringTheRun_data()
{
    QTest::addColumn<bool>("stop");
    QTest::addColumn<int>("cmakeSleepMs");
    QTest::newRow("yes stops the run and closes") << true << 30000;
    QTest::newRow("no lets it run") << false << 1000;
}

void tst_CreateRun::closingDuringTheRun()
{
    QFETCH(bool, stop);
    QFETCH(int, cmakeSleepMs);
    qputenv("KESTRUNE_TALKING_CMAKE_SLEEP_MS", QByteArray::number(cmakeSleepMs));
    DuringRun seen;
    watchTheRun(seen, [this] { QTimer::singleShot(0, fixture->window, &QWidget::close); });
    QList<DialogAnswerer::Answer> answers { DialogAnswerer::press(
        stop ? QMessageBox::Yes : QMessageBox::No) };
    if (!stop)
        answers.append(DialogAnswerer::clickOk());
    QElapsedTimer clock;
    clock.start();
    create("rbtnFluentUdf", answers);
    watcher.stop();

    QVERIFY(seen.cmakeErrorShown);
    QCOMPARE(answerer->seen.at(2).text, QStringLiteral("正在创建VS工程，确定停止并关闭吗？"));
    QCOMPARE(fixture->window->isVisible(), !stop);
    if (!stop) {
        QCOMPARE(
            answerer->seen.last().text, QStringLiteral("CMake生成失败，请检查CMake及VS路径！！！"));
        return;
    }
    QCOMPARE(answerer->seen.size(), 3);
    QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
    // Only whole files remain: what the stopped step was writing is gone.
    QVERIFY(!QFileInfo::exists(buildRoot() + "/CMakeLists.txt"));
    QDirIterator files(buildRoot(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString name = QFileInfo(files.next()).fileName();
        QVERIFY2(name != "udf_names.c" && name != "compileOBJ.bat", qPrintable(files.filePath()));
    }
}

QTEST_MAIN(tst_CreateRun)
#include "tst_createrun.moc"
