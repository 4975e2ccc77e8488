// The host side of the cl.exe stand-in that runs under Wine: Wine's cmd.exe starts only Windows
// programs, so that cl.exe hands its command line here, to compile with clang-cl on the host.
//
// Usage: clhost <status file> x<command line as hexadecimal UTF-16>
// The status goes into the status file as well as the exit status, because Wine cannot wait for a
// host program it started: cl.exe waits for the file instead.
#include "clcompiler.h"
#include "crtarguments.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>

// The text after cl's program name, four hexadecimal digits per UTF-16 unit after an "x".
static bool decodeCommandLine(const QString &hex, QString &commandLine)
{
    if (!hex.startsWith(QLatin1Char('x')) || hex.size() % 4 != 1)
        return false;
    for (int at = 1; at < hex.size(); at += 4) {
        bool isNumber = false;
        const ushort unit = hex.mid(at, 4).toUShort(&isNumber, 16);
        if (!isNumber)
            return false;
        commandLine += QChar(unit);
    }
    return true;
}

// Written aside and renamed into place, so that cl.exe never reads half a status.
static void writeStatus(const QString &path, int status)
{
    const QString part = path + QStringLiteral(".part");
    QFile file(part);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QByteArray::number(status) + '\n');
    file.close();
    QFile::remove(path);
    QFile::rename(part, path);
}

static int compile(const QString &hex)
{
    QString commandLine;
    if (!decodeCommandLine(hex, commandLine)) {
        fputs("clhost: the command line from cl.exe is not hexadecimal UTF-16\n", stderr);
        return 2;
    }
    QString error;
    const int status = runClWithClangCl(
        splitCrtArguments(commandLine), QProcessEnvironment::systemEnvironment(), error);
    if (status < 0) {
        fprintf(stderr, "clhost: %s\n", qPrintable(error));
        return 2;
    }
    return status;
}

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() != 2) {
        fputs("usage: clhost <status file> x<command line as hexadecimal UTF-16>\n", stderr);
        return 2;
    }
    const int status = compile(arguments.at(1));
    writeStatus(arguments.at(0), status);
    return status;
}
