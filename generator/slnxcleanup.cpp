#include "solutioncleanup.h"

#include "crlftextfile.h"
#include "kestrunelog.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace {

// One element of the solution as written in the text: from its start tag through its end tag, or
// the start tag alone when it closes itself.
struct Element {
    QString name;
    QString startTag;
    qsizetype begin = 0;
    qsizetype end = 0;
};

// The elements that the clean-up looks at. A .slnx holds no comments or CDATA that could hide a
// tag, and none of these elements nests in one of its own kind.
QList<Element> solutionElements(const QString &text)
{
    static const QRegularExpression tag(
        QStringLiteral("<(/?)(Project|Folder|BuildDependency)\\b[^>]*?(/?)>"));
    QList<Element> elements;
    QList<Element> open;
    for (auto it = tag.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const bool closing = !match.captured(1).isEmpty();
        const bool selfClosing = !match.captured(3).isEmpty();
        if (closing) {
            if (!open.isEmpty() && open.constLast().name == match.captured(2)) {
                Element element = open.takeLast();
                element.end = match.capturedEnd();
                elements.append(element);
            }
            continue;
        }
        Element element { match.captured(2), match.captured(0), match.capturedStart(),
            match.capturedEnd() };
        if (selfClosing)
            elements.append(element);
        else
            open.append(element);
    }
    return elements;
}

QString attribute(const QString &startTag, const QString &name)
{
    const QRegularExpression value(
        QStringLiteral("\\b%1\\s*=\\s*\"([^\"]*)\"").arg(QRegularExpression::escape(name)));
    QString path = value.match(startTag).captured(1);
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

bool isUtilityProject(const QString &path)
{
    const QString fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    return fileName == QLatin1String("ALL_BUILD.vcxproj")
        || fileName == QLatin1String("ZERO_CHECK.vcxproj");
}

bool contains(const Element &outer, const Element &inner)
{
    return outer.begin <= inner.begin && inner.end <= outer.end;
}

// The spans to cut: the utility projects, the predefined-targets folder with whatever it holds,
// and every dependency on a project so removed.
QList<Element> elementsToRemove(const QList<Element> &elements)
{
    QList<Element> removed;
    QList<Element> folders;
    for (const Element &element : elements) {
        if (element.name == QLatin1String("Folder")
            && attribute(element.startTag, QStringLiteral("Name"))
                == QLatin1String("/CMakePredefinedTargets/"))
            folders.append(element);
    }
    QSet<QString> removedProjects;
    for (const Element &element : elements) {
        if (element.name != QLatin1String("Project"))
            continue;
        const QString path = attribute(element.startTag, QStringLiteral("Path"));
        const bool inFolder = std::any_of(folders.cbegin(), folders.cend(),
            [&element](const Element &folder) { return contains(folder, element); });
        if (inFolder || isUtilityProject(path)) {
            removedProjects.insert(path);
            removed.append(element);
        }
    }
    removed += folders;
    for (const Element &element : elements) {
        if (element.name == QLatin1String("BuildDependency")
            && removedProjects.contains(attribute(element.startTag, QStringLiteral("Project"))))
            removed.append(element);
    }
    return removed;
}

// An element alone on its lines goes with its indentation and line end, so no blank line is left.
void widenToWholeLines(const QString &text, Element &element)
{
    qsizetype lineStart = element.begin;
    while (lineStart > 0
        && (text.at(lineStart - 1) == QLatin1Char(' ')
            || text.at(lineStart - 1) == QLatin1Char('\t')))
        --lineStart;
    if (lineStart > 0 && text.at(lineStart - 1) != QLatin1Char('\n'))
        return;
    qsizetype lineEnd = element.end;
    while (lineEnd < text.size()
        && (text.at(lineEnd) == QLatin1Char(' ') || text.at(lineEnd) == QLatin1Char('\t')
            || text.at(lineEnd) == QLatin1Char('\r')))
        ++lineEnd;
    if (lineEnd < text.size() && text.at(lineEnd) != QLatin1Char('\n'))
        return;
    element.begin = lineStart;
    element.end = qMin(lineEnd + 1, text.size());
}

QString withoutElements(const QString &text, QList<Element> removed)
{
    for (Element &element : removed)
        widenToWholeLines(text, element);
    std::sort(removed.begin(), removed.end(),
        [](const Element &a, const Element &b) { return a.begin < b.begin; });
    QString kept;
    qsizetype from = 0;
    for (const Element &element : removed) {
        if (element.begin >= from)
            kept += QStringView(text).mid(from, element.begin - from);
        from = qMax(from, element.end);
    }
    kept += QStringView(text).mid(from);
    return kept;
}

} // namespace

void SolutionCleanup::cleanSlnx(const QString &slnxPath, Result &result)
{
    QFile file(slnxPath);
    if (!file.open(QIODevice::ReadOnly)) {
        qCDebug(lcKestrune) << "Could not open file for reading:" << slnxPath;
        result.failures.append({ slnxPath, file.errorString() });
        return;
    }
    const QString text = QString::fromUtf8(file.readAll());
    file.close();
    const QList<Element> removed = elementsToRemove(solutionElements(text));
    if (removed.isEmpty())
        return;
    // Written whole or not at all: a solution half written would be worse than one not cleaned.
    CrlfTextFile cleaned(slnxPath);
    if (cleaned.openForWriting())
        cleaned.writeBytes(withoutElements(text, removed).toUtf8());
    if (!cleaned.commit()) {
        qCDebug(lcKestrune) << "Could not open file for writing:" << slnxPath;
        result.failures.append(cleaned.result());
        return;
    }
    result.rewrittenFiles.append(slnxPath);
}
