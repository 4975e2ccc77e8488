#ifndef COMMENTSTRIPPER_H
#define COMMENTSTRIPPER_H

#include <QByteArray>

#include <vector>

// Where a string or character literal lies in the stripped text, from begin up to end.
struct LiteralSpan {
    qsizetype begin;
    qsizetype end;
};

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

#endif // COMMENTSTRIPPER_H
