// Stands in for a cmake that fails slowly and says why, so that a test can watch its words reach
// the window while it still runs, and stop it midway.
//
// "--version" answers as CMake 4.2.0. Any other call prints CMake's error lines (one in Chinese,
// UTF-8), waits KESTRUNE_TALKING_CMAKE_SLEEP_MS milliseconds (default 0) and exits with 1.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

int main(int argc, char *argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("cmake version 4.2.0\n\nCMake suite maintained and supported by Kitware "
                  "(kitware.com/cmake).");
        return 0;
    }
    std::puts("-- Selecting Windows SDK version 10.0.19041.0 to target Windows 10.0.");
    std::fflush(stdout);
    std::fputs("CMake Error at 3ddp/CMakeLists.txt:3 (project):\n"
               "  找不到 Visual Studio 的 C 编译器。\n",
        stderr);
    std::fflush(stderr);
    const char *sleep = std::getenv("KESTRUNE_TALKING_CMAKE_SLEEP_MS");
    std::this_thread::sleep_for(std::chrono::milliseconds(sleep ? std::atoi(sleep) : 0));
    return 1;
}
