// registry_bench: the time to look up every name of the process's EntryPointRegistry, once
// through the name index and once by the linear case-insensitive scan the index replaces.
//
//     registry_bench [--runs N]
//
// Each pass looks up every entry's name as written and in upper case (so that the scan cannot
// win by exact bytes). Figures are medians over the runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "runtime/registry/entry_point_registry.h"

namespace {

using bench::median;

using Clock = std::chrono::steady_clock;

template <typename Lookup>
double time_pass(const std::vector<std::string>& names, Lookup lookup, size_t* found)
{
    const Clock::time_point start = Clock::now();
    size_t hits = 0;
    for (const std::string& name : names)
        hits += lookup(name) != nullptr;
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    *found = hits;
    return seconds;
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 9;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: registry_bench [--runs N]\n");
            return 2;
        }
    }

    qv::EntryPointRegistry& registry = qv::entry_point_registry();
    std::vector<std::string> names;
    for (i32 i = 0; i < registry.EntryPointCount(); ++i) {
        if (const char* name = registry.EntryPointAt(i)->name) {
            names.emplace_back(name);
            std::string upper(name);
            for (char& c : upper)
                c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
            names.push_back(upper);
        }
    }
    registry.FindEntryPoint("warm-up");  // builds the index outside the timing

    std::vector<double> indexed, scanned;
    size_t indexed_found = 0, scanned_found = 0;
    for (int run = 0; run < runs; ++run) {
        indexed.push_back(time_pass(
            names, [&](const std::string& n) { return registry.FindEntryPoint(n); }, &indexed_found));
        scanned.push_back(time_pass(
            names, [&](const std::string& n) { return registry.find_by_scan(n); }, &scanned_found));
    }
    if (indexed_found != scanned_found) {
        std::fprintf(stderr, "index found %zu names, the scan %zu\n", indexed_found, scanned_found);
        return 1;
    }

    const double index_s = median(indexed), scan_s = median(scanned);
    std::printf("entries: %d, lookups per pass: %zu (%zu bound), runs: %d\n", registry.EntryPointCount(), names.size(),
                indexed_found, runs);
    std::printf("name index:  %10.3f ms per pass  %8.1f ns per lookup\n", index_s * 1e3,
                index_s * 1e9 / static_cast<double>(names.size()));
    std::printf("linear scan: %10.3f ms per pass  %8.1f ns per lookup\n", scan_s * 1e3,
                scan_s * 1e9 / static_cast<double>(names.size()));
    std::printf("scan / index: %.0fx\n", scan_s / index_s);
    return 0;
}
