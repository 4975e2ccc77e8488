#include "kestrune.h"

#include <QDebug>
#include <QFile>

#include <array>
#include <cstring>
#include <vector>

#include "sourceencoding.h"
#include "udfscanner.h"

// Every build and every save of a watched source scans all sources of the project, so the scanner
// works on the raw bytes in one pass: comments are dropped into a stripped buffer while the
// literals are noted, then the heads are picked out of that buffer. Only the head texts become
// QStrings.

namespace {

struct LiteralSpan {
    qsizetype begin;
    qsizetype end;
};

constexpr std::array<bool, 256> byteTable(const char *members)
{
    std::array<bool, 256> table {};
    for (const char *c = members; *c; ++c)
        table[static_cast<unsigned char>(*c)] = true;
    return table;
}

constexpr auto wordBytes
    = byteTable("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_");
// The bytes that can end a run of plain code: comment openers, literal openers and the CR of CR LF.
constexpr auto codeStopBytes = byteTable("/\"'\r");
// White space as the head pattern's \s knows it (ASCII only).
constexpr auto spaceBytes = byteTable(" \t\n\v\f\r");

inline bool isWord(char c)
{
    return wordBytes[static_cast<unsigned char>(c)];
}

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline bool isLineEnd(const char *p, const char *end)
{
    return *p == '\n' || (*p == '\r' && p + 1 < end && p[1] == '\n');
}

// Removes the comments of a C or C++ text, turns CR LF into LF and notes where the string and
// character literals of the result lie, so that neither a "//" nor a "DEFINE_" inside a literal is
// taken for code.
class CommentStripper {
public:
    CommentStripper(const char *data, qsizetype size) : start(data), p(data), end(data + size)
    {
        text.resize(size);
        out = text.data();
    }

    void run();

    QByteArray text;
    std::vector<LiteralSpan> literals;

private:
    void copyPlainRun();
    void skipLineComment();
    void skipBlockComment();
    void copyQuoted(char quote);
    void copyRawString();
    bool opensRawString() const;
    bool isDigitSeparator() const;
    const char *endOfLine(const char *from) const;
    void copyNormalisingLineEnds(const char *from, const char *to);

    const char *const start;
    const char *p;
    const char *const end;
    char *out = nullptr;
    // The last quote taken for a C++14 digit separator: a number such as 1'000'000 is recognised
    // from its first digit, not again at every separator.
    const char *lastSeparator = nullptr;
};

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

const char *findDefine(const char *from, const char *end)
{
    while (end - from >= 7) {
        const char *d = static_cast<const char *>(std::memchr(from, 'D', end - from - 6));
        if (!d)
            return nullptr;
        if (std::memcmp(d, "DEFINE_", 7) == 0)
            return d;
        from = d + 1;
    }
    return nullptr;
}

enum class HeadMatch { Found, NotHere, NoneLater };

// Matches DEFINE_\w+\s*\([^)]*\) at head; on success headEnd points past the ")".
HeadMatch matchHead(const char *head, const char *end, const char *&headEnd)
{
    const char *q = head + 7;
    const char *word = q;
    while (q < end && isWord(*q))
        ++q;
    if (q == word)
        return HeadMatch::NotHere;
    while (q < end && spaceBytes[static_cast<unsigned char>(*q)])
        ++q;
    if (q == end || *q != '(')
        return HeadMatch::NotHere;
    const char *close = static_cast<const char *>(std::memchr(q, ')', end - q));
    // Without a ")" after this one no later head can close either.
    if (!close)
        return HeadMatch::NoneLater;
    headEnd = close + 1;
    return HeadMatch::Found;
}

using HeadDecoder = QString (*)(QByteArrayView head);

QString decodeUtf8(QByteArrayView head)
{
    return QString::fromUtf8(head);
}

QStringList headsOf(
    const QByteArray &text, const std::vector<LiteralSpan> &literals, HeadDecoder decode)
{
    QStringList heads;
    const char *const base = text.constData();
    const char *const end = base + text.size();
    auto literal = literals.cbegin();
    const char *from = base;
    while (const char *head = findDefine(from, end)) {
        const qsizetype offset = head - base;
        while (literal != literals.cend() && literal->end <= offset)
            ++literal;
        if (literal != literals.cend() && literal->begin <= offset) {
            from = base + literal->end;
            continue;
        }
        from = head + 1;
        if (head > base && isWord(head[-1]))
            continue;
        const char *headEnd = nullptr;
        const HeadMatch match = matchHead(head, end, headEnd);
        if (match == HeadMatch::NoneLater)
            break;
        if (match == HeadMatch::NotHere)
            continue;
        heads.append(decode(QByteArrayView(head, headEnd - head)));
        from = headEnd;
    }
    return heads;
}

QStringList scanText(QByteArrayView text, HeadDecoder decode)
{
    CommentStripper stripper(text.data(), text.size());
    stripper.run();
    return headsOf(stripper.text, stripper.literals, decode);
}

} // namespace

// Each encoding is brought into one the byte scanner reads as the compiler reads the file: UTF-16
// as UTF-8, GBK with no ASCII byte inside a character. UTF-8, by far the most common, is scanned
// as it is.
QStringList scanUdfDefinitions(const QByteArray &content)
{
    const SourceEncoding encoding = sourceEncodingOf(content);
    switch (encoding) {
    case SourceEncoding::Utf16LittleEndian:
    case SourceEncoding::Utf16BigEndian:
        return scanText(utf8FromUtf16(content, encoding), decodeUtf8);
    case SourceEncoding::Gbk:
        return scanText(gbkWithoutAsciiTrails(content), decodeGbkWithoutAsciiTrails);
    case SourceEncoding::Utf8:
        break;
    }
    const QByteArrayView utf8(content);
    return scanText(utf8.startsWith("\xEF\xBB\xBF") ? utf8.sliced(3) : utf8, decodeUtf8);
}

QStringList CKestrune::findUdfDefinitions(const QString &sourcePath)
{
    QFile source(sourcePath);
    // Text mode is not asked for: the scanner folds CR LF itself, which reading in text mode
    // would only do more slowly.
    if (!source.open(QIODevice::ReadOnly)) {
        qDebug() << "Failed to open input file.";
        return {};
    }
    return scanUdfDefinitions(source.readAll());
}
