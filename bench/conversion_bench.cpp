// conversion_bench: throughput of Hollerpad's conversion (ConvertText) over a corpus file, next
// to the throughput of 110 plain copies of the same text, which is about what any chain of
// 110 whole-text passes costs at best. It counts the passes the conversion makes (the steps that
// find something and so make a new text), and times the conversion the way the application
// runs it on its editor's runtime-side text: per step a read, one replace-all and a write. With
// --steps it also times each step on its own.
//
//     conversion_bench CORPUS [--runs N] [--switches NNNNNNNNN] [--steps[=K|=all]] [--out FILE]
//
// Figures are medians over the runs, in MB/s of input text (1 MB = 10^6 bytes).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/conversion.h"
#include "app/conversion_steps.h"
#include "bench/bench_support.h"
#include "sdk/quaver.h"

namespace {

using bench::Held;
using bench::median;
using bench::read_file;

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The step table once more, as data the harness can run one row at a time.
struct Row {
    int number;
    int switch_number;
    std::string_view find;  // for a prepend row: the text put in front
    std::string_view replacement;
    bool prepend;
};

#define BENCH_ROW_STEP(n, sw, find, repl) {n, sw, {find, sizeof(find) - 1}, {repl, sizeof(repl) - 1}, false},
#define BENCH_ROW_PREPEND(n, sw, head) {n, sw, {head, sizeof(head) - 1}, {}, true},
constexpr Row kRows[] = {HOLLERPAD_CONVERSION_STEPS(BENCH_ROW_STEP, BENCH_ROW_PREPEND)};
#undef BENCH_ROW_STEP
#undef BENCH_ROW_PREPEND
constexpr size_t kRowCount = sizeof kRows / sizeof kRows[0];
static_assert(kRowCount == HOLLERPAD_STEP_COUNT);

// A runtime string tagged as the application's constants are: ASCII when 7-bit, else UTF-8.
RuntimeString* build_constant(std::string_view text)
{
    RuntimeString* s = QuavBuildString(text.data(), static_cast<int32_t>(text.size()));
    const bool seven_bit = std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
    QuavSetStringEncoding(s, seven_bit ? QV_ENCODING_ASCII : QV_ENCODING_UTF8);
    return s;
}

bool row_on(const Row& row, uint32_t switches)
{
    return row.switch_number == 0 || (switches & HOLLERPAD_SWITCH(row.switch_number)) != 0;
}

// Non-overlapping occurrences, scanning left to right as replace-all does.
long count_hits(const Held& text, std::string_view find)
{
    const std::string_view hay(reinterpret_cast<const char*>(text.bytes()), static_cast<size_t>(text.length()));
    long hits = 0;
    for (size_t at = hay.find(find); at != std::string_view::npos; at = hay.find(find, at + find.size()))
        ++hits;
    return hits;
}

std::string printable(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r')
            out += "\\r";
        else if (text.substr(i, 3) == "\u3000") {
            out += "\\u3000";
            i += 2;
        } else
            out += text[i];
    }
    return out;
}

struct Options {
    const char* corpus = nullptr;
    const char* out = nullptr;
    int runs = 7;
    uint32_t switches = HOLLERPAD_DEFAULT_SWITCHES;
    bool steps = false;
    size_t steps_shown = 15;
};

[[noreturn]] void usage(const char* problem)
{
    std::fprintf(stderr,
                 "conversion_bench: %s\nusage: conversion_bench CORPUS [--runs N] [--switches NNNNNNNNN] "
                 "[--steps[=K|=all]] [--out FILE]\n",
                 problem);
    std::exit(2);
}

