#include "kestrune.h"
#include "udfscanner.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QtTest>

class tst_UdfScanner : public QObject {
    Q_OBJECT

private slots:
    void init();
    void heads_data();
    void heads();
    void agreesWithTheHeadPatternOnPlainCode();
    void encodings_data();
    void encodings();
    void unreadableSource_data();
    void unreadableSource();

private:
    QScopedPointer<QTemporaryDir> tempDir;
};

void tst_UdfScanner::init()
{
    tempDir.reset(new QTemporaryDir);
    QVERIFY(tempDir->isValid());
}

void tst_UdfScanner::heads_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");
    const QString adjust = "DEFINE_ADJUST(b, d)";

    // The head itself.
    QTest::newRow("one head") << QByteArray("DEFINE_PROFILE(inlet_velocity, thread, position)\n{}")
                              << QStringList { "DEFINE_PROFILE(inlet_velocity, thread, position)" };
    QTest::newRow("blank before parenthesis") << QByteArray("DEFINE_PROFILE (inlet, t, i) {}")
                                              << QStringList { "DEFINE_PROFILE (inlet, t, i)" };
    QTest::newRow("arguments over two lines") << QByteArray("DEFINE_PROFILE(inlet,\n    t, i)\n{}")
                                              << QStringList { "DEFINE_PROFILE(inlet,\n    t, i)" };
    QTest::newRow("line feeds before parenthesis")
        << QByteArray("DEFINE_ADJUST\n\t\n(b, d)") << QStringList { "DEFINE_ADJUST\n\t\n(b, d)" };
    QTest::newRow("first closing parenthesis ends the head") << QByteArray(
        "DEFINE_ADJUST(adjust_fn, f(d))") << QStringList { "DEFINE_ADJUST(adjust_fn, f(d)" };
    QTest::newRow("look-alikes") << QByteArray("MY_DEFINE_PROFILE(x) define_profile(x, t, i)\n"
                                               "DEFINE_(x) DEFINE_ x (DEFINE_PROFILE(x, t, i))")
                                 << QStringList { "DEFINE_PROFILE(x, t, i)" };
    QTest::newRow("duplicates in order")
        << QByteArray("DEFINE_INIT(i, d)\nDEFINE_ADJUST(b, d)\nDEFINE_INIT(i, d)")
        << QStringList { "DEFINE_INIT(i, d)", adjust, "DEFINE_INIT(i, d)" };
    QTest::newRow("no closing parenthesis")
        << QByteArray("DEFINE_PROFILE(a, t, i\n{}") << QStringList {};
    QTest::newRow("unclosed head runs into the next")
        << QByteArray("DEFINE_PROFILE(a, t\nDEFINE_ADJUST(b, d)")
        << QStringList { "DEFINE_PROFILE(a, t\nDEFINE_ADJUST(b, d)" };
    QTest::newRow("preprocessor lines are code")
        << QByteArray("#define DEFINE_MINE(x) DEFINE_ADJUST(x, d)\n")
        << QStringList { "DEFINE_MINE(x)", "DEFINE_ADJUST(x, d)" };

    // Comments.
    QTest::newRow("line comment") << QByteArray("// DEFINE_PROFILE(a, t, i)\nDEFINE_ADJUST(b, d)")
                                  << QStringList { adjust };
    QTest::newRow("line comment continued by backslash")
        << QByteArray("// old: \\\nDEFINE_PROFILE(a, t, i)\nDEFINE_ADJUST(b, d)")
        << QStringList { adjust };
    QTest::newRow("block comment over lines")
        << QByteArray("/*\nDEFINE_PROFILE(a, t, i)\n// */ DEFINE_ADJUST(b, d)")
        << QStringList { adjust };
    QTest::newRow("block comment holding a line comment")
        << QByteArray("/* a // b */ DEFINE_ADJUST(b, d)") << QStringList { adjust };
    QTest::newRow("unclosed block comment")
        << QByteArray("DEFINE_ADJUST(b, d) /* DEFINE_X(y)") << QStringList { adjust };
    QTest::newRow("comments inside a head")
        << QByteArray("DEFINE_PROFILE(a, /* thread ) */ t, // index)\n i)")
        << QStringList { "DEFINE_PROFILE(a,  t, \n i)" };
    QTest::newRow("comment before parenthesis")
        << QByteArray("DEFINE_ON_DEMAND/* the reset */(reset)")
        << QStringList { "DEFINE_ON_DEMAND(reset)" };

    // Literals.
    QTest::newRow("block comment openers in strings")
        << QByteArray("s = \"/*\"; DEFINE_ADJUST(b, d) t = \"*/\";") << QStringList { adjust };
    QTest::newRow("escaped quote")
        << QByteArray("s = \"a \\\" DEFINE_X(y) // \"; DEFINE_ADJUST(b, d)")
        << QStringList { adjust };
    QTest::newRow("escaped backslash ends string")
        << QByteArray("s = \"a\\\\\"; DEFINE_ADJUST(b, d) // \"") << QStringList { adjust };
    QTest::newRow("string spliced over lines")
        << QByteArray("s = \"a \\\n DEFINE_X(y)\"; DEFINE_ADJUST(b, d)") << QStringList { adjust };
    QTest::newRow("escaped char literal")
        << QByteArray("c = '\\''; DEFINE_ADJUST(b, d) c = '\\\\';") << QStringList { adjust };
    QTest::newRow("prefixed char literal")
        << QByteArray("c = L'\"'; DEFINE_ADJUST(b, d)") << QStringList { adjust };
    QTest::newRow("raw string") << QByteArray("s = R\"(// \" DEFINE_X(y))\"; DEFINE_ADJUST(b, d)")
                                << QStringList { adjust };
    QTest::newRow("raw string with delimiter over lines")
        << QByteArray("s = u8R\"x(\n)\" /* DEFINE_X(y)\n)x\"; DEFINE_ADJUST(b, d)")
        << QStringList { adjust };
    QTest::newRow("identifier ending in R")
        << QByteArray("s = FOOR\"(\" DEFINE_ADJUST(b, d) \")\"") << QStringList { adjust };
    QTest::newRow("unterminated raw string ends at line end")
        << QByteArray("s = R\"(never closed\nDEFINE_ADJUST(b, d)") << QStringList { adjust };
    QTest::newRow("digit separators")
        << QByteArray("n = 10'000; m = 0xFF'FF'F; DEFINE_ADJUST(b, d) x = 1.5'0;")
        << QStringList { adjust };
    QTest::newRow("apostrophe in directive ends at line end")
        << QByteArray("#error don't build this\nDEFINE_ADJUST(b, d)") << QStringList { adjust };

    // Bytes of the file.
    QTest::newRow("CR LF") << QByteArray(
        "// a \\\r\nDEFINE_X(y)\r\nDEFINE_PROFILE(a,\r\n t, i)\r\n")
                           << QStringList { "DEFINE_PROFILE(a,\n t, i)" };
    QTest::newRow("empty") << QByteArray() << QStringList {};
    // Not UTF-8, so GBK; a lead byte takes only a byte that can end a GBK character with it.
    QTest::newRow("stray GBK lead byte before a quote")
        << QByteArray("s = \"\xB1\"; DEFINE_ADJUST(b, d) t = \"\";") << QStringList { adjust };
}

