// Leaks one allocation and ends normally: LeakSanitizer must report it under
// the options the test runs use (see cmake/Sanitizers.cmake).
#include <cstdio>
#include <cstdlib>

namespace {
// Reached through a volatile pointer so that the store is not optimised away;
// cleared before main returns so that nothing points at the block any more.
void* volatile g_block = nullptr;
}

int main()
{
    g_block = std::malloc(4242);
    std::printf("allocated %p\n", g_block);
    g_block = nullptr;
    return 0;
}
