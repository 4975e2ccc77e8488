#include "clangdiagnostics.h"

#include <QRegularExpression>

namespace {

struct CodeRow {
    const char *pattern; // the start of clang's text, or a phrase in it
    const char *code;
};

// The faults a UDF author meets most, by clang's wording (LLVM 14).
const CodeRow errorCodes[] = {
    { "use of undeclared identifier", "C2065" },
    { "file not found", "C1083" },
    { "expected ';'", "C2143" },
    { "expected expression", "C2059" },
    { "unknown type name", "C2061" },
    { "no member named", "C2039" },
    { "redefinition of", "C2084" },
    { "too few arguments to function call", "C2198" },
    { "too many arguments to function call", "C2197" },
    { "conflicting types for", "C2371" },
    { "called object type", "C2064" },
};

const CodeRow warningCodes[] = {
    { "implicit declaration of function", "C4013" },
    { "unused variable", "C4101" },
    { "is uninitialized when used here", "C4700" },
    { "implicit conversion loses", "C4244" },
    { "incompatible pointer types", "C4133" },
    { "incompatible integer to pointer conversion", "C4047" },
    { "incompatible pointer to integer conversion", "C4047" },
};

QString codeFrom(const CodeRow *rows, size_t count, const QString &text)
{
    for (size_t i = 0; i < count; ++i) {
        if (text.contains(QLatin1String(rows[i].pattern)))
            return QLatin1String(rows[i].code);
    }
    return QString();
}

} // namespace

QString msvcCode(const QString &category, const QString &text)
{
    if (category == QLatin1String("note"))
        return QString();
    if (category == QLatin1String("warning")) {
        const QString code = codeFrom(warningCodes, std::size(warningCodes), text);
        return code.isEmpty() ? QStringLiteral("C4000") : code;
    }
    const QString code = codeFrom(errorCodes, std::size(errorCodes), text);
    if (!code.isEmpty())
        return code;
    return category == QLatin1String("fatal error") ? QStringLiteral("C1001")
                                                    : QStringLiteral("C2000");
}

bool readClangDiagnostic(const QString &line, ClangDiagnostic &out)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^(?<location>.+\\(\\d+(?:,\\d+)?\\)) ?: (?<category>fatal error|error|warning|note): "
        "(?<text>.*)$"));
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch())
        return false;
    out.location = match.captured(u"location");
    out.category = match.captured(u"category");
    out.text = match.captured(u"text");
    out.code = msvcCode(out.category, out.text);
    return true;
}
