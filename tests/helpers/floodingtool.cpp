// Stands in for a tool that prints without end (a compiler repeating a warning for every line of a
// generated source, say): "first line", then numbered lines up to the megabytes asked for, then
// "last line", and status 0.

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    const long long bytes = (argc > 1 ? std::atoll(argv[1]) : 1) * 1024 * 1024;
    std::fputs("first line\n", stdout);
    char line[96];
    long long written = 0;
    for (long long number = 1; written < bytes; ++number) {
        const int length = std::snprintf(line, sizeof line,
            "line %012lld of a tool that does not stop talking .........................\n",
            number);
        std::fwrite(line, 1, std::size_t(length), stdout);
        written += length;
    }
    std::fputs("last line\n", stdout);
    return 0;
}
