#include "installationfinder.h"
#include "windowfixture.h"

#include "helpers/filetree.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcessEnvironment>
#include <QtTest>

// Every test lays out hand-made installations (only the files Kestrune looks for) under its own
// folder, with the program folders "pf" (ProgramFiles) and "x86" (ProgramFiles(x86)) there too.
class tst_InstallationPaths : public QObject {
    Q_OBJECT

private slots:
    void init();
    void firstStartFindsPaths_data();
    void firstStartFindsPaths();
    void settingsPathIsNeverReplaced_data();
    void settingsPathIsNeverReplaced();
    void typedPathIsNeverReplaced();
    void marks_data();
    void marks();

private:
    void layOut(WindowFixture &fixture, const QStringList &files, const QStringList &variables,
        const QByteArray &vswhereAnswer);
    static void waitForVisualStudioSearch(WindowFixture &fixture);
    static QString shown(const QString &path) { return QString(path).replace('/', '\\'); }
    static QString stored(WindowFixture &fixture, const char *key);
};

namespace {
const char fluent242[] = "ansys/v242/fluent/fluent24.2.0/src/udf/makefile_nt.udf";
const char vs2022[] = "x86/Microsoft Visual Studio/2022/Community/VC/Auxiliary/Build/vcvars64.bat";
const char installer[] = "x86/Microsoft Visual Studio/Installer";
const char edem2020[] = "pf/DEM Solutions/EDEM 2020/lib/EDEMCouplingClient4.lib";

// vswhere's answer, listing installations given as "<path under the test's folder>|<version>".
QByteArray vswhere(const QStringList &installations)
{
    QJsonArray answer;
    for (const QString &installation : installations) {
        answer.append(
            QJsonObject { { "installationPath", "@ROOT@/" + installation.section('|', 0, 0) },
                { "installationVersion", installation.section('|', 1) } });
    }
    return QJsonDocument(answer).toJson();
}
} // namespace

// Whatever the machine running the tests has, each test sees only the installations it made.
void tst_InstallationPaths::init()
{
    const QStringList names = QProcessEnvironment::systemEnvironment().keys();
    for (const QString &name : names) {
        if (name.startsWith("AWP_ROOT", Qt::CaseInsensitive))
            qunsetenv(qPrintable(name));
    }
    qunsetenv("ProgramFiles");
    qunsetenv("ProgramFiles(x86)");
}

void tst_InstallationPaths::layOut(WindowFixture &fixture, const QStringList &files,
    const QStringList &variables, const QByteArray &vswhereAnswer)
{
    QVERIFY(QDir(fixture.root()).mkpath("ini"));
    for (const QString &file : files)
        fixture.makeFile(file);
    qputenv("ProgramFiles", (fixture.root() + "/pf").toUtf8());
    qputenv("ProgramFiles(x86)", (fixture.root() + "/x86").toUtf8());
    for (const QString &variable : variables) {
        const QString value = QString(variable.section('=', 1)).replace("@ROOT@", fixture.root());
        qputenv(qPrintable(variable.section('=', 0, 0)), value.toUtf8());
    }
    if (vswhereAnswer.isNull())
        return;
    const QString vswhereExe = fixture.root() + "/" + installer + "/vswhere.exe";
    QVERIFY(QDir().mkpath(QFileInfo(vswhereExe).path()));
    QVERIFY(QFile::copy(KESTRUNE_STANDIN_VSWHERE, vswhereExe));
    QFile(vswhereExe).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    fixture.makeFile(installer + QString("/vswhere.json"),
        QByteArray(vswhereAnswer).replace("@ROOT@", fixture.root().toUtf8()));
}

// The search reports once and is then gone from the window.
void tst_InstallationPaths::waitForVisualStudioSearch(WindowFixture &fixture)
{
    QTRY_VERIFY_WITH_TIMEOUT(!fixture.window->findChild<VisualStudioSearch *>(), 8000);
}

QString tst_InstallationPaths::stored(WindowFixture &fixture, const char *key)
{
    return QJsonDocument::fromJson(filetree::read(fixture.settingsPath()))
        .object()
        .value(key)
        .toString("<no key>");
}

