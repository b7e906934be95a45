#include <cstdio>

int main() {
    std::puts("pordex: the program's windows are not built yet.");
    return 0;
}
