#include <cstdio>

int main() {
    std::puts("Belmora: hlavní okno programu zatím není hotové.");
    return 0;
}