void tst_InstallationPaths::firstStartFindsPaths_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<QByteArray>("vswhereOutput"); // null: no vswhere on the machine
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected"); // relative to the test's folder; empty: nothing found
    QTest::addColumn<QString>("status");

    const QStringList threeFluents
        = { fluent242, "ansys/v231/fluent/fluent23.1.0/src/udf/makefile_nt.udf",
              "ansys/v251/fluent/fluent25.1.0/src/udf/udf.h" };
    QTest::newRow("Fluent: newest AWP_ROOT first, one without makefile skipped")
        << threeFluents
        << QStringList { "AWP_ROOT231=@ROOT@/ansys/v231", "AWP_ROOT251=@ROOT@/ansys/v251",
               "AWP_ROOT242=@ROOT@/ansys/v242" }
        << QByteArray() << "editPathFluent"
        << "ansys/v242/fluent"
        << "Fluent 路径取自 AWP_ROOT242";
    QTest::newRow("Fluent: backslashes and a trailing one, as the installer writes them")
        << QStringList { fluent242 } << QStringList { "AWP_ROOT242=@ROOT@\\ansys\\v242\\" }
        << QByteArray() << "editPathFluent"
        << "ansys/v242/fluent"
        << "Fluent 路径取自 AWP_ROOT242";
    QTest::newRow("Fluent: no AWP_ROOT holds a makefile")
        << QStringList { "ansys/v242/fluent/ntbin/win64/fluent.exe" }
        << QStringList { "AWP_ROOT242=@ROOT@/ansys/v242" } << QByteArray() << "editPathFluent"
        << QString() << QString();

    QTest::newRow("VS: vswhere, a 2026 installation under 18 is newest")
        << QStringList() << QStringList()
        << vswhere({ "pf/Microsoft Visual Studio/2022/Community|17.14.36310.24",
               "pf/Microsoft Visual Studio/18/Professional|18.0.11205.157" })
        << "editPathVS"
        << "pf/Microsoft Visual Studio/18/Professional"
        << "VS 路径取自 vswhere";
    QTest::newRow("VS: vswhere, newer wins whatever the order, Build Tools too")
        << QStringList() << QStringList()
        << vswhere({ "pf/Microsoft Visual Studio/2019/Enterprise|16.11.35731.53",
               "x86\\Microsoft Visual Studio\\2022\\BuildTools|17.10.35027.167",
               "pf/Microsoft Visual Studio/2017/Community|15.9.28307.2094" })
        << "editPathVS"
        << "x86/Microsoft Visual Studio/2022/BuildTools"
        << "VS 路径取自 vswhere";
    QTest::newRow("VS: vswhere, a path with no known version skipped")
        << QStringList() << QStringList()
        << vswhere({ "tools/VS/Preview|17.14.36310.24",
               "pf/Microsoft Visual Studio/2019/Community|16.11.35731.53" })
        << "editPathVS"
        << "pf/Microsoft Visual Studio/2019/Community"
        << "VS 路径取自 vswhere";
    QTest::newRow("VS: no vswhere, newest version in the program folders")
        << QStringList { "x86/Microsoft Visual Studio/2019/Community/Common7/IDE/devenv.exe",
               "pf/Microsoft Visual Studio/2022/Enterprise/Common7/IDE/devenv.exe",
               "pf/Microsoft Visual Studio/18/Community/Common7/IDE/readme.txt" }
        << QStringList() << QByteArray() << "editPathVS"
        << "pf/Microsoft Visual Studio/2022/Enterprise"
        << "VS 路径取自默认安装位置";
    QTest::newRow("VS: vswhere knows none, the program folders do")
        << QStringList { vs2022 } << QStringList() << vswhere({}) << "editPathVS"
        << "x86/Microsoft Visual Studio/2022/Community"
        << "VS 路径取自默认安装位置";

    QTest::newRow("EDEM: newest year that holds the library, in either program folder")
        << QStringList { edem2020, "x86/DEM Solutions/EDEM 2018/lib/EDEMCouplingClient4.lib",
               "x86/DEM Solutions/EDEM 2022/bin/edem.exe" }
        << QStringList() << QByteArray() << "editPathEdem"
        << "pf/DEM Solutions/EDEM 2020"
        << "Edem 路径取自默认安装位置";
}

