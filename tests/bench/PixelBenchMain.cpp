// The pixel cases as a table, natively (the optimized build of tools/bench). Arguments: the
// number of timed runs (15) and a part of the case names to run only those.
#include <cstdlib>

#include "PixelBenchTable.h"

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    pixel_bench::PrintTable("== native build (x86-64, optimized, no sanitizers)", runs,
                            argc > 2 ? argv[2] : "");
    return 0;
}
