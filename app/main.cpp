// Program entry.  The application's windows are not built yet: the program starts,
// reports that, and exits cleanly.
#include <cstdio>

int main()
{
    std::puts("澄枫DAT格式转换器: the application window is not built yet.");
    return 0;
}
