#ifndef SCANNERBYTES_H
#define SCANNERBYTES_H

#include <array>

// The byte classes of the definition scanner: it works on raw bytes, where every byte that matters
// to C syntax is ASCII.
namespace scannerbytes {

constexpr std::array<bool, 256> byteTable(const char *members)
{
    std::array<bool, 256> table {};
    for (const char *c = members; *c; ++c)
        table[static_cast<unsigned char>(*c)] = true;
    return table;
}

inline constexpr auto wordBytes
    = byteTable("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_");
// The bytes that can end a run of plain code: comment openers, literal openers and the CR of CR LF.
inline constexpr auto codeStopBytes = byteTable("/\"'\r");
// White space as the head pattern's \s knows it (ASCII only).
inline constexpr auto spaceBytes = byteTable(" \t\n\v\f\r");

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

} // namespace scannerbytes

#endif // SCANNERBYTES_H
