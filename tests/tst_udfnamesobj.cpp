#include "kestrune.h"

#include "helpers/filetree.h"

#include <QtTest>

// udf_names.obj from the whole table triple, with the stand-in cmd.exe (which compiles with
// clang-cl) and the stand-in Fluent and Visual Studio installations.
class tst_UdfNamesObj : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void objectDefinesTheTable();
    void failedCompileLeavesNoObject_data();
    void failedCompileLeavesNoObject();

private:
    QString makeSource(const QByteArray &content);
    QString runTableTriple(const QString &source, const QString &vsPath);

    QScopedPointer<QTemporaryDir> tempDir;
    const QString fluentPath = QString(KESTRUNE_STANDIN_INSTALLATIONS) + "/ANSYS Inc/v192/fluent";
    const QString vsPath
        = QString(KESTRUNE_STANDIN_INSTALLATIONS) + "/Microsoft Visual Studio/2019/Community";
};

namespace {

struct CoffSymbol {
    QByteArray name;
    qint16 section = 0;
    quint8 storageClass = 0;
};

template <typename T> T readLittleEndian(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

// The machine type and the symbol table of a COFF object file; false when it is not one.
bool readCoff(const QByteArray &object, quint16 &machine, QList<CoffSymbol> &symbols)
{
    constexpr qsizetype headerSize = 20, symbolSize = 18;
    if (object.size() < headerSize)
        return false;
    machine = readLittleEndian<quint16>(object, 0);
    const quint32 table = readLittleEndian<quint32>(object, 8);
    const quint32 count = readLittleEndian<quint32>(object, 12);
    const qsizetype strings = qsizetype(table) + qsizetype(count) * symbolSize;
    if (strings + 4 > object.size())
        return false;
    for (quint32 i = 0; i < count; ++i) {
        const qsizetype entry = table + qsizetype(i) * symbolSize;
        CoffSymbol symbol;
        if (readLittleEndian<quint32>(object, entry) == 0) {
            const qsizetype offset = strings + readLittleEndian<quint32>(object, entry + 4);
            symbol.name = QByteArray(object.constData() + offset);
        } else {
            symbol.name = QByteArray(object.constData() + entry, 8);
            symbol.name.truncate(symbol.name.indexOf('\0') < 0 ? 8 : symbol.name.indexOf('\0'));
        }
        symbol.section = readLittleEndian<qint16>(object, entry + 12);
        symbol.storageClass = quint8(object.at(entry + 16));
        i += quint8(object.at(entry + 17)); // auxiliary records
        symbols << symbol;
    }
    return true;
}

bool definesExternal(const QList<CoffSymbol> &symbols, const QByteArray &name)
{
    constexpr quint8 externalClass = 2;
    return std::any_of(symbols.cbegin(), symbols.cend(), [&](const CoffSymbol &symbol) {
        return symbol.name == name && symbol.section > 0 && symbol.storageClass == externalClass;
    });
}

} // namespace

void tst_UdfNamesObj::initTestCase()
{
#ifdef Q_OS_WIN
    QSKIP("The stand-in cmd.exe is built on other hosts only");
#endif
    QVERIFY2(QFileInfo(QString(KESTRUNE_STANDINS_BIN) + "/cmd.exe").isExecutable(),
        "the stand-in cmd.exe is not built");
    QVERIFY2(QFileInfo::exists(fluentPath + "/fluent19.2.0/src/udf/makefile_nt.udf"),
        "the stand-in Fluent installation is not laid out");
    QVERIFY2(QFileInfo::exists(vsPath + "/VC/Auxiliary/Build/vcvars64.bat"),
        "the stand-in Visual Studio installation is not laid out");
    qputenv("PATH", QByteArray(KESTRUNE_STANDINS_BIN) + ":" + qgetenv("PATH"));
}

void tst_UdfNamesObj::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
}

QString tst_UdfNamesObj::makeSource(const QByteArray &content)
{
    return filetree::make(tempDir->path(), "用户 项目/buildByVarnholt/src/inlet.c", content);
}

// Writes, compiles and cleans up the table of one source as the variant writers do; returns the
// variant directory.
QString tst_UdfNamesObj::runTableTriple(const QString &source, const QString &vsPath)
{
    const QString variantDirectory = tempDir->path() + "/用户 项目/buildByVarnholt/3ddp_host";
    QDir().mkpath(variantDirectory);
    CKestrune engine;
    engine.setProcessTimeoutsForTesting(20000);
    engine.writeUdfNames({ source }, variantDirectory);
    engine.compileUdfNames("3ddp_host", fluentPath, vsPath, variantDirectory);
    engine.removeUdfNamesTemporaries(variantDirectory);
    return variantDirectory;
}

void tst_UdfNamesObj::objectDefinesTheTable()
{
    const QString source = makeSource("#include \"udf.h\"\n"
                                      "DEFINE_PROFILE( inlet_velocity, thread, position)\n{\n}\n"
                                      "DEFINE_ON_DEMAND(report)\n{\n}\n");
    const QString variantDirectory = runTableTriple(source, vsPath);

    quint16 machine = 0;
    QList<CoffSymbol> symbols;
    QVERIFY(readCoff(filetree::read(variantDirectory + "/udf_names.obj"), machine, symbols));
    QCOMPARE(machine, quint16(0x8664));
    QVERIFY(definesExternal(symbols, "udf_data"));
    QVERIFY(definesExternal(symbols, "n_udf_data"));
    QVERIFY(definesExternal(symbols, "UDF_Inquire_Release"));
    // The table refers to the functions, which the user's objects define.
    QVERIFY(!definesExternal(symbols, "inlet_velocity"));
    QCOMPARE(QDir(variantDirectory).entryList(QDir::Files), QStringList { "udf_names.obj" });
}

void tst_UdfNamesObj::failedCompileLeavesNoObject_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("vsSubPath");
    QTest::newRow("wrong Visual Studio path")
        << QByteArray("DEFINE_ON_DEMAND(report)\n{\n}\n") << "/Microsoft Visual Studio/2022/Nope";
    QTest::newRow("compile error")
        << QByteArray("DEFINE_NO_SUCH_TYPE(report)\n") << "/Microsoft Visual Studio/2019/Community";
}

void tst_UdfNamesObj::failedCompileLeavesNoObject()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, vsSubPath);
    const QString source = makeSource(content);
    const QString variantDirectory = tempDir->path() + "/用户 项目/buildByVarnholt/3ddp_host";
    QVERIFY(filetree::write(variantDirectory + "/udf_names.obj", "table of an earlier run"));

    runTableTriple(source, QString(KESTRUNE_STANDIN_INSTALLATIONS) + vsSubPath);
    QCOMPARE(QDir(variantDirectory).entryList(QDir::Files), QStringList());
}

QTEST_GUILESS_MAIN(tst_UdfNamesObj)
#include "tst_udfnamesobj.moc"
