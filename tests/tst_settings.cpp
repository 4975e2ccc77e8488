#include "windowfixture.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QtTest>

class tst_Settings : public QObject {
    Q_OBJECT

private slots:
    void loadShowsStoredPathsWithBackslashes();
    void typingStoresForwardSlashesAndKeepsOtherMembers();
    void writtenFormIsExact();
    void missingFolderKeepsDefaults();
    void missingFileIsCreatedWithTheChangedKey();
    void invalidContent_data();
    void invalidContent();

private:
    static QByteArray contentOf(const QString &path);
    static void write(const QString &path, const QByteArray &content);
    QString field(WindowFixture &fixture, const char *name)
    {
        return fixture.child<QLineEdit>(name)->text();
    }
};

QByteArray tst_Settings::contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void tst_Settings::write(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void tst_Settings::loadShowsStoredPathsWithBackslashes()
{
    WindowFixture fixture;
    write(fixture.settingsPath(),
        R"({"pathFluent": "C:/Fluent/v192", "pathEdem": "D:\\EDEM", "pathVs": "C:/VS/2019"})");
    fixture.open();
    QCOMPARE(field(fixture, "editPathFluent"), QStringLiteral("C:\\Fluent\\v192"));
    QCOMPARE(field(fixture, "editPathEdem"), QStringLiteral("D:\\EDEM"));
    QCOMPARE(field(fixture, "editPathVS"), QStringLiteral("C:\\VS\\2019"));
    QVERIFY(!fixture.child<QLineEdit>("editPathEdem")->isEnabled());
    // Loading changed the fields, so each stored its value again, with forward slashes.
    const QJsonObject stored = QJsonDocument::fromJson(contentOf(fixture.settingsPath())).object();
    QCOMPARE(stored.value("pathEdem").toString(), QStringLiteral("D:/EDEM"));
}

void tst_Settings::typingStoresForwardSlashesAndKeepsOtherMembers()
{
    WindowFixture fixture;
    write(fixture.settingsPath(),
        R"({"pathFluent": "C:/F", "pathEdem": "C:/E", "pathVs": "C:/V", "theme": 3})");
    fixture.open();
    auto *vs = fixture.child<QLineEdit>("editPathVS");
    vs->setFocus();
    QTest::keyClicks(vs, "\\x");
    const QJsonObject stored = QJsonDocument::fromJson(contentOf(fixture.settingsPath())).object();
    QCOMPARE(stored.value("pathVs").toString(), QStringLiteral("C:/V/x"));
    QCOMPARE(stored.value("pathFluent").toString(), QStringLiteral("C:/F"));
    QCOMPARE(stored.value("pathEdem").toString(), QStringLiteral("C:/E"));
    QCOMPARE(stored.value("theme").toInt(), 3);
}

void tst_Settings::writtenFormIsExact()
{
    WindowFixture fixture;
    write(fixture.settingsPath(), R"({"pathVs": "C:/VS", "pathFluent": "C:/流体"})");
    fixture.open();
    // The missing key was emptied at start and is now stored too; keys sorted, four-blank indent,
    // LF line ends, raw UTF-8.
    QCOMPARE(contentOf(fixture.settingsPath()),
        QByteArray("{\n"
                   "    \"pathEdem\": \"\",\n"
                   "    \"pathFluent\": \"C:/流体\",\n"
                   "    \"pathVs\": \"C:/VS\"\n"
                   "}\n"));
    QCOMPARE(field(fixture, "editPathEdem"), QString());
}

void tst_Settings::missingFolderKeepsDefaults()
{
    WindowFixture fixture;
    fixture.open();
    QCOMPARE(field(fixture, "editPathFluent"),
        QStringLiteral("C:\\Program Files\\ANSYS Inc\\v192\\fluent"));
    fixture.child<QLineEdit>("editPathFluent")->setText("D:\\elsewhere");
    QVERIFY(!QFileInfo::exists(fixture.root() + "/ini"));
}

void tst_Settings::missingFileIsCreatedWithTheChangedKey()
{
    WindowFixture fixture;
    QVERIFY(QDir(fixture.root()).mkpath("ini"));
    fixture.open();
    QCOMPARE(field(fixture, "editPathVS"),
        QStringLiteral("C:\\Program Files (x86)\\Microsoft Visual Studio\\2019\\Community"));
    QVERIFY(!QFileInfo::exists(fixture.settingsPath()));
    fixture.child<QLineEdit>("editPathFluent")->setText("E:\\ANSYS\\fluent");
    QCOMPARE(contentOf(fixture.settingsPath()),
        QByteArray("{\n    \"pathFluent\": \"E:/ANSYS/fluent\"\n}\n"));
}

void tst_Settings::invalidContent_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("backupKept");
    QTest::newRow("hand-edited text") << QByteArray("pathFluent = C:/F\n") << true;
    QTest::newRow("array") << QByteArray("[\"C:/F\"]") << true;
    QTest::newRow("broken object") << QByteArray("{\"pathFluent\": \"C:/F\",") << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("blank lines") << QByteArray("\n\n") << false;
}

void tst_Settings::invalidContent()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, backupKept);
    WindowFixture fixture;
    write(fixture.settingsPath(), content);
    fixture.open();
    QCOMPARE(field(fixture, "editPathFluent"), QString());
    QCOMPARE(field(fixture, "editPathVS"), QString());
    const QJsonObject stored = QJsonDocument::fromJson(contentOf(fixture.settingsPath())).object();
    QCOMPARE(stored.keys(), QStringList({ "pathEdem", "pathFluent", "pathVs" }));
    const QString backup = fixture.settingsPath() + ".bak";
    QCOMPARE(QFileInfo::exists(backup), backupKept);
    if (backupKept)
        QCOMPARE(contentOf(backup), content);
}

QTEST_MAIN(tst_Settings)
#include "tst_settings.moc"