Options parse_options(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            o.runs = std::atoi(argv[++i]);
            if (o.runs < 1)
                usage("--runs needs a count of at least 1");
        } else if (arg == "--switches" && i + 1 < argc) {
            const std::string digits = argv[++i];
            if (digits.size() != 9 || digits.find_first_not_of("01") != std::string::npos)
                usage("--switches needs nine digits 0 or 1");
            o.switches = 0;
            for (int k = 0; k < 9; ++k)
                if (digits[k] == '1')
                    o.switches |= HOLLERPAD_SWITCH(k + 1);
        } else if (arg == "--steps") {
            o.steps = true;
        } else if (arg.rfind("--steps=", 0) == 0) {
            o.steps = true;
            const std::string k = arg.substr(8);
            o.steps_shown = k == "all" ? kRowCount : static_cast<size_t>(std::atoi(k.c_str()));
            if (o.steps_shown == 0)
                usage("--steps= needs a positive count or 'all'");
        } else if (arg == "--out" && i + 1 < argc) {
            o.out = argv[++i];
        } else if (!arg.empty() && arg[0] != '-' && !o.corpus) {
            o.corpus = argv[i];
        } else {
            usage(("unknown or incomplete argument '" + arg + "'").c_str());
        }
    }
    if (!o.corpus)
        usage("no corpus file given");
    return o;
}

bool write_file(const char* path, const Held& text)
{
    std::FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    const size_t n = static_cast<size_t>(text.length());
    const bool ok = std::fwrite(text.bytes(), 1, n, f) == n;
    return std::fclose(f) == 0 && ok;
}

double mb_per_s(size_t bytes, double seconds) { return static_cast<double>(bytes) / 1e6 / seconds; }

// 110 whole-text copies, each reading the previous one's result, as the step chain does.
double time_copy_chain(const std::vector<char>& text, int runs)
{
    std::vector<char> a(text), b(text.size());
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        const Clock::time_point start = Clock::now();
        char* src = a.data();
        char* dst = b.data();
        for (size_t pass = 0; pass < kRowCount; ++pass) {
            std::memcpy(dst, src, text.size());
            asm volatile("" : : "r"(dst) : "memory");  // the copies must really happen
            std::swap(src, dst);
        }
        times.push_back(seconds_since(start));
    }
    return median(times);
}

// The steps that made a new text: a step that finds nothing hands back the text it was given.
int count_passes(RuntimeString* input, uint32_t switches, const std::vector<RuntimeString*>& finds,
                 const std::vector<RuntimeString*>& replacements, int& steps_run)
{
    RuntimeLockString(input);
    Held text(input);
    int passes = 0;
    steps_run = 0;
    for (size_t i = 0; i < kRowCount; ++i) {
        if (!row_on(kRows[i], switches))
            continue;
        ++steps_run;
        RuntimeString* next = kRows[i].prepend ? RuntimeAddString(finds[i], text.s)
                                               : StringReplaceAllB(text.s, finds[i], replacements[i]);
        passes += next != text.s;
        text.reset(next);
    }
    return passes;
}

// The application's way: the text lives in a holder (the edit field's runtime-side copy), and
// each step reads it (a new count), replaces, and writes the result back (the holder takes a
// count of the new text and lets the old one go).
RuntimeString* convert_held(RuntimeString* input, uint32_t switches, const std::vector<RuntimeString*>& finds,
                            const std::vector<RuntimeString*>& replacements)
{
    RuntimeLockString(input);
    RuntimeString* held = input;
    for (size_t i = 0; i < kRowCount; ++i) {
        if (!row_on(kRows[i], switches))
            continue;
        RuntimeLockString(held);
        RuntimeString* text = held;  // the read
        RuntimeString* result =
            kRows[i].prepend ? RuntimeAddString(finds[i], text) : StringReplaceAllB(text, finds[i], replacements[i]);
        RuntimeLockUnlockStrings(result, held);  // the write
        held = result;
        RuntimeUnlockString(result);
        RuntimeUnlockString(text);
    }
    return held;
}

struct StepResult {
    const Row* row;
    long hits;
    double seconds;
};

// Runs the rows one by one, timing each; returns the final text for comparison with ConvertText.
RuntimeString* run_steps_timed(RuntimeString* input, uint32_t switches, const std::vector<RuntimeString*>& finds,
                               const std::vector<RuntimeString*>& replacements, std::vector<double>& seconds)
{
    RuntimeLockString(input);
    Held text(input);
    for (size_t i = 0; i < kRowCount; ++i) {
        if (!row_on(kRows[i], switches))
            continue;
        const Clock::time_point start = Clock::now();
        text.reset(kRows[i].prepend ? RuntimeAddString(finds[i], text.s)
                                    : StringReplaceAllB(text.s, finds[i], replacements[i]));
        seconds[i] = seconds_since(start);
    }
    RuntimeString* result = text.s;
    text.s = nullptr;
    return result;
}

