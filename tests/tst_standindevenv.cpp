#include "helpers/standinsolution.h"

#include <QtTest>

// The stand-in devenv.exe against a cleaned solution of the shape Kestrune leaves (two variant
// projects, CMake's utility projects gone): it must fail where Visual Studio fails, naming the
// project and the missing piece, or the end-to-end test's successful builds would prove nothing.
// Its successful builds are the end-to-end test's, whose libraries are loaded under Wine.
class tst_StandinDevenv : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void failsLikeVisualStudio_data();
    void failsLikeVisualStudio();

private:
    int devenv(const QStringList &arguments, QString &output);
    QString dllOf(const QString &variant) const;

    QTemporaryDir installationsDir;
    QScopedPointer<QTemporaryDir> tempDir;
    QString fluent;
    QString devenvProgram;
    QString buildRoot;
};

using standinsolution::windowsForm;

void tst_StandinDevenv::initTestCase()
{
    QVERIFY(installationsDir.isValid());
    QVERIFY(standinsolution::layOut(installationsDir.path()));
    fluent = installationsDir.path() + "/ANSYS Inc/v192/fluent";
    devenvProgram = installationsDir.path()
        + "/Microsoft Visual Studio/2019/Community/Common7/IDE/devenv.exe";
    QVERIFY(QFileInfo(devenvProgram).isExecutable());
}

void tst_StandinDevenv::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
    buildRoot = tempDir->path() + "/工程 目录/buildByVarnholt";
    QVERIFY(standinsolution::instantiate(buildRoot, fluent, fluent));
    QVERIFY(standinsolution::compileFunctionTables(buildRoot, fluent));
}

int tst_StandinDevenv::devenv(const QStringList &arguments, QString &output)
{
    QByteArray bytes;
    const int status = standinsolution::run(devenvProgram, arguments, bytes);
    output = QString::fromUtf8(bytes);
    output.replace(buildRoot, "@ROOT@").replace(windowsForm(buildRoot), "@WINROOT@");
    return status;
}

QString tst_StandinDevenv::dllOf(const QString &variant) const
{
    return buildRoot + "/solution/Debug/libudf/win64/" + variant + "/libudf.dll";
}

void tst_StandinDevenv::failsLikeVisualStudio_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("solutionFile");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("built");
    QTest::newRow("missing link library")
        << "no Fluent libraries"
        << "FLUENTUDF.sln"
        << QStringList { "1>3ddp_host.vcxproj : error LNK1181: cannot open input file 'mport.lib'",
               "1>3ddp_host.vcxproj : error LNK1181: cannot open input file 'fl1920.lib'",
               "2>3ddp_node.vcxproj : error LNK1181: cannot open input file 'fl_mpi1920.lib'",
               "Build: 0 succeeded, 2 failed" }
        << QStringList();
    // What the clean-up must remove: Visual Studio would run CMake from the custom build step.
    QTest::newRow("custom build step left")
        << "custom build in 3ddp_host"
        << "FLUENTUDF.sln"
        << QStringList { "1>3ddp_host.vcxproj : error MSB8066: Custom build for "
                         "'@WINROOT@\\3ddp_host\\CMakeLists.txt' exited with code 1.",
               "Build: 1 succeeded, 1 failed" }
        << QStringList { "3ddp_node" };
    QTest::newRow("missing udf_names.obj, .slnx")
        << "remove 3ddp_host/udf_names.obj"
        << "FLUENTUDF.slnx"
        << QStringList { "1>3ddp_host.vcxproj : error LNK1181: cannot open input file "
                         "'@ROOT@/3ddp_host/udf_names.obj'",
               "Build: 1 succeeded, 1 failed" }
        << QStringList { "3ddp_node" };
}

void tst_StandinDevenv::failsLikeVisualStudio()
{
    QFETCH(QString, change);
    QFETCH(QString, solutionFile);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, built);
    if (change.startsWith("remove "))
        QVERIFY(QFile::remove(buildRoot + "/" + change.mid(7)));
    else if (change == "no Fluent libraries")
        QVERIFY(
            standinsolution::instantiate(buildRoot, fluent, tempDir->path() + "/no Fluent here"));
    else if (change == "custom build in 3ddp_host") {
        const QString project = buildRoot + "/solution/3ddp_host/3ddp_host.vcxproj";
        const QByteArray rule = "  <ItemGroup>\r\n    <CustomBuild Include=\""
            + windowsForm(buildRoot).toUtf8()
            + "\\3ddp_host\\CMakeLists.txt\">\r\n      <Message>Building Custom Rule</Message>\r\n"
              "    </CustomBuild>\r\n  </ItemGroup>\r\n  <ItemGroup />";
        QVERIFY(filetree::write(project, filetree::read(project).replace("  <ItemGroup />", rule)));
    }

    QString output;
    QVERIFY(
        devenv({ buildRoot + "/solution/" + solutionFile, "/Build", "Debug|x64" }, output) != 0);
    for (const QString &message : messages)
        QVERIFY2(output.contains(message), qPrintable("wanted: " + message + "\ngot:\n" + output));
    for (const QString &variant : QStringList { "3ddp_host", "3ddp_node" })
        QCOMPARE(QFileInfo::exists(dllOf(variant)), built.contains(variant));
}

QTEST_GUILESS_MAIN(tst_StandinDevenv)
#include "tst_standindevenv.moc"
