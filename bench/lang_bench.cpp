// The language file's cost on the host: load and index of a full section,
// and one lookup by the binary search over the index and by the scan of the
// text, at a small and at a large number of entries.
#include "app/text.h"
#include "io/error_state.h"
#include "lang/language.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

ErrorState g_ErrorState;
LeadByteTable g_LeadBytes;

namespace {

struct Section {
    std::string Text;
    std::vector<std::string> Keys;
};

// A section of exactly kLanguageSectionSize bytes: the marker line, then
// `entries` entries with distinct keys in no particular order, their texts
// as long as the size allows, CR LF line ends, a few escapes each.
Section MakeSection(int entries) {
    Section s;
    const std::string marker = "***messages**";
    const size_t overhead = 8 + 2 + 1 + 2; // key, =", closing quote, CR LF
    size_t room = kLanguageSectionSize - marker.size() - 2;
    std::string body;
    size_t textLength = room / static_cast<size_t>(entries) - overhead;
    uint32_t seed = 12345;
    for (int i = 0; i < entries; i++) {
        seed = seed * 1103515245u + 12345u;
        char key[9];
        snprintf(key, sizeof(key), "%08x", seed ^ (static_cast<uint32_t>(i) << 20));
        s.Keys.push_back(key);
        std::string text(textLength, 'x');
        for (size_t at = 4; at + 2 <= textLength; at += 24) {
            text[at] = '\\';
            text[at + 1] = 'n';
        }
        body += std::string(key) + "=\"" + text + "\"\r\n";
    }
    // The marker's line, which is never an entry, takes up what is left.
    s.Text = marker + std::string(room - body.size(), ' ') + "\r\n" + body;
    return s;
}

char* SectionBuffer(const Section& s) {
    char* buffer = static_cast<char*>(malloc(kLanguageBufferSize));
    if (!buffer)
        abort();
    memcpy(buffer, s.Text.data(), s.Text.size());
    buffer[kLanguageSectionSize] = 0;
    return buffer;
}

void LoadAndIndex(benchmark::State& state) {
    Section s = MakeSection(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        LanguageResources language;
        language.TakeText(SectionBuffer(s), kLanguageSectionSize);
        benchmark::DoNotOptimize(language.LineIndex.ItemCount);
    }
}

void Lookup(benchmark::State& state, bool binary) {
    Section s = MakeSection(static_cast<int>(state.range(0)));
    LanguageResources language;
    language.TakeText(SectionBuffer(s), kLanguageSectionSize);
    if (language.LineIndex.ItemCount != static_cast<int>(s.Keys.size())) {
        state.SkipWithError("index does not hold every entry");
        return;
    }
    // The keys in a long pseudo-random order, as a program looks up its
    // texts: a short repeating order would let the branch predictor learn
    // the search paths of the small index and flatter it.
    std::vector<const char*> order(65536);
    uint32_t seed = 2463534242u;
    for (const char*& key : order) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        key = s.Keys[seed % s.Keys.size()].c_str();
    }
    size_t next = 0;
    for (auto _ : state) {
        const char* key = order[next];
        int found = binary ? language.FindEntry(key) : language.ScanEntry(key);
        benchmark::DoNotOptimize(found);
        next = (next + 1) & (order.size() - 1);
    }
}

void BinarySearch(benchmark::State& state) {
    Lookup(state, true);
}
void Scan(benchmark::State& state) {
    Lookup(state, false);
}

} // namespace

BENCHMARK(LoadAndIndex)->Arg(100)->Arg(4000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BinarySearch)->Arg(100)->Arg(4000);
BENCHMARK(Scan)->Arg(100)->Arg(4000);

BENCHMARK_MAIN();
