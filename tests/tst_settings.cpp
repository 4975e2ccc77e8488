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
    void writtenForm_data();
    void writtenForm();
    void missingFolderKeepsDefaults();
    void invalidContent_data();
    void invalidContent();

private:
    static QJsonObject stored(WindowFixture &fixture)
    {
        return QJsonDocument::fromJson(filetree::read(fixture.settingsPath())).object();
    }
    static QString field(WindowFixture &fixture, const char *name)
    {
        return fixture.child<QLineEdit>(name)->text();
    }
};

void tst_Settings::loadShowsStoredPathsWithBackslashes()
{
    WindowFixture fixture;
    QVERIFY(filetree::write(fixture.settingsPath(),
        R"({"pathFluent": "C:/Fluent/v192", "pathEdem": "D:\\EDEM", "pathVs": "C:/VS/2019"})"));
    fixture.open();
    QCOMPARE(field(fixture, "editPathFluent"), QStringLiteral("C:\\Fluent\\v192"));
    QCOMPARE(field(fixture, "editPathEdem"), QStringLiteral("D:\\EDEM"));
    QCOMPARE(field(fixture, "editPathVS"), QStringLiteral("C:\\VS\\2019"));
    // Loading changed the fields, so each stored its value again, with forward slashes.
    QCOMPARE(stored(fixture).value("pathEdem").toString(), QStringLiteral("D:/EDEM"));
}

void tst_Settings::typingStoresForwardSlashesAndKeepsOtherMembers()
{
    WindowFixture fixture;
    QVERIFY(filetree::write(fixture.settingsPath(),
        R"({"pathFluent": "C:/F", "pathEdem": "C:/E", "pathVs": "C:/V", "theme": 3})"));
    fixture.open();
    auto *vs = fixture.child<QLineEdit>("editPathVS");
    vs->setFocus();
    QTest::keyClicks(vs, "\\x");
    QCOMPARE(stored(fixture),
        QJsonObject({ { "pathVs", "C:/V/x" }, { "pathFluent", "C:/F" }, { "pathEdem", "C:/E" },
            { "theme", 3 } }));
}

void tst_Settings::writtenForm_data()
{
    QTest::addColumn<QByteArray>("content"); // null: the ini folder holds no settings file
    QTest::addColumn<QString>("typedFluent"); // null: nothing typed
    QTest::addColumn<QByteArray>("written");
    // Keys sorted, four-blank indent, LF line ends, raw UTF-8.
    QTest::newRow("a missing key is emptied at start and stored")
        << QByteArray(R"({"pathVs": "C:/VS", "pathFluent": "C:/流体"})") << QString()
        << QByteArray("{\n"
                      "    \"pathEdem\": \"\",\n"
                      "    \"pathFluent\": \"C:/流体\",\n"
                      "    \"pathVs\": \"C:/VS\"\n"
                      "}\n");
    QTest::newRow("a missing file is made with the changed key")
        << QByteArray() << "E:\\ANSYS\\fluent"
        << QByteArray("{\n    \"pathFluent\": \"E:/ANSYS/fluent\"\n}\n");
}

void tst_Settings::writtenForm()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, typedFluent);
    QFETCH(QByteArray, written);
    WindowFixture fixture;
    QVERIFY(QDir(fixture.root()).mkpath("ini"));
    if (!content.isNull())
        QVERIFY(filetree::write(fixture.settingsPath(), content));
    fixture.open();
    QCOMPARE(QFileInfo::exists(fixture.settingsPath()), !content.isNull());
    if (!typedFluent.isNull())
        fixture.child<QLineEdit>("editPathFluent")->setText(typedFluent);
    QCOMPARE(filetree::read(fixture.settingsPath()), written);
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

void tst_Settings::invalidContent_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("backupKept");
    QTest::newRow("hand-edited text") << QByteArray("pathFluent = C:/F\n") << true;
    QTest::newRow("array") << QByteArray("[\"C:/F\"]") << true;
    QTest::newRow("blank lines") << QByteArray("\n\n") << false;
}

void tst_Settings::invalidContent()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, backupKept);
    WindowFixture fixture;
    QVERIFY(filetree::write(fixture.settingsPath(), content));
    fixture.open();
    QCOMPARE(field(fixture, "editPathFluent"), QString());
    QCOMPARE(field(fixture, "editPathVS"), QString());
    QCOMPARE(stored(fixture).keys(), QStringList({ "pathEdem", "pathFluent", "pathVs" }));
    const QString backup = fixture.settingsPath() + ".bak";
    QCOMPARE(QFileInfo::exists(backup), backupKept);
    if (backupKept)
        QCOMPARE(filetree::read(backup), content);
}

QTEST_MAIN(tst_Settings)
#include "tst_settings.moc"
