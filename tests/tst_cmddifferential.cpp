#include <QtTest>

// The stand-in cmd.exe and Wine's cmd.exe, an independent implementation, run the same batch file
// in the same kind of folder under a Chinese console code page (936). What each does must agree:
// the exit status, what it prints, the arguments that cl receives, and the files left behind.
// Where Wine is known to differ from Windows' cmd, the row says so and gives what Windows does;
// the stand-in is held to that instead.
class tst_CmdDifferential : public QObject {
    Q_OBJECT

public:
    struct Outcome {
        int status = -1;
        QString out; // decoded from code page 936, the temporary root written @ROOT@
        QString clLog; // what cl received, as appended to KESTRUNE_CL_LOG
        QStringList files; // every file below the root afterwards
    };

private slots:
    void initTestCase();
    void init();
    void sameEffects_data();
    void sameEffects();

private:
    Outcome run(
        const QString &cmd, const QString &side, const QString &folder, const QByteArray &batch);

    QScopedPointer<QTemporaryDir> tempDir;
    QString wineProblem;
};

Q_DECLARE_METATYPE(tst_CmdDifferential::Outcome)

static const char compileObj[] = "@echo off\n"
                                 "pushd \"%KESTRUNE_VCVARS_DIR%\"\n"
                                 "call vcvars64.bat\n"
                                 "popd\n"
                                 "cl /DUDF_EXPORTING /c /MDd ^\n"
                                 "/I\"%KESTRUNE_INCLUDE_1%\" ^\n"
                                 "\"udf_names.c\" /Fo\"udf_names.obj\"";

static QByteArray encoded(const QString &text, const char *encoding)
{
    QString withCrLf = text;
    withCrLf.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return QStringEncoder(encoding).encode(withCrLf);
}

static QString windowsPath(QString hostPath)
{
    return QStringLiteral("Z:") + hostPath.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

static QString wineUnavailableReason()
{
    if (!QFileInfo(QStringLiteral("/usr/lib/wine/wine64")).isExecutable())
        return QStringLiteral("Wine is not installed (no /usr/lib/wine/wine64)");
    QProcess locales;
    locales.start(QStringLiteral("locale"), { QStringLiteral("-a") });
    if (!locales.waitForFinished(10000))
        return QStringLiteral("locale -a does not run");
    const QString known = QString::fromLocal8Bit(locales.readAllStandardOutput()).toLower();
    if (!known.contains(QLatin1String("zh_cn.utf8"))
        && !known.contains(QLatin1String("zh_cn.utf-8")))
        return QStringLiteral("the locale zh_CN.UTF-8 is not generated");
    return QString();
}

void tst_CmdDifferential::initTestCase()
{
    wineProblem = wineUnavailableReason();
    QVERIFY(QFileInfo(QStringLiteral(KESTRUNE_STANDINS_BIN "/cmd.exe")).isExecutable());
}

void tst_CmdDifferential::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
}

