#ifndef CODEPAGE_H
#define CODEPAGE_H

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>

// The console code page in which cmd reads batch files and writes what it prints: 936 (GBK) on a
// Chinese Windows, 65001 for UTF-8. KESTRUNE_CMD_CODEPAGE names it for the stand-in.
class ConsoleCodePage {
public:
    static constexpr int chineseWindows = 936;

    // The code page named in the environment, or 936; invalid() when it names none known here.
    static ConsoleCodePage fromEnvironment(const QProcessEnvironment &environment);
    explicit ConsoleCodePage(int number);

    bool isValid() const { return !codecName.isEmpty(); }
    int number() const { return pageNumber; }
    QString decode(const QByteArray &bytes) const;
    QByteArray encode(const QString &text) const;

private:
    int pageNumber = 0;
    QByteArray codecName;
};

#endif // CODEPAGE_H