std::vector<StepResult> time_steps(RuntimeString* input, uint32_t switches, int runs, const Held& converted,
                                   const std::vector<RuntimeString*>& finds,
                                   const std::vector<RuntimeString*>& replacements, bool& same_as_convert)
{

    // Hit counts, outside the timing: from the length change where the row changes the length.
    std::vector<long> hits(kRowCount, 0);
    {
        RuntimeLockString(input);
        Held text(input);
        for (size_t i = 0; i < kRowCount; ++i) {
            const Row& row = kRows[i];
            if (!row_on(row, switches))
                continue;
            if (row.prepend) {
                hits[i] = 1;
                text.reset(RuntimeAddString(finds[i], text.s));
                continue;
            }
            const int32_t before = text.length();
            Held next(StringReplaceAllB(text.s, finds[i], replacements[i]));
            const long grow = static_cast<long>(row.replacement.size()) - static_cast<long>(row.find.size());
            hits[i] = grow != 0 ? (next.length() - before) / grow : count_hits(text, row.find);
            std::swap(text.s, next.s);
        }
    }

    std::vector<std::vector<double>> per_row(kRowCount);
    same_as_convert = true;
    for (int r = 0; r < runs; ++r) {
        std::vector<double> seconds(kRowCount, 0.0);
        Held result(run_steps_timed(input, switches, finds, replacements, seconds));
        if (result.length() != converted.length() ||
            std::memcmp(result.bytes(), converted.bytes(), static_cast<size_t>(result.length())) != 0)
            same_as_convert = false;
        for (size_t i = 0; i < kRowCount; ++i)
            per_row[i].push_back(seconds[i]);
    }

    std::vector<StepResult> results;
    for (size_t i = 0; i < kRowCount; ++i)
        if (row_on(kRows[i], switches))
            results.push_back({&kRows[i], hits[i], median(per_row[i])});
    return results;
}

void print_steps(std::vector<StepResult> results, size_t shown)
{
    double total = 0;
    for (const StepResult& s : results)
        total += s.seconds;
    std::stable_sort(results.begin(), results.end(),
                     [](const StepResult& a, const StepResult& b) { return a.seconds > b.seconds; });
    std::printf("per-step median times (sum %.1f ms), slowest first:\n", total * 1e3);
    std::printf("  %4s %3s %9s %9s %6s %6s  %s\n", "step", "sw", "hits", "ms", "%", "cum%", "find -> replacement");
    double cumulative = 0;
    for (size_t i = 0; i < results.size() && i < shown; ++i) {
        const StepResult& s = results[i];
        cumulative += s.seconds;
        const std::string what = s.row->prepend
            ? "prepend \"" + printable(s.row->find) + "\""
            : "\"" + printable(s.row->find) + "\" -> \"" + printable(s.row->replacement) + "\"";
        std::printf("  %4d %3d %9ld %9.2f %6.1f %6.1f  %s\n", s.row->number, s.row->switch_number, s.hits,
                    s.seconds * 1e3, 100 * s.seconds / total, 100 * cumulative / total, what.c_str());
    }
    if (shown < results.size())
        std::printf("  (%zu more steps, %.1f%% of the time)\n", results.size() - shown,
                    100 * (total - cumulative) / total);
    // A step without hits only searches; one with hits also builds a new text, so the split
    // separates the cost of searching from that of allocating and copying.
    double with_hits = 0;
    size_t steps_with_hits = 0;
    for (const StepResult& s : results)
        if (s.hits > 0) {
            with_hits += s.seconds;
            ++steps_with_hits;
        }
    const size_t steps_without = results.size() - steps_with_hits;
    std::printf("  %zu steps with hits: %.1f ms (%.1f ms each); %zu without: %.1f ms (%.2f ms each)\n", steps_with_hits,
                with_hits * 1e3, steps_with_hits ? with_hits * 1e3 / steps_with_hits : 0.0, steps_without,
                (total - with_hits) * 1e3, steps_without ? (total - with_hits) * 1e3 / steps_without : 0.0);
}

}  // namespace

