#pragma once
// Prints the pixel cases as a table: for each, the median time over repeated runs and its
// ratio to a memcpy of the case's buffer, the two measured in turns in the same run so
// that a busy machine slows both alike.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <vector>

#include "PixelBenchCases.h"

namespace pixel_bench {

inline double Milliseconds(const std::function<void()>& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One row per case whose name contains filter; returns how many cases missed their goal.
inline int PrintTable(const char* title, int runs, const std::string& filter = {}) {
    std::printf("%s\n", title);
    std::printf("%-34s %10s %10s %8s %6s\n", "operation", "median ms", "memcpy ms", "ratio", "goal");
    TData data;
    int missed = 0;
    for (const TCase& c : Cases(data)) {
        if (c.Name.find(filter) == std::string::npos)
            continue;
        std::vector<TColor32> from(c.BaselineBytes / sizeof(TColor32), 0x12345678u);
        std::vector<TColor32> to(from.size(), 0);
        std::vector<double> op, copy;
        try {
            for (int i = 0; i <= runs; ++i) {
                copy.push_back(Milliseconds([&] { std::memcpy(to.data(), from.data(), c.BaselineBytes); }));
                if (c.Prepare)
                    c.Prepare();
                op.push_back(Milliseconds(c.Run));
            }
        } catch (const std::exception& e) {
            std::printf("%-34s failed: %s\n", c.Name.c_str(), e.what());
            ++missed;
            continue;
        }
        // The first round warms caches and allocations; it is not counted.
        op.erase(op.begin());
        copy.erase(copy.begin());
        const double ratio = Median(op) / Median(copy);
        const bool held = c.Goal == 0 || ratio <= c.Goal;
        missed += held ? 0 : 1;
        std::printf("%-34s %10.3f %10.3f %8.2f %6.1f%s\n", c.Name.c_str(), Median(op), Median(copy), ratio,
                    c.Goal, held ? "" : "  over the goal");
    }
    return missed;
}

} // namespace pixel_bench