void tst_UdfScanner::heads()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    QCOMPARE(scanUdfDefinitions(content), expected);
}

// Code without literals and line splices, where the compiler's view and the plain head pattern
// with comments removed must agree: random texts from the pieces the scanner reacts to.
void tst_UdfScanner::agreesWithTheHeadPatternOnPlainCode()
{
    static const char *const pieces[] = { "DEFINE_", "PROFILE", "_", "x", "7", " ", "\n", "\t", "(",
        ")", ",", "/", "*", "//", "/*", "*/" };
    const QRegularExpression comments(
        "//[^\\n]*|/\\*.*?\\*/", QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression head("\\bDEFINE_\\w+\\s*\\([^)]*\\)");
    QRandomGenerator random(20240607);
    for (int round = 0; round < 3000; ++round) {
        QByteArray text;
        const int length = random.bounded(1, 40);
        for (int i = 0; i < length; ++i)
            text += pieces[random.bounded(int(std::size(pieces)))];
        // Closes a comment left open, so that both readings end it at the same place.
        text += "\n*/";

        QStringList expected;
        const QString stripped = QString::fromUtf8(text).remove(comments);
        for (const QRegularExpressionMatch &match : head.globalMatch(stripped))
            expected << match.captured();
        QVERIFY2(scanUdfDefinitions(text) == expected, text.constData());
    }
}

// The same source as an editor on a Chinese Windows may save it. In GBK, 運, 誠 and 衆 end in 0x5C,
// a backslash: read byte by byte, the comment would run on over the next line, the first
// string over the head after it, and the second string would end before its DEFINE_X.
void tst_UdfScanner::encodings_data()
{
    QTest::addColumn<QByteArray>("content");
    const QString text = QString::fromUtf8("// 命運\r\n"
                                           "DEFINE_PROFILE(inlet_velocity, thread, position)\r\n"
                                           "s = \"真誠\"; DEFINE_ADJUST(b, d) t = \"\";\r\n"
                                           "s = \"大衆\\\" DEFINE_X(y) \";\r\n"
                                           "DEFINE_ON_DEMAND(显示)\r\n");
    const auto withBom = QStringEncoder::Flag::WriteBom;
    QTest::newRow("UTF-8") << text.toUtf8();
    QTest::newRow("UTF-8 with byte-order mark")
        << QByteArray(QStringEncoder("UTF-8", withBom)(text));
    QTest::newRow("GBK") << QByteArray(QStringEncoder("GBK")(text));
    QTest::newRow("UTF-16 LE") << QByteArray(QStringEncoder("UTF-16LE", withBom)(text));
    QTest::newRow("UTF-16 BE") << QByteArray(QStringEncoder("UTF-16BE", withBom)(text));
}

void tst_UdfScanner::encodings()
{
    QFETCH(QByteArray, content);
    const QString path = tempDir->path() + "/源 文件.c";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    CKestrune engine;
    const QStringList expected { "DEFINE_PROFILE(inlet_velocity, thread, position)",
        "DEFINE_ADJUST(b, d)", QString::fromUtf8("DEFINE_ON_DEMAND(显示)") };
    QCOMPARE(engine.findUdfDefinitions(path), expected);
}

void tst_UdfScanner::unreadableSource_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("missing") << "missing.c";
    QTest::newRow("folder") << "folder.c";
}

void tst_UdfScanner::unreadableSource()
{
    QFETCH(QString, relativePath);
    QVERIFY(QDir(tempDir->path()).mkdir("folder.c"));
    QTest::ignoreMessage(QtDebugMsg, "Failed to open input file.");
    CKestrune engine;
    // An unreadable source defines nothing; a list holding an empty head would put a broken row
    // into the table.
    QCOMPARE(engine.findUdfDefinitions(tempDir->path() + "/" + relativePath), QStringList());
}

QTEST_GUILESS_MAIN(tst_UdfScanner)
#include "tst_udfscanner.moc"
