// Holds a file the way a process that uses a library does, until its standard input ends:
// "holdlibrary map <file>" maps it and closes the descriptor, as a loader does;
// "holdlibrary open <file>" keeps it open. Prints "holding" once it does.
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char *argv[])
{
    if (argc != 3 || (strcmp(argv[1], "map") != 0 && strcmp(argv[1], "open") != 0)) {
        fprintf(stderr, "usage: holdlibrary map|open <file>\n");
        return 1;
    }
    const int fd = open(argv[2], O_RDONLY);
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0 || info.st_size == 0) {
        perror(argv[2]);
        return 1;
    }
    if (strcmp(argv[1], "map") == 0) {
        if (mmap(nullptr, size_t(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0) == MAP_FAILED) {
            perror("mmap");
            return 1;
        }
        close(fd);
    }
    printf("holding\n");
    fflush(stdout);
    char buffer[64];
    while (read(STDIN_FILENO, buffer, sizeof buffer) > 0) { }
    return 0;
}
