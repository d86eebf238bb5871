// What the benchmarks share: medians, a held RuntimeString count, reading a corpus file.
#pragma once

#include <algorithm>
#include <cstdio>
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
