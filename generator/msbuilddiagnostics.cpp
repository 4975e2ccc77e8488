#include "msbuilddiagnostics.h"

#include <QRegularExpression>
#include <QSet>

namespace {

// MSBuild's canonical error format. The origin may hold a drive letter but no other colon; it ends
// in an optional position of numbers, commas and hyphens. A parallel build starts each line with
// the project's number ("2>").
const QRegularExpression &canonicalLine()
{
    static const QRegularExpression pattern(QStringLiteral(
        "^(?:\\d+>)?\\s*"
        "(?:(?<origin>(?:[A-Za-z]:)?[^:]*?)\\s*(?:\\((?<position>[0-9,\\-]+)\\))?\\s*:\\s*)?"
        "(?:(?<subcategory>[^:]*?)\\s+)??"
        "(?<category>fatal error|error|warning)"
        "(?:\\s+(?<code>[A-Za-z]+\\d+))?"
        "\\s*:(?<text>.*)$"));
    return pattern;
}

// The project MSBuild appends in brackets; a bracket of the text itself, such as clang's
// "[-Wunused-variable]", names no project file.
const QRegularExpression &projectSuffix()
{
    static const QRegularExpression pattern(QStringLiteral(
        "^(?<text>.*?)\\s*\\[(?<project>[^\\[\\]]+\\.(?:[A-Za-z]*proj|slnx?|metaproj))\\]\\s*$"));
    return pattern;
}

// A tool names itself in one word ("LINK", "lld-link"); anything with a folder or an extension
// is a file.
bool isToolName(const QString &origin)
{
    static const QRegularExpression word(QStringLiteral("^[A-Za-z][A-Za-z0-9_\\-]*$"));
    return word.match(origin).hasMatch();
}

QString baseNameOfProject(const QString &project)
{
    const qsizetype slash
        = qMax(project.lastIndexOf(QLatin1Char('/')), project.lastIndexOf(QLatin1Char('\\')));
    const QString name = project.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

void readPosition(const QString &position, BuildDiagnostic &out)
{
    // "(12-14)" spans lines; its first number is where the message starts.
    const QStringList parts = position.split(QLatin1Char(','));
    out.line = parts.value(0).section(QLatin1Char('-'), 0, 0).toInt();
    if (parts.size() > 1)
        out.column = parts.at(1).section(QLatin1Char('-'), 0, 0).toInt();
}

QString withoutNumberAndIndent(const QString &line)
{
    static const QRegularExpression prefix(QStringLiteral("^\\s*(?:\\d+>)?\\s*"));
    QString printed = line;
    printed.remove(prefix);
    while (printed.endsWith(QLatin1Char('\r')) || printed.endsWith(QLatin1Char(' ')))
        printed.chop(1);
    return printed;
}

} // namespace

bool MSBuildDiagnostics::parseLine(const QString &line, BuildDiagnostic &out)
{
    const QString printed = withoutNumberAndIndent(line);
    const QRegularExpressionMatch match = canonicalLine().match(printed);
    if (!match.hasMatch())
        return false;
    const QString origin = match.captured(u"origin").trimmed();
    const bool hasOrigin = match.capturedStart(u"origin") >= 0;
    const bool hasSubcategory = match.capturedStart(u"subcategory") >= 0;
    // Without an origin the category must open the line: "x = error: 3" in a source line quoted by
    // a compiler is none. A subcategory ("Command line") comes only after an origin.
    if ((hasOrigin && origin.isEmpty()) || (!hasOrigin && hasSubcategory))
        return false;
    BuildDiagnostic diagnostic;
    diagnostic.severity = match.captured(u"category") == QLatin1String("warning")
        ? BuildDiagnostic::Severity::Warning
        : BuildDiagnostic::Severity::Error;
    const QString position = match.captured(u"position");
    if (position.isEmpty() && isToolName(origin))
        diagnostic.tool = origin;
    else
        diagnostic.file = origin;
    readPosition(position, diagnostic);
    diagnostic.code = match.captured(u"code");
    diagnostic.text = match.captured(u"text").trimmed();
    const QRegularExpressionMatch project = projectSuffix().match(diagnostic.text);
    if (project.hasMatch()) {
        diagnostic.text = project.captured(u"text");
        diagnostic.project = project.captured(u"project");
        diagnostic.variant = baseNameOfProject(diagnostic.project);
    }
    diagnostic.printedLine = printed;
    out = diagnostic;
    return true;
}

QList<BuildDiagnostic> MSBuildDiagnostics::parse(const QString &output)
{
    QList<BuildDiagnostic> diagnostics;
    QSet<QString> seen;
    for (const QStringView line : QStringView(output).split(QLatin1Char('\n'))) {
        BuildDiagnostic diagnostic;
        if (!parseLine(line.toString(), diagnostic))
            continue;
        if (seen.contains(diagnostic.printedLine))
            continue;
        seen.insert(diagnostic.printedLine);
        diagnostics << diagnostic;
    }
    return diagnostics;
}
