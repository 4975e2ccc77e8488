#include "kestrune.h"

#include <QtTest>

class tst_FluentMakefile : public QObject {
    Q_OBJECT

private slots:
    void init();
    void releaseNumbers_data();
    void releaseNumbers();
    void includeLines_data();
    void includeLines();
    void missingMakefile();

private:
    QScopedPointer<QTemporaryDir> tempDir;
};

static const QString defaultFluent = "C:/Program Files/ANSYS Inc/v192/fluent";

void tst_FluentMakefile::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
}

void tst_FluentMakefile::releaseNumbers_data()
{
    QTest::addColumn<QString>("fluentPath");
    QTest::addColumn<QString>("libraryRelease");
    QTest::addColumn<QString>("release");
    QTest::newRow("default folder") << defaultFluent << "1920"
                                    << "19.2.0";
    QTest::newRow("2023 R1") << "D:/ANSYS Inc/v231/fluent"
                             << "2310"
                             << "23.1.0";
    QTest::newRow("backslashes") << "C:\\ANSYS Inc\\v201\\fluent"
                                 << "2010"
                                 << "20.1.0";
    // The installation's own release folder counts, whatever other folders hold "fluent".
    QTest::newRow("fluent earlier in the path") << "D:/fluent-cases/ANSYS Inc/v192/fluent"
                                                << "1920"
                                                << "19.2.0";
    QTest::newRow("student installation") << "C:/Program Files/ANSYS Inc/ANSYS Student/v222/fluent"
                                          << "2220"
                                          << "22.2.0";
    QTest::newRow("the last release folder") << "E:/v192/backup/ANSYS Inc/v252/fluent"
                                             << "2520"
                                             << "25.2.0";
    QTest::newRow("capital Fluent") << "C:/ANSYS/v241/Fluent"
                                    << "2410"
                                    << "24.1.0";
    // Without a release folder the three characters before the first "fluent" stand in.
    QTest::newRow("no release folder, first fluent counts") << "C:/apps/fluent/x192/fluent"
                                                            << "pps0"
                                                            << "pp.s.0";
    QTest::newRow("v and four digits is no release") << "C:/ANSYS/v2024/Fluent"
                                                     << "0"
                                                     << "..0";
    QTest::newRow("empty path") << ""
                                << "0"
                                << "..0";
    QTest::newRow("window cut at the start") << "abfluent"
                                             << "a0"
                                             << "a..0";
    QTest::newRow("two characters before") << "abcfluent"
                                           << "ab0"
                                           << "ab..0";
}

void tst_FluentMakefile::releaseNumbers()
{
    QFETCH(QString, fluentPath);
    QFETCH(QString, libraryRelease);
    QFETCH(QString, release);
    const QPair<QString, QString> numbers = CKestrune::fluentRelease(fluentPath);
    QCOMPARE(numbers.first, libraryRelease);
    QCOMPARE(numbers.second, release);
}

void tst_FluentMakefile::includeLines_data()
{
    QTest::addColumn<QByteArray>("makefile");
    QTest::addColumn<QString>("fluentPath");
    QTest::addColumn<QStringList>("expected");
    const QString base = defaultFluent;

    QTest::newRow("continued line")
        << QByteArray("CFLAGS = -I\"$(FLUENT_INC)\"\\fluent$(RELEASE)"
                      "\\$(FLUENT_ARCH)\\$(VERSION) \\\n")
        << base << QStringList { base + "/fluent19.2.0/win64/3ddp_host" };
    QTest::newRow("last line without continuation or line end")
        << QByteArray("  -I\"$(FLUENT_INC)\"\\fluent$(RELEASE)\\src\\udf") << base
        << QStringList { base + "/fluent19.2.0/src/udf" };
    QTest::newRow("CR LF and tabs") << QByteArray("\t-I\"$(FLUENT_INC)\"\\src\\main \\\r\n") << base
                                    << QStringList { base + "/src/main" };
    QTest::newRow("blanks around the option's text")
        << QByteArray("-I  \"$(FLUENT_INC)\"\\x\t \n") << base << QStringList { base + "/x" };
    QTest::newRow("lines in order, equal ones kept")
        << QByteArray("-I\"$(FLUENT_INC)\"\\b \\\n-I\"$(FLUENT_INC)\"\\a \\\n"
                      "-I\"$(FLUENT_INC)\"\\b \\\n")
        << base << QStringList { base + "/b", base + "/a", base + "/b" };
    QTest::newRow("other lines passed over")
        << QByteArray("FLUENT_INC = C:\\fluent\nSRC = src\\\n-I. \\\n-I\"$(fluent_inc)\"\\x\n")
        << base << QStringList {};
    QTest::newRow("commented-out line taken")
        << QByteArray("# -I\"$(FLUENT_INC)\"\\old \\\n") << base << QStringList { base + "/old" };
    QTest::newRow("two options on a line")
        << QByteArray("-I\"$(FLUENT_INC)\"\\a -I\"$(FLUENT_INC)\"\\b \\\n") << base
        << QStringList { base + "/a -I\"" + base + "/b" };
    QTest::newRow("unquoted variable loses its dollar")
        << QByteArray("-I$(FLUENT_INC)\\src \\\n") << base << QStringList { "(FLUENT_INC)/src" };
    QTest::newRow("variable without quote behind it") << QByteArray(
        "-I\"$(FLUENT_INC)\\src\" \\\n") << base << QStringList { "$(FLUENT_INC)/src\"" };
    QTest::newRow("cut before the first blank-backslash")
        << QByteArray("-I\"$(FLUENT_INC)\"\\a \\b \\\n") << base << QStringList { base + "/a" };
    QTest::newRow("backslashes of the Fluent path")
        << QByteArray("-I\"$(FLUENT_INC)\"\\fluent$(RELEASE)\\cortex\\src \\\n")
        << "C:\\ANSYS Inc\\v201\\fluent"
        << QStringList { "C:/ANSYS Inc/v201/fluent/fluent20.1.0/cortex/src" };
    QTest::newRow("inserted text open to later steps")
        << QByteArray("-I\"$(FLUENT_INC)\"\\x \\\n") << "D:/$(VERSION)/v192/fluent"
        << QStringList { "D:/3ddp_host/v192/fluent/x" };
}

void tst_FluentMakefile::includeLines()
{
    QFETCH(QByteArray, makefile);
    QFETCH(QString, fluentPath);
    QFETCH(QStringList, expected);
    const QString path = tempDir->path() + "/makefile_nt.udf";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(makefile);
    file.close();

    CKestrune engine;
    QCOMPARE(engine.readFluentIncludeDirs(path, fluentPath, "3ddp_host"), expected);
}

void tst_FluentMakefile::missingMakefile()
{
    const QString path = tempDir->path() + "/fluent19.2.0/src/udf/makefile_nt.udf";
    QTest::ignoreMessage(QtDebugMsg, qPrintable("无法打开文件 \"" + path + "\" 进行读取"));
    CKestrune engine;
    QCOMPARE(engine.readFluentIncludeDirs(path, defaultFluent, "3d"), QStringList());
}

QTEST_GUILESS_MAIN(tst_FluentMakefile)
#include "tst_fluentmakefile.moc"
