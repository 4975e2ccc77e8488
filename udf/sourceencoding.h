#ifndef SOURCEENCODING_H
#define SOURCEENCODING_H

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The encodings in which an editor on a Chinese Windows saves sources and Visual Studio's compiler
// reads them.
enum class SourceEncoding { Utf8, Gbk, Utf16LittleEndian, Utf16BigEndian };

// A byte-order mark decides; without one, valid UTF-8 is UTF-8 and anything else GBK (code page
// 936, the compiler's default there).
SourceEncoding sourceEncodingOf(QByteArrayView content);

// UTF-16 text with its byte-order mark, as UTF-8 without one.
QByteArray utf8FromUtf16(QByteArrayView content, SourceEncoding byteOrder);

// GBK text in a form that a byte scanner reads as the compiler does, a character at a time: no
// byte of a double-byte character is ASCII. A character whose trail byte is ASCII (0x40-0x7E, such
// as the "\" of 運) becomes 0xFF, its lead byte and its trail byte with the high bit set; a lone
// 0xFF, which GBK never uses, is doubled.
QByteArray gbkWithoutAsciiTrails(QByteArrayView gbk);
// The text of a piece of that form: ASCII as it is, anything else decoded as GBK.
QString decodeGbkWithoutAsciiTrails(QByteArrayView piece);

// Text to append to a source of that encoding: each line feed as CR LF, no byte-order mark.
QByteArray sourceBytes(const QString &text, SourceEncoding encoding);

#endif // SOURCEENCODING_H
