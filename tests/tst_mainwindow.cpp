#include "mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

class tst_MainWindow : public QObject {
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private slots:
    void init();
    void cleanup();
    void sizeLimits();
    void menuBarOrder();
    void aboutBox();
    void edemFieldFollowsBuildType_data();
    void edemFieldFollowsBuildType();
    void statusBarTellsWatching();
    void tabOrder();

private:
    QLineEdit *edit(const char *name) const { return window->findChild<QLineEdit *>(name); }
    QRadioButton *radio(const char *name) const { return window->findChild<QRadioButton *>(name); }

    QTemporaryDir workDir;
    QString previousDir;
    MainWindow *window = nullptr;
};

void tst_MainWindow::init()
{
    // The settings file is looked up relative to the working directory; keep it inside the test.
    previousDir = QDir::currentPath();
    QVERIFY(QDir(workDir.path()).mkpath("work"));
    QDir::setCurrent(workDir.path() + "/work");
    window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void tst_MainWindow::cleanup()
{
    delete window;
    window = nullptr;
    QDir::setCurrent(previousDir);
}

void tst_MainWindow::sizeLimits()
{
    QCOMPARE(window->size(), QSize(750, 384));
    QCOMPARE(window->minimumSize(), QSize(750, 358));
    QCOMPARE(window->maximumSize(), QSize(750, 384));
    window->resize(900, 200);
    QCOMPARE(window->size(), QSize(750, 358));
    QCOMPARE(window->windowTitle(), QStringLiteral("Kestrune"));
    QVERIFY(!window->windowIcon().isNull());
}

void tst_MainWindow::menuBarOrder()
{
    const QList<QAction *> actions = window->menuBar()->actions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions.at(0)->text(), QStringLiteral("工具"));
    QCOMPARE(actions.at(1)->text(), QStringLiteral("关于我们"));
    const QList<QAction *> toolEntries = actions.at(0)->menu()->actions();
    QCOMPARE(toolEntries.size(), 1);
    QCOMPARE(toolEntries.at(0)->text(), QStringLiteral("读取文件"));
}

void tst_MainWindow::aboutBox()
{
    QString title;
    QStringList lines;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        title = box->windowTitle();
        lines = box->text().split('\n');
        buttons = box->standardButtons();
        box->accept();
    });
    window->menuBar()->actions().at(1)->trigger();
    QCOMPARE(title, QStringLiteral("About Kestrune"));
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines.at(0), QStringLiteral("Kestrune"));
    QCOMPARE(lines.at(1), QStringLiteral("Version:3.0.0"));
    QVERIFY(lines.at(3).isEmpty());
    QCOMPARE(buttons, QMessageBox::Ok);
}

void tst_MainWindow::edemFieldFollowsBuildType_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("edemEnabled");
    QTest::newRow("Fluent-Edem Euler") << "rbtnCoupling_Euler" << true;
    QTest::newRow("Fluent-Edem DPM") << "rbtnCoupling_DPM" << true;
    QTest::newRow("Fluent udf") << "rbtnFluentUdf" << false;
}

void tst_MainWindow::edemFieldFollowsBuildType()
{
    QFETCH(QString, button);
    QFETCH(bool, edemEnabled);
    QVERIFY(radio("rbtnFluentUdf")->isChecked());
    QVERIFY(!edit("editPathEdem")->isEnabled());

    // Go through a coupling type first so that returning to "Fluent udf" is a real toggle.
    radio("rbtnCoupling_DPM")->click();
    radio(qPrintable(button))->click();
    QCOMPARE(edit("editPathEdem")->isEnabled(), edemEnabled);
}

void tst_MainWindow::statusBarTellsWatching()
{
    QCOMPARE(window->statusBar()->currentMessage(), QString());
    QTRY_COMPARE_WITH_TIMEOUT(
        window->statusBar()->currentMessage(), QStringLiteral("文件监测中..."), 8000);
    // Each message stays three of every five seconds.
    QTRY_COMPARE_WITH_TIMEOUT(window->statusBar()->currentMessage(), QString(), 4000);
}

void tst_MainWindow::tabOrder()
{
    const QStringList expected = { "editPathFluent", "editPathEdem", "editPathVS", "rbtnFluentUdf",
        "rbtnCoupling_Euler", "cbDimension", "cbPrecision", "cbParallel", "listHeaderFiles",
        "listSourceFiles", "btnAdd", "btnDel" };
    // Qt ignores tab-order pairs with a widget that takes no focus (the two lists), so the
    // order holds within the runs of focusable widgets.
    for (int i = 0; i + 1 < expected.size(); ++i) {
        auto *from = window->findChild<QWidget *>(expected.at(i));
        auto *to = window->findChild<QWidget *>(expected.at(i + 1));
        QVERIFY(from && to);
        if (from->focusPolicy() == Qt::NoFocus || to->focusPolicy() == Qt::NoFocus)
            continue;
        QWidget *next = from->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus)
            next = next->nextInFocusChain();
        QCOMPARE(next, to);
    }
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
