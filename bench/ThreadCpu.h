#pragma once

// The window's thread's own CPU time, and the median of samples: what the benchmarks that take
// turns between two windows report.

#include <algorithm>
#include <ctime>
#include <vector>

namespace kfbench {

inline double threadCpuMicroseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

inline double median(std::vector<double>& v) {
    if (v.empty())
        return 0;
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

} // namespace kfbench
