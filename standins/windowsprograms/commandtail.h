/* For Kestrune's Windows programs without C runtime: what follows the program name on the wide
   command line. The name is skipped the way the C runtime does for argv[0]: up to the closing quote
   when it starts with one, else up to the first blank; then the blanks after it. */
#ifndef KESTRUNE_COMMANDTAIL_H
#define KESTRUNE_COMMANDTAIL_H

static const unsigned short *commandTail(const unsigned short *line)
{
    if (*line == L'"') {
        for (++line; *line && *line != L'"'; ++line) { }
        if (*line)
            ++line;
    } else {
        while (*line && *line != L' ' && *line != L'\t')
            ++line;
    }
    while (*line == L' ' || *line == L'\t')
        ++line;
    return line;
}

#endif /* KESTRUNE_COMMANDTAIL_H */