int main(int argc, char** argv)
{
    const Options options = parse_options(argc, argv);
    std::vector<char> bytes;
    if (!read_file(options.corpus, bytes)) {
        std::fprintf(stderr, "conversion_bench: cannot read %s\n", options.corpus);
        return 1;
    }
    if (bytes.empty() || bytes.size() > 0x10000000u) {
        std::fprintf(stderr, "conversion_bench: the corpus must hold 1 byte to 256 MB\n");
        return 1;
    }
    Held input(QuavBuildString(bytes.data(), static_cast<int32_t>(bytes.size())));
    QuavSetStringEncoding(input.s, QV_ENCODING_UTF8);

    std::vector<RuntimeString*> finds, replacements;
    for (const Row& row : kRows) {
        finds.push_back(build_constant(row.find));
        replacements.push_back(row.prepend ? nullptr : build_constant(row.replacement));
    }

    // The first run warms the allocator and caches and gives the result; it is not timed.
    Held converted(ConvertText(input.s, options.switches));
    if (converted.s == nullptr) {
        std::fprintf(stderr, "conversion_bench: the conversion gave nothing (out of memory?)\n");
        return 1;
    }
    std::vector<double> times, cpu_times, held_times;
    bool held_same = true;
    for (int r = 0; r < options.runs; ++r) {
        const bench::Stopwatch watch;
        Held result(ConvertText(input.s, options.switches));
        times.push_back(watch.wall());
        cpu_times.push_back(watch.cpu());
        const bench::Stopwatch held_watch;
        Held held(convert_held(input.s, options.switches, finds, replacements));
        held_times.push_back(held_watch.wall());
        held_same = held_same && held.length() == converted.length() &&
            std::memcmp(held.bytes(), converted.bytes(), static_cast<size_t>(held.length())) == 0;
    }
    const double convert_s = median(times);
    const double copy_s = time_copy_chain(bytes, options.runs);
    int steps_run = 0;
    const int passes = count_passes(input.s, options.switches, finds, replacements, steps_run);

    std::printf("corpus: %s, %zu bytes, output %d bytes, %d runs\n", options.corpus, bytes.size(), converted.length(),
                options.runs);
    std::printf("ConvertText:          %9.2f MB/s  (median %.1f ms; processor time %.1f ms)\n",
                mb_per_s(bytes.size(), convert_s), convert_s * 1e3, median(cpu_times) * 1e3);
    std::printf("held text, per step read/replace/write: %9.2f MB/s  (median %.1f ms)\n",
                mb_per_s(bytes.size(), median(held_times)), median(held_times) * 1e3);
    std::printf("110-pass byte copy:   %9.2f MB/s  (median %.1f ms; conversion at %.1f%% of it)\n",
                mb_per_s(bytes.size(), copy_s), copy_s * 1e3, 100 * copy_s / convert_s);
    std::printf("passes: %d of %d steps made a new text\n", passes, steps_run);

    int status = 0;
    if (!held_same) {
        std::fprintf(stderr, "conversion_bench: the per-step round trips disagree with ConvertText\n");
        status = 1;
    }
    if (options.steps) {
        bool same = false;
        const std::vector<StepResult> steps =
            time_steps(input.s, options.switches, options.runs, converted, finds, replacements, same);
        print_steps(steps, options.steps_shown);
        if (!same) {
            std::fprintf(stderr, "conversion_bench: the steps run one by one disagree with ConvertText\n");
            status = 1;
        }
    }
    for (size_t i = 0; i < kRowCount; ++i) {
        RuntimeUnlockString(finds[i]);
        RuntimeUnlockString(replacements[i]);
    }
    if (options.out && !write_file(options.out, converted)) {
        std::fprintf(stderr, "conversion_bench: cannot write %s\n", options.out);
        return 1;
    }
    return status;
}
