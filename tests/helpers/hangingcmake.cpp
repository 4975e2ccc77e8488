// Stands in for a cmake that never finishes (a generator waiting on a licence server, say), so
// that a test can see the engine give up on it.

#include <chrono>
#include <thread>

int main()
{
    std::this_thread::sleep_for(std::chrono::minutes(5));
    return 0;
}
