// What the benchmarks share: medians, a held RuntimeString count, reading a corpus file.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "sdk/quaver.h"

namespace bench {

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Seconds of wall time and of this thread's processor time since the start. On a loaded
// machine the wall time mostly measures the waiting for a processor; the processor time does not.
class Stopwatch {
public:
    Stopwatch() : m_wall(std::chrono::steady_clock::now()), m_cpu(thread_cpu_seconds()) { }
    double wall() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_wall).count(); }
    double cpu() const { return thread_cpu_seconds() - m_cpu; }

    static double thread_cpu_seconds()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    }

private:
    std::chrono::steady_clock::time_point m_wall;
    double m_cpu;
};

// Owns one count of a RuntimeString.
struct Held {
    RuntimeString* s = nullptr;
    Held() = default;
    explicit Held(RuntimeString* owned) : s(owned) { }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    Held(Held&& other) noexcept : s(other.s) { other.s = nullptr; }
    ~Held() { RuntimeUnlockString(s); }
    void reset(RuntimeString* owned)
    {
        RuntimeUnlockString(s);
        s = owned;
    }
    int32_t length() const { return s ? s->length : 0; }
    const uint8_t* bytes() const { return s ? s->buffer + 1 : nullptr; }
};

// Appends the file's bytes; false when it cannot be opened or read.
template <typename Bytes>
bool read_file(const char* path, Bytes& bytes)
{
    std::FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    char chunk[1 << 16];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

}  // namespace bench
