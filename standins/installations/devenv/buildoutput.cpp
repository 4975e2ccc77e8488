#include "buildoutput.h"

#include "clangdiagnostics.h"

#include <QFileInfo>
#include <QStringEncoder>
#include <cstdio>

namespace {

struct OutputState {
    BuildOutput::Style style = BuildOutput::Style::Devenv;
    bool quiet = false;
    QStringList errors;
    QStringList warnings;
};

OutputState &state()
{
    static OutputState instance;
    return instance;
}

QByteArray encoded(const QString &text)
{
    if (state().style == BuildOutput::Style::Devenv)
        return text.toUtf8();
    QStringEncoder encoder("GB18030");
    return encoder.isValid() ? QByteArray(encoder(text)) : text.toUtf8();
}

} // namespace

BuildOutput::BuildOutput(int number, const QString &projectPath)
    : number(number), projectPath(projectPath), projectFileName(QFileInfo(projectPath).fileName())
{
}

void BuildOutput::setStyle(Style style, bool quiet)
{
    state().style = style;
    state().quiet = quiet;
}

BuildOutput::Style BuildOutput::style()
{
    return state().style;
}

QStringList BuildOutput::printedErrors()
{
    return state().errors;
}

QStringList BuildOutput::printedWarnings()
{
    return state().warnings;
}

void BuildOutput::plain(const QString &text)
{
    const QByteArray bytes = encoded(text) + '\n';
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    fflush(stdout);
}

void BuildOutput::toolError(const QString &message)
{
    if (state().style == Style::Devenv) {
        plain(QStringLiteral("error : ") + message);
        return;
    }
    const QString text = QStringLiteral("MSBUILD : error : ") + message;
    state().errors << text;
    plain(text);
}

void BuildOutput::line(const QString &text) const
{
    if (state().style == Style::Devenv)
        plain(QString::number(number) + QLatin1Char('>') + text);
    else if (!state().quiet)
        plain(QStringLiteral("  ") + text);
}

void BuildOutput::heading(const QString &text) const
{
    if (state().style == Style::Devenv)
        line(text);
}

// MSBuild shows what cl prints: its diagnostics, not the source lines and carets clang adds.
void BuildOutput::lines(const QString &text) const
{
    for (QString each : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (each.endsWith(QLatin1Char('\r')))
            each.chop(1);
        ClangDiagnostic found;
        if (state().style == Style::Devenv)
            line(each);
        else if (readClangDiagnostic(each, found) && found.category == QLatin1String("note"))
            line(each);
        else if (!found.category.isEmpty())
            diagnostic(found.location, found.category, found.code, found.text);
    }
}

void BuildOutput::error(const QString &code, const QString &message) const
{
    if (state().style == Style::Devenv) {
        line(QStringLiteral("%1 : error %2: %3").arg(projectFileName, code, message));
        return;
    }
    // The linker names itself; its LNK1xxx errors end the link and are fatal.
    const bool linker = code.startsWith(QLatin1String("LNK"));
    const bool fatal = linker && code.startsWith(QLatin1String("LNK1"));
    diagnostic(linker ? QStringLiteral("LINK ") : projectPath + QLatin1Char(' '),
        fatal ? QStringLiteral("fatal error") : QStringLiteral("error"), code, message);
}

void BuildOutput::warning(const QString &code, const QString &message) const
{
    if (state().style == Style::Devenv) {
        line(QStringLiteral("%1 : warning %2: %3").arg(projectFileName, code, message));
        return;
    }
    diagnostic(projectPath + QLatin1Char(' '), QStringLiteral("warning"), code, message);
}

void BuildOutput::diagnostic(const QString &origin, const QString &category, const QString &code,
    const QString &message) const
{
    const QString text
        = QStringLiteral("%1: %2%3: %4 [%5]")
              .arg(origin, category, code.isEmpty() ? QString() : QLatin1Char(' ') + code, message,
                  projectPath);
    (category == QLatin1String("warning") ? state().warnings : state().errors) << text;
    plain(text);
}