static void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// The folder holds the batch file run.bat, the sources, an include folder and a subfolder with a
// Chinese name holding another batch file; the process starts in it, as the system starts cmd.
tst_CmdDifferential::Outcome tst_CmdDifferential::run(
    const QString &cmd, const QString &side, const QString &folder, const QByteArray &batch)
{
    const QString root = tempDir->path() + "/" + side;
    const QString work = root + "/" + folder;
    writeFile(work + "/run.bat", batch);
    writeFile(work + "/udf_names.c", "#include \"probe.h\"\nint probe(void) { return PROBE; }\n");
    writeFile(work + "/bad.c", "int bad(void) { return }\n");
    writeFile(work + "/inc/probe.h", "#define PROBE 42\n");
    writeFile(work + "/two words.c", "int words(void) { return WORDS; }\n");
    writeFile(work + "/子目录/inner.bat", "@echo off\r\nset INNER=from inner\r\necho inner\r\n");
    const QString log = tempDir->path() + "/" + side + ".log";
    const QString vcvars = QStringLiteral(KESTRUNE_STANDIN_INSTALLATIONS)
        + "/Microsoft Visual Studio/2019/Community/VC/Auxiliary/Build";

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("VSCMD_ARG_TGT_ARCH"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("zh_CN.UTF-8"));
    environment.insert(QStringLiteral("KESTRUNE_CMD_CODEPAGE"), QStringLiteral("936"));
    environment.insert(QStringLiteral("KESTRUNE_CL_HOST"), QStringLiteral(KESTRUNE_CL_HOST));
    environment.insert(QStringLiteral("KESTRUNE_CL_LOG"), log);
    // As the system passes them: the Visual Studio folder with backslashes and without a drive,
    // the include folders with slashes.
    environment.insert(QStringLiteral("KESTRUNE_VCVARS_DIR"), windowsPath(vcvars).mid(2));
    environment.insert(QStringLiteral("KESTRUNE_INCLUDE_1"), work + "/inc");

    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(work);
    process.start(cmd, { QStringLiteral("/c"), QStringLiteral("run.bat") });
    Outcome outcome;
    if (!process.waitForFinished(180000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished(5000);
        return outcome;
    }
    const auto normalised = [&](QString text) {
        return text.replace(windowsPath(root), QStringLiteral("@ROOT@"))
            .replace(root, QStringLiteral("@ROOT@"));
    };
    outcome.status = process.exitCode();
    outcome.out = normalised(QStringDecoder("GBK").decode(process.readAllStandardOutput()));
    QFile logFile(log);
    if (logFile.open(QIODevice::ReadOnly))
        outcome.clLog = normalised(QString::fromUtf8(logFile.readAll()));
    QDirIterator files(root, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        outcome.files << QDir(root).relativeFilePath(files.next());
    outcome.files.sort();
    return outcome;
}

void tst_CmdDifferential::sameEffects_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QByteArray>("batch");
    QTest::addColumn<QString>("wineDefect"); // empty when Wine does what Windows' cmd does
    QTest::addColumn<Outcome>("windows"); // what Windows' cmd does, for rows with a Wine defect

    const QString specials = QStringLiteral("a&b ^c !d (e) f;g 'h' $i #j");
    const QString compileLog = QStringLiteral(
        "cl 6\n/DUDF_EXPORTING\n/c\n/MDd\n/I@ROOT@/%1/inc\nudf_names.c\n/Foudf_names.obj\n");
    const QStringList written { "run.bat", "udf_names.c", "bad.c", "inc/probe.h", "two words.c",
        "子目录/inner.bat" };
    const QStringList compiled = written + QStringList { "udf_names.obj" };
    const auto in = [](const QString &folder, QStringList files) {
        for (QString &file : files)
            file.prepend(folder + "/");
        files.sort();
        return files;
    };

    QTest::newRow("compileOBJ.bat, plain folder")
        << "root/3ddp" << encoded(compileObj, "UTF-8") << QString() << Outcome();
    QTest::newRow("compileOBJ.bat, blanks and Chinese")
        << "用户 工程/流体 计算" << encoded(compileObj, "UTF-8") << QString() << Outcome();
    QTest::newRow("compileOBJ.bat, & ^ ! ( ) ; ' $ #")
        << specials << encoded(compileObj, "UTF-8") << QString() << Outcome();
    QTest::newRow("compileOBJ.bat, percent sign in the folder")
        << "50% 工程" << encoded(compileObj, "UTF-8")
        << "Wine's cmd drops a % that stands in the value of an expanded variable"
        << Outcome { 0, QString(), compileLog.arg("50% 工程"), in("50% 工程", compiled) };
    QTest::newRow("percent sign in a value")
        << "plain" << encoded("@echo off\nset \"V=50%% ^!&()\"\necho \"%V%\"\n", "UTF-8")
        << "Wine's cmd drops a % that stands in the value of an expanded variable"
        << Outcome { 0, "\"50% ^!&()\"\r\n", QString(), in("plain", written) };

    QTest::newRow("set, %VAR%, quotes and carets")
        << "plain"
        << encoded("@echo off\nset \"V=a&b (c) ^x !y; 'z' $#\"\necho \"%V%\" ^& \"%v%\"\n"
                   "echo one ^\ntwo^^ \"^&\" 100%%\n",
               "UTF-8")
        << QString() << Outcome();
    QTest::newRow("Chinese text in a GBK file")
        << "plain" << encoded("@echo off\necho 中文 路径\n", "GBK") << QString() << Outcome();
    QTest::newRow("Chinese path in a GBK file is found")
        << "plain" << encoded("@echo off\ncall \"子目录\\inner.bat\"\necho [%INNER%]\n", "GBK")
        << QString() << Outcome();
    QTest::newRow("Chinese path in a UTF-8 file is misread")
        << "plain" << encoded("@echo off\ncall \"子目录\\inner.bat\"\necho [%INNER%]\n", "UTF-8")
        << QString() << Outcome();
    QTest::newRow("%~dp0 and its kin in a folder of specials")
        << specials << encoded("@echo off\necho \"%~dp0\" \"%~f0\" %~nx0 %~n0 %~x0 %~d0\n", "UTF-8")
        << QString() << Outcome();
    QTest::newRow("pushd, popd, cd /d and %CD%")
        << "用户 工程"
        << encoded("@echo off\npushd \"子目录\"\necho \"%CD%\"\ncall inner.bat\npopd\n"
                   "echo \"%CD%\"\ncd /d \"%~dp0inc\"\necho \"%CD%\"\npushd \"no such\"\n"
                   "echo %ERRORLEVEL%\n",
               "GBK")
        << QString() << Outcome();
    QTest::newRow("cl without vcvars is not found")
        << "plain" << encoded("@echo off\ncl /c udf_names.c\necho %ERRORLEVEL%\n", "UTF-8")
        << QString() << Outcome();

    const QString vcvars = "@echo off\npushd \"%KESTRUNE_VCVARS_DIR%\"\ncall vcvars64.bat\npopd\n";
    QTest::newRow("cl: compile error, then set and echo keep its status")
        << "plain" << encoded(vcvars + "cl /c bad.c\nset X=1\necho %ERRORLEVEL%\n", "UTF-8")
        << "Wine's cmd clears the error level on a set in a .bat file (Windows does so only in "
           "a .cmd file)"
        << Outcome { 2, "2\r\n", "cl 2\n/c\nbad.c\n", in("plain", written) };
    QTest::newRow("cl: quoted arguments with blanks")
        << "用户 工程"
        << encoded(
               vcvars + "cl /c /D\"WORDS=1 + 1\" \"two words.c\" /Fo\"two words.obj\"\n", "UTF-8")
        << QString() << Outcome();
    QTest::newRow("cl: %~dp0 paths")
        << specials
        << encoded(vcvars + "cl /c /I\"%~dp0inc\" \"%~dp0udf_names.c\" /Fo\"%~dp0udf_names.obj\"\n",
               "UTF-8")
        << QString() << Outcome();
}

static void compareOutcomes(
    const tst_CmdDifferential::Outcome &actual, const tst_CmdDifferential::Outcome &expected)
{
    QCOMPARE(actual.out, expected.out);
    QCOMPARE(actual.clLog, expected.clLog);
    QCOMPARE(actual.files, expected.files);
    QCOMPARE(actual.status, expected.status);
}

void tst_CmdDifferential::sameEffects()
{
    QFETCH(QString, folder);
    QFETCH(QByteArray, batch);
    QFETCH(QString, wineDefect);
    QFETCH(Outcome, windows);
    const Outcome standin = run(
        QStringLiteral(KESTRUNE_STANDINS_BIN "/cmd.exe"), QStringLiteral("standin"), folder, batch);
    if (!wineDefect.isEmpty()) {
        compareOutcomes(standin, windows);
        if (!wineProblem.isEmpty())
            QSKIP(qPrintable(wineProblem));
        // The defect must still show, or the row's note is stale.
        const Outcome wine = run(QStringLiteral(KESTRUNE_WINE_CMD_BIN "/cmd.exe"),
            QStringLiteral("wine"), folder, batch);
        QVERIFY2(
            wine.out != windows.out || wine.clLog != windows.clLog || wine.status != windows.status,
            qPrintable(wineDefect));
        return;
    }
    if (!wineProblem.isEmpty())
        QSKIP(qPrintable(wineProblem));
    const Outcome wine = run(
        QStringLiteral(KESTRUNE_WINE_CMD_BIN "/cmd.exe"), QStringLiteral("wine"), folder, batch);
    compareOutcomes(standin, wine);
}

QTEST_GUILESS_MAIN(tst_CmdDifferential)
#include "tst_cmddifferential.moc"
