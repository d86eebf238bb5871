// string_functions_bench: throughput of the character-counting string functions (ReplaceAll,
// InStr, NthField, CountFields) over a large Japanese text, next to the byte-exact
// StringReplaceAllB and StringInStrB over the same text. The text is cut to 1, 2, 4 and 8 MB
// (at line ends) so that a function whose cost grows faster than the text shows falling MB/s.
//
//     string_functions_bench CORPUS [--runs N]
//
// Figures are medians over the runs, in MB/s of input text (1 MB = 10^6 bytes). The Western
// rows run with the default system code page (case-insensitive searches), the Japanese rows
// with code page 932 selected (exact searches aligned to characters), on the UTF-8 text and on
// the text converted to Shift-JIS.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "platform/system_code_page.h"
#include "runtime/strings/encoding_conversion.h"
#include "runtime/text/encoding_tags.h"
#include "sdk/quaver.h"

namespace {

using bench::Held;
using bench::median;
using bench::read_file;

using Clock = std::chrono::steady_clock;

Held make_string(const std::string& bytes, uint32_t encoding)
{
    Held s(QuavBuildString(bytes.data(), static_cast<int32_t>(bytes.size())));
    QuavSetStringEncoding(s.s, encoding);
    return s;
}

// Median seconds of `runs` calls; `work` returns a value that must not be optimised away.
double time_runs(int runs, const std::function<long()>& work, long& result)
{
    std::vector<double> seconds;
    for (int r = 0; r < runs; ++r) {
        const Clock::time_point start = Clock::now();
        result = work();
        seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    return median(seconds);
}

// The first bytes of the text's last line, which start on a character.
Held last_line_start(RuntimeString* s, size_t n, uint32_t encoding)
{
    const std::string text(reinterpret_cast<const char*>(s->buffer + 1), static_cast<size_t>(s->length));
    const size_t end = text.size() > 1 ? text.rfind('\r', text.size() - 2) : std::string::npos;
    const size_t start = end == std::string::npos ? 0 : end + 1;
    return make_string(text.substr(start, n), encoding);
}

long length_of(RuntimeString* result)
{
    const long n = result ? result->length : 0;
    RuntimeUnlockString(result);
    return n;
}

struct Workload {
    const char* name;
    const char* baseline;  // the row it is compared with, or nullptr for a baseline itself
    std::function<long(RuntimeString*)> run;
};

void run_table(const char* title, const std::vector<Held>& texts, const std::vector<Workload>& workloads, int runs)
{
    std::printf("\n== %s\n%-46s", title, "workload (result)");
    for (const Held& t : texts)
        std::printf("  %5.1f MB", t.length() / 1e6);
    std::printf("   time / baseline's, largest size\n");
    std::vector<std::pair<std::string, double>> largest;
    for (const Workload& w : workloads) {
        long result = 0;
        std::string line;
        double last = 0;
        for (const Held& t : texts) {
            const double seconds = time_runs(
                runs, [&] { return w.run(t.s); }, result);
            last = t.length() / 1e6 / seconds;
            char cell[32];
            std::snprintf(cell, sizeof cell, "  %8.0f", last);
            line += cell;
        }
        largest.emplace_back(w.name, last);
        std::string label = std::string(w.name) + " (" + std::to_string(result) + ")";
        std::printf("%-46s%s MB/s", label.c_str(), line.c_str());
        if (w.baseline) {
            for (const auto& [name, speed] : largest)
                if (name == w.baseline)
                    std::printf("   %.2fx", speed / last);
        }
        std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const char* corpus = nullptr;
    int runs = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (!corpus && arg[0] != '-')
            corpus = argv[i];
        else {
            std::fprintf(stderr, "usage: string_functions_bench CORPUS [--runs N]\n");
            return 2;
        }
    }
    std::string text;
    if (!corpus || !read_file(corpus, text) || text.empty()) {
        std::fprintf(stderr, "string_functions_bench: cannot read the corpus (bench/make_corpus.sh makes one)\n");
        return 1;
    }

    // Prefixes of about 1, 2, 4 and 8 MB, cut after a line end (the corpus ends its lines with CR).
    std::vector<Held> sizes;
    for (size_t mb : {1u, 2u, 4u, 8u}) {
        size_t cut = std::min(text.size(), mb * 1000000);
        if (cut < text.size()) {
            const size_t line_end = text.rfind('\r', cut);
            cut = line_end == std::string::npos ? cut : line_end + 1;
        }
        sizes.push_back(make_string(text.substr(0, cut), QV_ENCODING_UTF8));
        if (cut == text.size())
            break;
    }
    long lines = 0;
    for (char c : text)
        lines += c == '\r';

    Held maru = make_string("。", QV_ENCODING_UTF8);
    Held dot = make_string("．", QV_ENCODING_UTF8);
    Held the = make_string("the", QV_ENCODING_ASCII);
    Held upper_the = make_string("THE", QV_ENCODING_ASCII);
    Held cr = make_string("\r", QV_ENCODING_ASCII);
    Held absent_kana = make_string("ゐゑゐゑ", QV_ENCODING_UTF8);
    Held absent_latin = make_string("Zqxjv", QV_ENCODING_ASCII);

    const std::vector<Workload> workloads = {
        {"ReplaceAllB 。 -> ．", nullptr,
         [&](RuntimeString* s) { return length_of(StringReplaceAllB(s, maru.s, dot.s)); }},
        {"ReplaceAll 。 -> ．", "ReplaceAllB 。 -> ．",
         [&](RuntimeString* s) { return length_of(StringReplaceAll(s, maru.s, dot.s)); }},
        {"ReplaceAllB the -> THE", nullptr,
         [&](RuntimeString* s) { return length_of(StringReplaceAllB(s, the.s, upper_the.s)); }},
        {"ReplaceAll the -> THE (any case)", "ReplaceAllB the -> THE",
         [&](RuntimeString* s) { return length_of(StringReplaceAll(s, the.s, upper_the.s)); }},
        {"InStrB absent kana", nullptr, [&](RuntimeString* s) { return long{StringInStrB(1, s, absent_kana.s)}; }},
        {"InStr absent kana", "InStrB absent kana",
         [&](RuntimeString* s) { return long{StringInStr(1, s, absent_kana.s)}; }},
        {"InStr absent Latin (any case)", "InStrB absent kana",
         [&](RuntimeString* s) { return long{StringInStr(1, s, absent_latin.s)}; }},
        {"InStrB last line", nullptr,
         [&](RuntimeString* s) {
             Held find = last_line_start(s, 24, QV_ENCODING_UTF8);
             return long{StringInStrB(1, s, find.s)};
         }},
        {"InStr last line (character position)", "InStrB last line",
         [&](RuntimeString* s) {
             Held find = last_line_start(s, 24, QV_ENCODING_UTF8);
             return long{StringInStr(1, s, find.s)};
         }},
        {"CountFields CR", "ReplaceAllB 。 -> ．", [&](RuntimeString* s) { return long{StringCountFields(s, cr.s)}; }},
        {"CountFields and NthField CR, the middle line", "ReplaceAllB 。 -> ．",
         [&](RuntimeString* s) { return length_of(StringNthField(s, cr.s, StringCountFields(s, cr.s) / 2)); }},
    };
    std::printf("string_functions_bench: %s, %zu bytes, %ld lines, median of %d runs\n", corpus, text.size(), lines,
                runs);
    run_table("Western system (code page 1252): UTF-8 text", sizes, workloads, runs);

    if (!platform::select_system_code_page_for_tests(932)) {
        std::printf("\n(code page 932 cannot be selected here: Japanese rows skipped)\n");
        return 0;
    }
    run_table("Japanese system (code page 932): UTF-8 text", sizes, workloads, runs);
    std::vector<Held> sjis;
    for (const Held& t : sizes) {
        RuntimeString* converted = qv::convert_encoding(qv::StringRef::share(t.s), qv::kEncodingShiftJIS).leak();
        if (!converted) {
            std::printf("\n(no Shift-JIS conversion here: Shift-JIS rows skipped)\n");
            return 0;
        }
        sjis.emplace_back(converted);
    }
    Held maru_sjis(qv::convert_encoding(qv::StringRef::share(maru.s), qv::kEncodingShiftJIS).leak());
    Held dot_sjis(qv::convert_encoding(qv::StringRef::share(dot.s), qv::kEncodingShiftJIS).leak());
    const std::vector<Workload> sjis_workloads = {
        {"ReplaceAllB 。 -> ．", nullptr,
         [&](RuntimeString* s) { return length_of(StringReplaceAllB(s, maru_sjis.s, dot_sjis.s)); }},
        {"ReplaceAll 。 -> ．", "ReplaceAllB 。 -> ．",
         [&](RuntimeString* s) { return length_of(StringReplaceAll(s, maru_sjis.s, dot_sjis.s)); }},
        {"InStrB last line", nullptr,
         [&](RuntimeString* s) {
             Held find = last_line_start(s, 16, qv::kEncodingShiftJIS);
             return long{StringInStrB(1, s, find.s)};
         }},
        {"InStr last line (byte position)", "InStrB last line",
         [&](RuntimeString* s) {
             Held find = last_line_start(s, 16, qv::kEncodingShiftJIS);
             return long{StringInStr(1, s, find.s)};
         }},
        {"DBCS InStr last line (character position)", "InStrB last line",
         [&](RuntimeString* s) {
             Held find = last_line_start(s, 16, qv::kEncodingShiftJIS);
             return long{StringDBCSInStr(1, s, find.s)};
         }},
        {"CountFields and NthField CR, the middle line", "ReplaceAllB 。 -> ．",
         [&](RuntimeString* s) { return length_of(StringNthField(s, cr.s, StringCountFields(s, cr.s) / 2)); }},
    };
    run_table("Japanese system (code page 932): Shift-JIS text", sjis, sjis_workloads, runs);

    // Texts built to defeat filters: every position a near miss.
    std::vector<Held> runs_of_b;  // full-width b (82 82) repeated: every byte looks like a lead byte
    for (size_t mb : {1u, 2u, 4u, 8u}) {
        std::string bytes;
        for (size_t i = 0; i < mb * 500000; ++i)
            bytes += "\x82\x82";
        runs_of_b.push_back(make_string(bytes, qv::kEncodingShiftJIS));
    }
    Held b_then_a = make_string("\x82\x82\x82\xa0", qv::kEncodingShiftJIS);
    const std::vector<Workload> degenerate_sjis = {
        {"InStrB ｂｂあ (absent)", nullptr, [&](RuntimeString* s) { return long{StringInStrB(1, s, b_then_a.s)}; }},
        {"InStr ｂｂあ (absent)", "InStrB ｂｂあ (absent)",
         [&](RuntimeString* s) { return long{StringInStr(1, s, b_then_a.s)}; }},
        {"ReplaceAllB ｂ -> あ", nullptr,
         [&](RuntimeString* s) {
             Held b(QuavBuildString("\x82\x82", 2)), a(QuavBuildString("\x82\xa0", 2));
             return length_of(StringReplaceAllB(s, b.s, a.s));
         }},
        {"ReplaceAll ｂ -> あ", "ReplaceAllB ｂ -> あ",
         [&](RuntimeString* s) {
             Held b(QuavBuildString("\x82\x82", 2)), a(QuavBuildString("\x82\xa0", 2));
             return length_of(StringReplaceAll(s, b.s, a.s));
         }},
    };
    run_table("Japanese system (code page 932): ｂｂｂ... in Shift-JIS", runs_of_b, degenerate_sjis, runs);
    platform::select_system_code_page_for_tests(0);

    std::vector<Held> runs_of_a;
    for (size_t mb : {1u, 2u, 4u, 8u})
        runs_of_a.push_back(make_string(std::string(mb * 1000000, 'a'), QV_ENCODING_UTF8));
    Held aaab = make_string("AAAB", QV_ENCODING_ASCII);
    Held x = make_string("x", QV_ENCODING_ASCII);
    Held capital_a = make_string("A", QV_ENCODING_ASCII);
    Held small_a = make_string("a", QV_ENCODING_ASCII);
    const std::vector<Workload> degenerate_utf8 = {
        {"InStrB aaab (absent)", nullptr, [&](RuntimeString* s) { return long{StringInStrB(1, s, aaab.s)}; }},
        {"InStr AAAB (absent, any case)", "InStrB aaab (absent)",
         [&](RuntimeString* s) { return long{StringInStr(1, s, aaab.s)}; }},
        {"ReplaceAll AAAB -> x (none)", "InStrB aaab (absent)",
         [&](RuntimeString* s) { return length_of(StringReplaceAll(s, aaab.s, x.s)); }},
        {"ReplaceAllB a -> x", nullptr,
         [&](RuntimeString* s) { return length_of(StringReplaceAllB(s, small_a.s, x.s)); }},
        {"CountFields A (any case)", "ReplaceAllB a -> x",
         [&](RuntimeString* s) { return long{StringCountFields(s, capital_a.s)}; }},
    };
    run_table("Western system: aaaa... in UTF-8", runs_of_a, degenerate_utf8, runs);
    return 0;
}
