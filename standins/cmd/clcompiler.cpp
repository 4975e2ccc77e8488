#include "clcompiler.h"

#include "windowspaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

// An absolute POSIX path starts with "/" like a cl option: it is an input when it names a file,
// or a C or C++ source in an existing folder (so that a missing source is reported by the
// compiler, as cl does).
static bool isInput(const QString &argument)
{
    if (!argument.startsWith(QLatin1Char('/')) && !argument.startsWith(QLatin1Char('-')))
        return true;
    if (argument.startsWith(QLatin1Char('-')))
        return false;
    const QFileInfo info(argument);
    if (info.isFile())
        return true;
    const bool source = argument.endsWith(QLatin1String(".c"), Qt::CaseInsensitive)
        || argument.endsWith(QLatin1String(".cpp"), Qt::CaseInsensitive);
    return source && info.dir().exists();
}

bool clangClArguments(const QStringList &clArguments, QStringList &arguments, QString &error)
{
    QStringList options { QStringLiteral("--target=x86_64-pc-windows-msvc") };
    QStringList inputs;
    for (const QString &argument : clArguments) {
        if (argument.startsWith(QLatin1Char('@'))) {
            error = QStringLiteral("unsupported response file %1 for cl").arg(argument);
            return false;
        }
        if (isInput(argument))
            inputs << argument;
        else
            options << argument;
    }
    arguments = options;
    if (!inputs.isEmpty())
        arguments << QStringLiteral("--") << inputs;
    return true;
}

// A batch file may have put Windows folders in front of the host's PATH ("set PATH=X;%PATH%"):
// either separator ends an entry.
static QString findClangCl(const QProcessEnvironment &environment)
{
    const QStringList path
        = environment.value(QStringLiteral("PATH"))
              .split(QRegularExpression(QStringLiteral("[:;]")), Qt::SkipEmptyParts);
    for (const QString &name : { QStringLiteral("clang-cl"), QStringLiteral("clang-cl-14") }) {
        const QString found = QStandardPaths::findExecutable(name, path);
        if (!found.isEmpty())
            return found;
    }
    const QString fallback = QStringLiteral("/usr/lib/llvm-14/bin/clang-cl");
    return QFileInfo(fallback).isExecutable() ? fallback : QString();
}

bool appendClLog(
    const QStringList &clArguments, const QProcessEnvironment &environment, QString &error)
{
    const QString logPath = environment.value(QStringLiteral("KESTRUNE_CL_LOG"));
    if (logPath.isEmpty())
        return true;
    QFile log(logPath);
    QByteArray entry = "cl " + QByteArray::number(clArguments.size()) + '\n';
    for (const QString &argument : clArguments)
        entry += argument.toUtf8() + '\n';
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append) || log.write(entry) != entry.size()) {
        error
            = QStringLiteral("cannot append to the cl log %1: %2").arg(logPath, log.errorString());
        return false;
    }
    return true;
}

int runClWithClangCl(
    const QStringList &clArguments, const QProcessEnvironment &environment, QString &error)
{
    if (!appendClLog(clArguments, environment, error))
        return -1;
    QStringList arguments;
    if (!clangClArguments(hostArguments(clArguments), arguments, error))
        return -1;
    const QString clangCl = findClangCl(environment);
    if (clangCl.isEmpty()) {
        error = QStringLiteral("cannot run cl: no clang-cl found (install clang-14)");
        return -1;
    }
    QProcess compiler;
    compiler.setProcessEnvironment(environment);
    compiler.setProcessChannelMode(QProcess::ForwardedChannels);
    compiler.start(clangCl, arguments);
    if (!compiler.waitForStarted(-1) || !compiler.waitForFinished(-1)) {
        error = QStringLiteral("cannot run cl: %1: %2").arg(clangCl, compiler.errorString());
        return -1;
    }
    // cl ends with 2 when a source does not compile (clang-cl with 1); a crashed compiler is such
    // a failure too.
    if (compiler.exitStatus() != QProcess::NormalExit || compiler.exitCode() == 1)
        return 2;
    return compiler.exitCode();
}
