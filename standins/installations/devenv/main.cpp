// A stand-in for Visual Studio's devenv.exe: records each start in "devenv.log" beside the program
// (one line per start, the arguments joined by tabs), so that tests can see how it was started.
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    QFile log(QCoreApplication::applicationDirPath() + QStringLiteral("/devenv.log"));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        fprintf(stderr, "devenv stand-in: cannot open %s: %s\n", qPrintable(log.fileName()),
            qPrintable(log.errorString()));
        return 1;
    }
    const QByteArray line = arguments.join(QLatin1Char('\t')).toUtf8() + '\n';
    if (log.write(line) != line.size() || !log.flush()) {
        fprintf(stderr, "devenv stand-in: cannot write %s: %s\n", qPrintable(log.fileName()),
            qPrintable(log.errorString()));
        return 1;
    }
    return 0;
}
