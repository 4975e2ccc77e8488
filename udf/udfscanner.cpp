#include "udfscanner.h"

#include "commentstripper.h"
#include "scannerbytes.h"
#include "sourceencoding.h"

#include <cstring>
#include <vector>

// Every build and every save of a watched source scans all sources of the project, so the scanner
// works on the raw bytes in one pass: comments are dropped into a stripped buffer while the
// literals are noted, then the heads are picked out of that buffer. Only the head texts become
// QStrings.

namespace {

using namespace scannerbytes;

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