// No settings file yet: each path the machine knows is shown, stored and told in the status bar.
void tst_InstallationPaths::firstStartFindsPaths()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, variables);
    QFETCH(QByteArray, vswhereOutput);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    QFETCH(QString, status);
    WindowFixture fixture;
    layOut(fixture, files, variables, vswhereOutput);
    auto *edit = fixture.open()->findChild<QLineEdit *>(field);
    const QString formDefault = edit->text();
    waitForVisualStudioSearch(fixture);

    if (expected.isEmpty()) {
        QVERIFY(formDefault.startsWith("C:\\Program Files"));
        QCOMPARE(fixture.window->statusBar()->currentMessage(), QString());
        QVERIFY(!QFileInfo::exists(fixture.settingsPath()));
        return;
    }
    const QString path = fixture.root() + "/" + expected;
    QCOMPARE(edit->text(), shown(path));
    const char *key = field == "editPathFluent" ? "pathFluent"
        : field == "editPathVS"                 ? "pathVs"
                                                : "pathEdem";
    QCOMPARE(stored(fixture, key), path);
    QCOMPARE(fixture.window->statusBar()->currentMessage(), status);
    if (!vswhereOutput.isNull() && field == "editPathVS") {
        const QByteArray arguments
            = filetree::read(fixture.root() + "/" + installer + "/vswhere.args");
        QCOMPARE(QString::fromUtf8(arguments).split('\n', Qt::SkipEmptyParts),
            QStringList({ "-products", "*", "-requires",
                "Microsoft.VisualStudio.Component.VC.Tools.x86.x64", "-format", "json", "-utf8" }));
    }
}

void tst_InstallationPaths::settingsPathIsNeverReplaced_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("fluent"); // "found", or the stored path shown in the field
    QTest::addColumn<QString>("vs");
    QTest::addColumn<bool>("vswhereRun");

    QTest::newRow("all three held") << QByteArray(
        R"({"pathFluent": "D:/F/v192/fluent", "pathEdem": "D:/E", "pathVs": "D:/VS"})")
                                    << "D:\\F\\v192\\fluent"
                                    << "D:\\VS" << false;
    QTest::newRow("VS key missing")
        << QByteArray(R"({"pathFluent": "D:/F/v192/fluent", "pathEdem": "D:/E"})")
        << "D:\\F\\v192\\fluent"
        << "found" << true;
    QTest::newRow("empty values, as a load without the keys stored them")
        << QByteArray(R"({"pathFluent": "", "pathEdem": "", "pathVs": "D:/VS"})") << "found"
        << "D:\\VS" << false;
    QTest::newRow("not JSON") << QByteArray("pathFluent = D:/F") << "found"
                              << "found" << true;
}

void tst_InstallationPaths::settingsPathIsNeverReplaced()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, fluent);
    QFETCH(QString, vs);
    QFETCH(bool, vswhereRun);
    WindowFixture fixture;
    layOut(fixture, { fluent242 }, { "AWP_ROOT242=@ROOT@/ansys/v242" },
        vswhere({ "x86/Microsoft Visual Studio/2022/Community|17.14.36310.24" }));
    fixture.makeFile("ini/settings.json", settings);
    fixture.open();
    waitForVisualStudioSearch(fixture);

    const auto expected = [&fixture](const QString &value, const char *found) {
        return value == "found" ? shown(fixture.root() + found) : value;
    };
    QCOMPARE(
        fixture.child<QLineEdit>("editPathFluent")->text(), expected(fluent, "/ansys/v242/fluent"));
    QCOMPARE(fixture.child<QLineEdit>("editPathVS")->text(),
        expected(vs, "/x86/Microsoft Visual Studio/2022/Community"));
    // vswhere is slow on some machines; a start that needs no Visual Studio path leaves it alone.
    QCOMPARE(QFileInfo::exists(fixture.root() + "/" + installer + "/vswhere.args"), vswhereRun);
}

// vswhere answers after the window is up; what the user typed meanwhile stays.
void tst_InstallationPaths::typedPathIsNeverReplaced()
{
    WindowFixture fixture;
    layOut(
        fixture, {}, {}, vswhere({ "x86/Microsoft Visual Studio/2022/Community|17.14.36310.24" }));
    fixture.makeFile(installer + QString("/vswhere.delay"), "1");
    fixture.open();
    auto *vs = fixture.child<QLineEdit>("editPathVS");
    vs->setFocus();
    vs->selectAll();
    QTest::keyClicks(vs, "E:\\VS\\2019");
    waitForVisualStudioSearch(fixture);
    QCOMPARE(vs->text(), QStringLiteral("E:\\VS\\2019"));
    QCOMPARE(stored(fixture, "pathVs"), QStringLiteral("E:/VS/2019"));
    QVERIFY(QFileInfo::exists(fixture.root() + "/" + installer + "/vswhere.args"));
}

