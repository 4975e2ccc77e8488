#include "dialoganswerer.h"
#include "helpers/filetree.h"
#include "windowfixture.h"

#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class tst_FileLists : public QObject {
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private slots:
    void init();
    void cleanup();
    void addSortsHeadersFromSources();
    void sameFileNameIsListedOnceAndCancelKeepsLists();
    void deleteKeepsRowsAlignedWithPaths();

private:
    void add(const QString &folder, const QStringList &names);
    QStringList layOutBuildRoot();
    QScopedPointer<WindowFixture> fixture;
    QScopedPointer<DialogAnswerer> answerer;
};

void tst_FileLists::init()
{
    fixture.reset(new WindowFixture);
    fixture->open();
    answerer.reset(new DialogAnswerer);
}

void tst_FileLists::cleanup()
{
    QVERIFY2(answerer->unexpected.isEmpty(), qPrintable(answerer->unexpected.join(", ")));
    answerer.reset();
    fixture.reset();
}

// "Fluent-Edem DPM" copies the picked files into the build root and stops: the copies show the
// paths the window holds behind its rows.
QStringList tst_FileLists::layOutBuildRoot()
{
    fixture->useMinimalInstallations();
    fixture->child<QRadioButton>("rbtnCoupling_DPM")->click();
    QDir().mkpath(fixture->root() + "/project");
    answerer->expect(DialogAnswerer::chooseFolder(fixture->root() + "/project"));
    answerer->expect(DialogAnswerer::clickOk());
    fixture->child<QPushButton>("btnCreateVsProject")->click();
    if (!QTest::qWaitFor(
            [this] { return fixture->child<QPushButton>("btnCreateVsProject")->isEnabled(); }))
        return { "create did not end" };
    if (!answerer->allAnswered() || answerer->seen.last().text != QStringLiteral("等待搭建！！！"))
        return { "create did not stop at the build root" };
    const QString root = fixture->root() + "/project/buildByVarnholt";
    return fixture->filesIn(root + "/src") + fixture->filesIn(root + "/include");
}

void tst_FileLists::add(const QString &folder, const QStringList &names)
{
    answerer->expect(DialogAnswerer::pickFiles(folder, names));
    fixture->child<QPushButton>("btnAdd")->click();
    QVERIFY(answerer->allAnswered());
}

void tst_FileLists::addSortsHeadersFromSources()
{
    const QString folder = fixture->root() + "/picked files";
    for (const char *name : { "x.h", "y.c", "z.cpp", "UDF.H" })
        fixture->makeFile(QString("picked files/") + name);

    add(folder, { "x.h", "y.c", "z.cpp", "UDF.H" });
    QCOMPARE(answerer->seen.value(0).title, QStringLiteral("Select one or more files to open"));
    QCOMPARE(fixture->rows("listHeaderFiles"), QStringList { "x.h" });
    // Only a lower-case "h" makes a header.
    QCOMPARE(fixture->rows("listSourceFiles"), QStringList({ "y.c", "z.cpp", "UDF.H" }));
}

void tst_FileLists::sameFileNameIsListedOnceAndCancelKeepsLists()
{
    fixture->makeFile("a/x.c", "a");
    fixture->makeFile("b/x.c", "b");
    fixture->makeFile("b/y.c");
    add(fixture->root() + "/a", { "x.c" });
    add(fixture->root() + "/b", { "x.c", "y.c" });
    QCOMPARE(fixture->rows("listSourceFiles"), QStringList({ "x.c", "y.c" }));
    answerer->expect(DialogAnswerer::cancel());
    fixture->child<QPushButton>("btnAdd")->click();
    QCOMPARE(fixture->rows("listSourceFiles"), QStringList({ "x.c", "y.c" }));
    QVERIFY(fixture->rows("listHeaderFiles").isEmpty());

    // The copy in the build root shows which x.c the window kept.
    QCOMPARE(layOutBuildRoot(), QStringList({ "x.c", "y.c" }));
    QCOMPARE(filetree::read(fixture->root() + "/project/buildByVarnholt/src/x.c"), QByteArray("a"));
}

void tst_FileLists::deleteKeepsRowsAlignedWithPaths()
{
    for (const char *name : { "a.h", "b.h", "c.h", "one.c", "two.c", "three.c" })
        fixture->makeFile(QString("p/") + name);
    add(fixture->root() + "/p", { "a.h", "b.h", "c.h" });
    add(fixture->root() + "/p", { "one.c", "two.c", "three.c" });

    // Rows of both lists selected at once go in one press, whatever order they were selected in.
    auto *headers = fixture->child<QListWidget>("listHeaderFiles");
    auto *sources = fixture->child<QListWidget>("listSourceFiles");
    headers->item(2)->setSelected(true);
    headers->item(0)->setSelected(true);
    sources->item(0)->setSelected(true);
    fixture->child<QPushButton>("btnDel")->click();
    QCOMPARE(fixture->rows("listHeaderFiles"), QStringList { "b.h" });
    QCOMPARE(fixture->rows("listSourceFiles"), QStringList({ "two.c", "three.c" }));

    // Adding the removed names again works, so the path lists dropped them too.
    add(fixture->root() + "/p", { "one.c", "a.h" });
    QCOMPARE(fixture->rows("listSourceFiles"), QStringList({ "two.c", "three.c", "one.c" }));
    QCOMPARE(fixture->rows("listHeaderFiles"), QStringList({ "b.h", "a.h" }));
    QCOMPARE(layOutBuildRoot(), QStringList({ "one.c", "three.c", "two.c", "a.h", "b.h" }));
}

QTEST_MAIN(tst_FileLists)
#include "tst_filelists.moc"
