#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

class tst_MainWindow : public QObject {
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private slots:
    void init();
    void cleanup() { fixture.reset(); }
    void aboutBox();
    void edemFieldFollowsBuildType_data();
    void edemFieldFollowsBuildType();
    void statusBarTellsWatching();
    void logPaneGrowsTheWindow();

private:
    QScopedPointer<WindowFixture> fixture;
    MainWindow *window = nullptr;
};

void tst_MainWindow::init()
{
    fixture.reset(new WindowFixture);
    window = fixture->open();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void tst_MainWindow::aboutBox()
{
    // The logo comes from the resources of a static library, which must be linked in; it is read
    // once the window is up.
    QTRY_VERIFY(!window->windowIcon().isNull());
    QVERIFY(!window->findChild<QLabel *>("label_4")->pixmap().isNull());
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
    QAction *about = window->menuBar()->actions().value(1);
    QVERIFY(about);
    QCOMPARE(about->text(), QStringLiteral("关于我们"));
    about->trigger();
    QCOMPARE(title, QStringLiteral("About Kestrune"));
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines.at(0), QStringLiteral("Kestrune"));
    QCOMPARE(lines.at(1), QStringLiteral("Version:3.0.0"));
    QVERIFY(lines.at(3).isEmpty());
    QCOMPARE(buttons, QMessageBox::Ok);
}

void tst_MainWindow::edemFieldFollowsBuildType_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<bool>("edemEnabled");
    QTest::newRow("Fluent-Edem Euler") << QStringList { "rbtnCoupling_Euler" } << true;
    QTest::newRow("Fluent-Edem DPM") << QStringList { "rbtnCoupling_DPM" } << true;
    QTest::newRow("back to Fluent udf")
        << QStringList { "rbtnCoupling_Euler", "rbtnFluentUdf" } << false;
}

void tst_MainWindow::edemFieldFollowsBuildType()
{
    QFETCH(QStringList, clicks);
    QFETCH(bool, edemEnabled);
    auto *edem = fixture->child<QLineEdit>("editPathEdem");
    QVERIFY(fixture->child<QRadioButton>("rbtnFluentUdf")->isChecked());
    QVERIFY(!edem->isEnabled());
    for (const QString &button : clicks)
        fixture->child<QRadioButton>(qPrintable(button))->click();
    QCOMPARE(edem->isEnabled(), edemEnabled);
}

void tst_MainWindow::statusBarTellsWatching()
{
    QCOMPARE(window->statusBar()->currentMessage(), QString());
    QTRY_COMPARE_WITH_TIMEOUT(
        window->statusBar()->currentMessage(), QStringLiteral("文件监测中..."), 8000);
    // Each message stays three of every five seconds.
    QTRY_COMPARE_WITH_TIMEOUT(window->statusBar()->currentMessage(), QString(), 4000);
}

// Closed, the pane takes no room from the form; open, the window grows by it and no more.
void tst_MainWindow::logPaneGrowsTheWindow()
{
    auto *toggle = fixture->child<QToolButton>("btnToggleLog");
    auto *view = fixture->child<QPlainTextEdit>("logView");
    QVERIFY(!view->isVisible());
    const QSize closedMinimum(750, 358), closedMaximum(750, 384);
    QCOMPARE(window->minimumSize(), closedMinimum);
    QCOMPARE(window->maximumSize(), closedMaximum);
    const int closedHeight = window->height();

    toggle->click();
    QVERIFY(view->isVisible());
    QCOMPARE(window->maximumWidth(), 750);
    QVERIFY(window->maximumHeight() >= closedMaximum.height() + 200);
    QTRY_VERIFY(window->height() >= closedHeight + 200);
    QVERIFY(view->height() >= 150);

    toggle->click();
    QVERIFY(!view->isVisible());
    QCOMPARE(window->minimumSize(), closedMinimum);
    QCOMPARE(window->maximumSize(), closedMaximum);
    QTRY_COMPARE(window->height(), closedHeight);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
