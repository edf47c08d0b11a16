#include <cstdio>

int main() {
    std::puts("usage: mervik [--script FILE|-] [--keys \"7 + 5 =\"] [--config DIR] [--scale N]");
    return 0;
}
