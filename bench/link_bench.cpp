// Link benchmark: a large synthetic image (4 MB of code, 100,000 call sites over 1,000
// imports, 20,000 string fixups, 20,000 data and code fixups) linked with LinkImage, next to
// the time it takes to read the same image from a file. Medians of several runs, of the wall
// time and of the processor time.
//
//   link_bench [--runs N]
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "loader/image_container.h"
#include "loader/import_linker.h"
#include "runtime/diagnostics/assertion.h"

namespace {

using Bytes = std::vector<u8>;

constexpr u32 kCodeSize = 4 << 20;
constexpr u32 kDataSize = 1 << 20;
constexpr int kImports = 1000;
constexpr int kCallSites = 100000;
constexpr int kStringFixups = 20000;
constexpr int kOtherFixups = 20000;

int g_routines[kImports];

class BenchResolver : public qv::ImportResolver {
public:
    const void* runtime_routine(std::string_view name) override
    {
        // Names are "Routine<n>": the lookup itself is measured by registry_bench.
        return &g_routines[std::atoi(std::string(name.substr(7)).c_str()) % kImports];
    }
    const void* unbound_import(std::string_view) override { return nullptr; }
    const void* library_procedure(std::string_view, std::string_view, std::string&) override { return nullptr; }
};

void put_u32(u8* p, u32 v) { std::memcpy(p, &v, 4); }
void push_u32(Bytes& out, u32 v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<u8>(v >> (8 * i)));
}

struct Synthetic {
    Bytes code, data, stream;
};

// Sites are distinct 5-byte slots (a call opcode and its operand). As a compiler lays them
// out, every slot belongs to a random import (or fixup), and each import's chain visits its
// sites in code order.
Synthetic make_image()
{
    Synthetic s;
    s.code.assign(kCodeSize, 0x90);
    s.data.assign(kDataSize, 0);
    std::vector<u32> slots(kCodeSize / 5 - 1);
    for (size_t i = 0; i < slots.size(); ++i)
        slots[i] = static_cast<u32>(5 + 5 * i + 1);
    std::mt19937 random(42);
    std::shuffle(slots.begin(), slots.end(), random);
    const int sites_per_import = kCallSites / kImports;
    size_t next = 0;
    for (int import = 0; import < kImports; ++import) {
        std::sort(slots.begin() + static_cast<long>(next), slots.begin() + static_cast<long>(next + sites_per_import));
        u32 head = 0;
        for (int k = sites_per_import; k-- > 0;) {  // from the last site back: head is the first
            const u32 site = slots[next + static_cast<size_t>(k)];
            put_u32(&s.code[site], head);
            head = site;
        }
        next += static_cast<size_t>(sites_per_import);
        const std::string name = "Routine" + std::to_string(import);
        s.stream.push_back(1);
        s.stream.push_back(1);
        push_u32(s.stream, head);
        s.stream.push_back(static_cast<u8>(name.size()));
        s.stream.insert(s.stream.end(), name.begin(), name.end());
        s.stream.push_back(0);
    }
    // String constants of 12 text bytes every 36 bytes of data, each named by a fixup.
    for (int k = 0; k < kStringFixups; ++k) {
        const u32 record = static_cast<u32>((k % 20000) * 36);
        put_u32(&s.data[record], 1);
        put_u32(&s.data[record + 12], 12);
        const u32 site = slots[next++];
        put_u32(&s.code[site], record);
        s.stream.push_back(5);
        push_u32(s.stream, site);
    }
    for (int k = 0; k < kOtherFixups; ++k) {
        const u32 site = slots[next++];
        put_u32(&s.code[site], static_cast<u32>(k * 16) % kDataSize);
        s.stream.push_back(k % 2 ? 2 : 3);
        push_u32(s.stream, site);
    }
    return s;
}

using bench::median;

}  // namespace

int main(int argc, char** argv)
{
    int runs = 7;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));

    const Synthetic image = make_image();
    const auto file = std::filesystem::temp_directory_path() / "qv-link-bench.img";
    {
        Bytes packaged;
        for (const Bytes* segment : {&image.code, &image.data, &image.stream}) {
            push_u32(packaged, static_cast<u32>(segment->size()));
            packaged.insert(packaged.end(), segment->begin(), segment->end());
        }
        push_u32(packaged, 0);
        push_u32(packaged, 0);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(packaged.data()), static_cast<std::streamsize>(packaged.size()));
    }

    std::vector<double> link_ms, read_ms, link_cpu_ms, read_cpu_ms;
    qv::LinkReport last;
    for (int run = 0; run < runs; ++run) {
        const bench::Stopwatch read_watch;
        platform::InputFile input = platform::open_for_reading(file.string());
        qv::Result<qv::ImageSegments> segments = qv::read_packaged_image(input, 0);
        read_ms.push_back(read_watch.wall() * 1e3);
        read_cpu_ms.push_back(read_watch.cpu() * 1e3);
        if (!segments) {
            std::fprintf(stderr, "link_bench: %s\n", segments.error().c_str());
            return 1;
        }
        BenchResolver resolver;
        const qv::LoadedImage loaded{segments->code.data(), static_cast<u32>(segments->code.size()),
                                     segments->data.data(), static_cast<u32>(segments->data.size())};
        const bench::Stopwatch link_watch;
        qv::Result<qv::LinkReport> report = qv::LinkImage(segments->imports, loaded, resolver);
        link_ms.push_back(link_watch.wall() * 1e3);
        link_cpu_ms.push_back(link_watch.cpu() * 1e3);
        if (!report) {
            std::fprintf(stderr, "link_bench: %s\n", report.error().c_str());
            return 1;
        }
        last = report.value();
    }
    std::filesystem::remove(file);
    std::printf("image: %u bytes of code, %u runtime imports, %u import sites, %u string, %u data and %u code fixups\n",
                kCodeSize, last.runtime_imports, last.import_sites, last.string_fixups, last.data_fixups,
                last.code_fixups);
    std::printf("medians of %d runs      wall ms   processor ms\n", runs);
    std::printf("read image file:     %9.2f %14.2f\n", median(read_ms), median(read_cpu_ms));
    std::printf("LinkImage:           %9.2f %14.2f\n", median(link_ms), median(link_cpu_ms));
    std::printf("link / read:         %9.2f %14.2f\n", median(link_ms) / median(read_ms),
                median(link_cpu_ms) / median(read_cpu_ms));
    return 0;
}
