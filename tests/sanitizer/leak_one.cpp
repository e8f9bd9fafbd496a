// Leaks one allocation and ends normally: LeakSanitizer must report it under
// the options the test runs use (see cmake/Sanitizers.cmake).
#include <cstdlib>
#include <cstring>

namespace {

// The block's address is only ever held here and in the frame that made it.
void* volatile g_block = nullptr;

__attribute__((noinline)) void allocate()
{
    g_block = std::malloc(4242);
}

// Overwrites the stack the allocation used, so that no stale copy of the
// address is left there for the leak check to find.
__attribute__((noinline)) void scrubStack()
{
    volatile char area[16384];
    std::memset(const_cast<char*>(area), 0, sizeof area);
}

} // namespace

int main()
{
    allocate();
    g_block = nullptr;
    scrubStack();
    return 0;
}