void tst_InstallationPaths::marks_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("path"); // relative to the test's folder; empty: an empty field
    QTest::addColumn<QString>("mark");
    QTest::addColumn<QString>("toolTipPart");

    const QString vs18 = "i/Microsoft Visual Studio/18/Community";
    const QString edem = "i/DEM Solutions/EDEM 2018";
    const QStringList edemParts = { edem + "/src/Api/Coupling/ICouplingInterface.h",
        edem + "/src/Api/Core/ApiTypes.h", edem + "/lib/EDEMCouplingClient4.lib" };
    QTest::newRow("Fluent: makefile, its release")
        << "editPathFluent" << QStringList { "i/v192/fluent/fluent19.2.0/src/udf/makefile_nt.udf" }
        << "i/v192/fluent"
        << "✓ 19.2.0"
        << "Fluent 19.2.0";
    QTest::newRow("Fluent: no makefile for the release the path names")
        << "editPathFluent" << QStringList { "i/v192/fluent/fluent19.1.0/src/udf/makefile_nt.udf" }
        << "i/v192/fluent"
        << "✗"
        << "fluent19.2.0\\src\\udf\\makefile_nt.udf";
    QTest::newRow("VS: vcvars64.bat, 18 is VS 2026")
        << "editPathVS" << QStringList { vs18 + "/VC/Auxiliary/Build/vcvars64.bat" } << vs18
        << "✓ VS 2026"
        << "Visual Studio 18 2026";
    QTest::newRow("VS: IDE without the C++ tools")
        << "editPathVS" << QStringList { vs18 + "/Common7/IDE/devenv.exe" } << vs18 << "✗"
        << "VC\\Auxiliary\\Build\\vcvars64.bat";
    QTest::newRow("VS: no version a generator knows")
        << "editPathVS" << QStringList { "i/VS/Preview/VC/Auxiliary/Build/vcvars64.bat" }
        << "i/VS/Preview"
        << "✗"
        << "Visual Studio 版本";
    QTest::newRow("EDEM: coupling headers and library")
        << "editPathEdem" << edemParts << edem << "✓"
        << "lib\\EDEMCouplingClient4.lib";
    QTest::newRow("EDEM: no coupling library")
        << "editPathEdem" << edemParts.mid(0, 2) << edem << "✗"
        << "缺少：\nlib\\EDEMCouplingClient4.lib";
    QTest::newRow("EDEM: no Core headers")
        << "editPathEdem" << QStringList { edemParts.at(0), edemParts.at(2) } << edem << "✗"
        << "缺少：\nsrc\\Api\\Core";
    QTest::newRow("empty field") << "editPathVS" << QStringList() << QString() << "✗"
                                 << "未填写路径";
}

// The mark beside a field follows its text; the create command's own checks are not involved.
void tst_InstallationPaths::marks()
{
    QFETCH(QString, field);
    QFETCH(QStringList, files);
    QFETCH(QString, path);
    QFETCH(QString, mark);
    QFETCH(QString, toolTipPart);
    WindowFixture fixture;
    for (const QString &file : files)
        fixture.makeFile(file);
    fixture.open();
    const QString labelName
        = QString(field).replace("editPath", "label").replace("VS", "Vs") + "Status";
    auto *label = fixture.window->findChild<QLabel *>(labelName);
    QVERIFY(label);
    // The form's default names no installation on this machine.
    QCOMPARE(label->text(), QStringLiteral("✗"));

    fixture.child<QLineEdit>(qPrintable(field))
        ->setText(path.isEmpty() ? QString() : shown(fixture.root() + "/" + path));
    QCOMPARE(label->text(), mark);
    QVERIFY2(label->toolTip().contains(toolTipPart), qPrintable(label->toolTip()));
}

QTEST_MAIN(tst_InstallationPaths)
#include "tst_installationpaths.moc"
