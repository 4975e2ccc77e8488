#ifndef WINDOWFIXTURE_H
#define WINDOWFIXTURE_H

#include "mainwindow.h"

#include "helpers/filetree.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QStatusBar>
#include <QTemporaryDir>

// A window started in a working folder of its own, so that "../ini/settings.json" and the file
// dialogs' start folder lie inside the test's temporary folder.
class WindowFixture {
public:
    WindowFixture() : previousDir(QDir::currentPath())
    {
        QDir(temp.path()).mkpath("work");
        QDir::setCurrent(workFolder());
    }
    ~WindowFixture()
    {
        delete window;
        QDir::setCurrent(previousDir);
    }

    QString root() const { return temp.path(); }
    QString workFolder() const { return temp.path() + "/work"; }
    QString settingsPath() const { return temp.path() + "/ini/settings.json"; }

    MainWindow *open()
    {
        window = new MainWindow;
        window->show();
        return window;
    }

    template <typename T> T *child(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }

    QStringList rows(const char *listName) const
    {
        QStringList texts;
        auto *list = child<QListWidget>(listName);
        for (int row = 0; row < list->count(); ++row)
            texts.append(list->item(row)->text());
        return texts;
    }

    // The status bar tells the project folder the window holds, or that none is set.
    QString statusAfterTick() const
    {
        QMetaObject::invokeMethod(window, "monitorUdfNames");
        return window->statusBar()->currentMessage();
    }

    QString makeFile(const QString &relativePath, const QByteArray &content = "int x;\n") const
    {
        const QString path = temp.path() + "/" + relativePath;
        filetree::write(path, content);
        return path;
    }

    void useInstallations(const QString &fluent, const QString &vs, const QString &edem)
    {
        child<QLineEdit>("editPathFluent")->setText(fluent);
        child<QLineEdit>("editPathVS")->setText(vs);
        child<QLineEdit>("editPathEdem")->setText(edem);
    }

    // The stand-in installations the build lays out: Fluent 19.2, Visual Studio 2019, EDEM 2018.
    void useStandinInstallations()
    {
        const QString installations = QStringLiteral(KESTRUNE_STANDIN_INSTALLATIONS);
        useInstallations(installations + "/ANSYS Inc/v192/fluent",
            installations + "/Microsoft Visual Studio/2019/Community",
            installations + "/DEM Solutions/EDEM 2018");
    }

    // Folders that pass the create command's checks and nothing more.
    void useMinimalInstallations()
    {
        makeFile("inst/fluent/ntbin/win64/fluent.exe");
        makeFile("inst/vs 2019/Common7/IDE/devenv.exe");
        makeFile("inst/edem/bin/edem.exe");
        useInstallations(root() + "/inst/fluent", root() + "/inst/vs 2019", root() + "/inst/edem");
    }

    // A create runs off the window's thread after the click: its button is enabled again once the
    // create has ended and its messages were shown.
    void waitForCreate() const
    {
        QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>("btnCreateVsProject")->isEnabled(), 60000);
    }

    QStringList filesIn(const QString &folder) const
    {
        return QDir(folder).entryList(QDir::Files, QDir::Name);
    }

    MainWindow *window = nullptr;

private:
    QTemporaryDir temp;
    QString previousDir;
};

#endif // WINDOWFIXTURE_H
