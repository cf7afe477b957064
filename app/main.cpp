#include <cstdio>

int main()
{
    std::fprintf(stderr, "quillday: not built yet\n");
    return 2;
}
