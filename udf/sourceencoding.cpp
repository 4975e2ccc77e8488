#include "sourceencoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cstdint>
#include <cstring>

namespace {

constexpr unsigned char escape = 0xFF;

// Most sources are ASCII throughout and every scan of them pays for this look, so it takes 32 bytes
// a step.
qsizetype asciiPrefixLength(QByteArrayView text)
{
    constexpr std::uint64_t highBits = 0x8080808080808080u;
    const char *p = text.data();
    const char *const end = p + text.size();
    for (; end - p >= 32; p += 32) {
        std::uint64_t words[4];
        std::memcpy(words, p, sizeof words);
        if ((words[0] | words[1] | words[2] | words[3]) & highBits)
            break;
    }
    while (p < end && static_cast<unsigned char>(*p) < 0x80)
        ++p;
    return p - text.data();
}

bool isGbkLead(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

// A lead byte takes the next byte with it only when that byte can end a character: a stray lead
// byte must not swallow the quote or line end after it.
bool isGbkTrail(unsigned char byte)
{
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

} // namespace

SourceEncoding sourceEncodingOf(QByteArrayView content)
{
    if (content.startsWith("\xFF\xFE"))
        return SourceEncoding::Utf16LittleEndian;
    if (content.startsWith("\xFE\xFF"))
        return SourceEncoding::Utf16BigEndian;
    if (content.startsWith("\xEF\xBB\xBF"))
        return SourceEncoding::Utf8;
    const QByteArrayView rest = content.sliced(asciiPrefixLength(content));
    return rest.isEmpty() || rest.isValidUtf8() ? SourceEncoding::Utf8 : SourceEncoding::Gbk;
}

QByteArray utf8FromUtf16(QByteArrayView content, SourceEncoding byteOrder)
{
    QStringDecoder decoder(byteOrder == SourceEncoding::Utf16BigEndian ? QStringDecoder::Utf16BE
                                                                       : QStringDecoder::Utf16LE);
    const QString text = decoder.decode(content.sliced(2));
    return text.toUtf8();
}

QByteArray gbkWithoutAsciiTrails(QByteArrayView gbk)
{
    // Each byte grows to at most two: a pair to three, an 0xFF to two.
    QByteArray text(2 * gbk.size(), Qt::Uninitialized);
    auto *out = reinterpret_cast<unsigned char *>(text.data());
    const auto *p = reinterpret_cast<const unsigned char *>(gbk.data());
    const auto *const end = p + gbk.size();
    while (p < end) {
        const unsigned char byte = *p++;
        if (byte == escape) {
            *out++ = escape;
            *out++ = escape;
        } else if (isGbkLead(byte) && p < end && isGbkTrail(*p)) {
            if (*p < 0x80)
                *out++ = escape;
            *out++ = byte;
            *out++ = *p++ | 0x80;
        } else {
            *out++ = byte;
        }
    }
    text.truncate(reinterpret_cast<char *>(out) - text.data());
    return text;
}

QString decodeGbkWithoutAsciiTrails(QByteArrayView piece)
{
    if (asciiPrefixLength(piece) == piece.size())
        return QString::fromLatin1(piece);
    QByteArray gbk;
    gbk.reserve(piece.size());
    for (qsizetype i = 0; i < piece.size(); ++i) {
        const auto byte = static_cast<unsigned char>(piece[i]);
        if (byte != escape || i + 1 == piece.size()) {
            gbk += char(byte);
        } else if (static_cast<unsigned char>(piece[i + 1]) == escape) {
            gbk += char(escape);
            ++i;
        } else if (i + 2 < piece.size()) {
            gbk += piece[i + 1];
            gbk += char(piece[i + 2] & 0x7F);
            i += 2;
        }
    }
    // Qt decodes GBK where it is built with ICU; elsewhere each byte stays a character of its own.
    QStringDecoder decoder("GBK");
    return decoder.isValid() ? QString(decoder.decode(gbk)) : QString::fromLatin1(gbk);
}

QByteArray sourceBytes(const QString &text, SourceEncoding encoding)
{
    QString crlfText = text;
    crlfText.replace(u'\n', QStringLiteral("\r\n"));
    switch (encoding) {
    case SourceEncoding::Utf16LittleEndian:
        return QStringEncoder(QStringEncoder::Utf16LE).encode(crlfText);
    case SourceEncoding::Utf16BigEndian:
        return QStringEncoder(QStringEncoder::Utf16BE).encode(crlfText);
    case SourceEncoding::Utf8:
    case SourceEncoding::Gbk:
        break;
    }
    // What is appended is ASCII, the same bytes in UTF-8 and in GBK.
    return crlfText.toUtf8();
}
