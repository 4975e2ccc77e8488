#include "commentstripper.h"

#include "scannerbytes.h"

#include <cstring>

using namespace scannerbytes;

void CommentStripper::run()
{
    while (p < end) {
        copyPlainRun();
        if (p == end)
            break;
        switch (*p) {
        case '\r':
            if (p + 1 < end && p[1] == '\n')
                ++p;
            else
                *out++ = *p++;
            break;
        case '/':
            if (p + 1 < end && p[1] == '/')
                skipLineComment();
            else if (p + 1 < end && p[1] == '*')
                skipBlockComment();
            else
                *out++ = *p++;
            break;
        case '"':
            if (opensRawString())
                copyRawString();
            else
                copyQuoted('"');
            break;
        default: // '\''
            if (isDigitSeparator()) {
                lastSeparator = p;
                *out++ = *p++;
            } else {
                copyQuoted('\'');
            }
            break;
        }
    }
    text.resize(out - text.data());
}

void CommentStripper::copyPlainRun()
{
    const char *q = p;
    while (q < end && !codeStopBytes[static_cast<unsigned char>(*q)])
        ++q;
    std::memcpy(out, p, q - p);
    out += q - p;
    p = q;
}

// A line comment runs to the end of its line, and on over every line that a trailing backslash
// splices to it; the line feed that ends it stays in the text.
void CommentStripper::skipLineComment()
{
    const char *lineStart = p + 2;
    for (;;) {
        const char *lineFeed
            = static_cast<const char *>(std::memchr(lineStart, '\n', end - lineStart));
        if (!lineFeed) {
            p = end;
            return;
        }
        const char *lineEnd = lineFeed;
        if (lineEnd > lineStart && lineEnd[-1] == '\r')
            --lineEnd;
        if (lineEnd > lineStart && lineEnd[-1] == '\\') {
            lineStart = lineFeed + 1;
            continue;
        }
        p = lineEnd;
        return;
    }
}

// A block comment is removed whole, whatever lines it spans; an unclosed one runs to the end.
void CommentStripper::skipBlockComment()
{
    const char *q = p + 2;
    for (;;) {
        const char *star = static_cast<const char *>(std::memchr(q, '*', end - q));
        if (!star || star + 1 >= end) {
            p = end;
            return;
        }
        if (star[1] == '/') {
            p = star + 2;
            return;
        }
        q = star + 1;
    }
}

// An unterminated literal ends at the end of its line, as the compiler gives up on it there; a
// backslash before a line end continues the literal on the next line.
void CommentStripper::copyQuoted(char quote)
{
    const qsizetype begin = out - text.data();
    *out++ = *p++;
    while (p < end) {
        const char c = *p;
        if (c == quote) {
            *out++ = *p++;
            break;
        }
        if (isLineEnd(p, end))
            break;
        if (c == '\\' && p + 1 < end) {
            *out++ = *p++;
            if (p + 1 < end && p[0] == '\r' && p[1] == '\n')
                ++p;
        }
        *out++ = *p++;
    }
    literals.push_back({ begin, out - text.data() });
}

// R"delim(...)delim" with any of the prefixes R, LR, uR, UR, u8R.
bool CommentStripper::opensRawString() const
{
    const char *s = p;
    while (s > start && p - s < 4 && isWord(s[-1]))
        --s;
    if (s > start && isWord(s[-1]))
        return false;
    const QByteArrayView prefix(s, p - s);
    return prefix == "R" || prefix == "LR" || prefix == "uR" || prefix == "UR" || prefix == "u8R";
}

void CommentStripper::copyRawString()
{
    const char *delimiter = p + 1;
    const char *q = delimiter;
    static constexpr auto delimiterStops = byteTable(" ()\\\t\v\f\r\n\"");
    while (q < end && q - delimiter <= 16 && !delimiterStops[static_cast<unsigned char>(*q)])
        ++q;
    if (q == end || *q != '(' || q - delimiter > 16) {
        copyQuoted('"');
        return;
    }
    const qsizetype delimiterSize = q - delimiter;
    const char *close = nullptr;
    for (const char *r = q + 1; r < end; ++r) {
        r = static_cast<const char *>(std::memchr(r, ')', end - r));
        if (!r)
            break;
        if (end - r > delimiterSize + 1 && std::memcmp(r + 1, delimiter, delimiterSize) == 0
            && r[1 + delimiterSize] == '"') {
            close = r + delimiterSize + 2;
            break;
        }
    }
    if (!close)
        close = endOfLine(q);
    const qsizetype begin = out - text.data();
    copyNormalisingLineEnds(p, close);
    literals.push_back({ begin, out - text.data() });
    p = close;
}

// A quote inside a number (1'000, 0xFF'FF) separates digits; anywhere else it opens a character
// literal, also after the prefixes L, u, U and u8.
bool CommentStripper::isDigitSeparator() const
{
    const char *s = p;
    while (s > start && (isWord(s[-1]) || s[-1] == '.'))
        --s;
    if (s > start && s - 1 == lastSeparator)
        return true;
    if (s == p)
        return false;
    return isDigit(*s) || (*s == '.' && s + 1 < p && isDigit(s[1]));
}

const char *CommentStripper::endOfLine(const char *from) const
{
    const char *lineFeed = static_cast<const char *>(std::memchr(from, '\n', end - from));
    if (!lineFeed)
        return end;
    return lineFeed > from && lineFeed[-1] == '\r' ? lineFeed - 1 : lineFeed;
}

void CommentStripper::copyNormalisingLineEnds(const char *from, const char *to)
{
    for (; from < to; ++from) {
        if (*from == '\r' && from + 1 < to && from[1] == '\n')
            continue;
        *out++ = *from;
    }
}
