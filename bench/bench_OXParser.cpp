// COXParser against TinyXML on the same bytes: about 10 MB of a score file and of
// a recording list as the stores write them (declaration where the file has one,
// CR LF lines, three spaces per level). Each iteration builds and frees the whole
// tree. TinyXML reads the bytes in its legacy (8-bit) encoding, as our files are
// in the ANSI code page. Run through scripts/bench.sh; compare bytes_per_second.
//
// Then COXParser alone on documents that declare many entities in their
// DOCTYPE: every declaration adds a key to the parser's entity table, and the
// body refers to a spread of them. The time per entity should stay flat as the
// count grows.
#include "native/benchmark.h"
#include "native/tinyxml.h"

#include "Common/OXParser.h"

#include <cstdio>
#include <malloc.h>
#include <map>
#include <string>

namespace {

// Both parsers free a tree of 50 to 120 MB at each iteration, and
// glibc would hand it back to the system and fault it in again at the next: on
// a busy or virtual machine those faults swamp the parsing. Keeping the freed
// memory measures the parsers on warm memory, the same for both.
struct CWarmHeap {
    CWarmHeap() {
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
        mallopt(M_MMAP_THRESHOLD, 1 << 30);
    }
} g_warmHeap;

const size_t kTargetBytes = 10 * 1024 * 1024;

// Score entries of one scorer each, with the answers of a ten-question form.
std::string ScoreFile() {
    std::string text = "<?xml version=\"1.0\" standalone=\"yes\" ?>\r\n<QuestionsScoringData>\r\n";
    char line[160];
    for (int entry = 0; text.size() < kTargetBytes; ++entry) {
        snprintf(line, sizeof line,
                 "<Entry>\r\n   <ID>%d</ID>\r\n   <UserName>Scorer %d</UserName>\r\n"
                 "   <Value>%.2f</Value>\r\n   <Time>%d</Time>\r\n   <ScoredValues>\r\n",
                 entry % 50, entry % 17, (entry % 1000) / 10.0, 1700000000 + entry);
        text += line;
        for (int question = 0; question < 10; ++question) {
            snprintf(line, sizeof line,
                     "      <Entry>\r\n         <ID>%d</ID>\r\n         <Value>%d</Value>\r\n"
                     "      </Entry>\r\n",
                     question + 1, (entry + question) % 13 - 2);
            text += line;
        }
        text += "   </ScoredValues>\r\n</Entry>\r\n";
    }
    return text + "</QuestionsScoringData>\r\n";
}

// Recording paths on a network share, then the source folder.
std::string RecordingList() {
    std::string text = "<root>\r\n";
    char line[160];
    for (int n = 0; text.size() < kTargetBytes; ++n) {
        snprintf(line, sizeof line,
                 "   <rec>\\\\recorder\\calls\\2024\\%02d\\%02d\\line %d\\%08d.zel</rec>\r\n",
                 n % 12 + 1, n % 28 + 1, n % 8, n);
        text += line;
    }
    return text + "   <Folder>\\\\recorder\\calls</Folder>\r\n</root>\r\n";
}

const std::string& Data(int kind) {
    static const std::string scores = ScoreFile();
    static const std::string list = RecordingList();
    return kind == 0 ? scores : list;
}

void Kinds(benchmark::internal::Benchmark* b) {
    b->ArgName("kind")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
}

// Parses data once per iteration and counts its bytes.
void ParseEachIteration(benchmark::State& state, const std::string& data) {
    for (auto _ : state) {
        COXParser parser;
        if (!parser.Parse(data.c_str()))
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(parser.GetRoot()->GetObjectCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(data.size()));
}

void BM_OXParser_Parse(benchmark::State& state) {
    const std::string& data = Data(static_cast<int>(state.range(0)));
    ParseEachIteration(state, data);
    state.SetLabel(state.range(0) == 0 ? "score file" : "recording list");
}
BENCHMARK(BM_OXParser_Parse)->Apply(Kinds);

void BM_TinyXml_Parse(benchmark::State& state) {
    const std::string& data = Data(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TiXmlDocument document;
        document.Parse(data.c_str(), nullptr, TIXML_ENCODING_LEGACY);
        if (document.Error())
            state.SkipWithError(document.ErrorDesc());
        benchmark::DoNotOptimize(document.RootElement());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(data.size()));
    state.SetLabel(state.range(0) == 0 ? "score file" : "recording list");
}
BENCHMARK(BM_TinyXml_Parse)->Apply(Kinds);

// About 29 bytes per entity, as in the data files that declare them.
std::string EntityDocument(int count) {
    std::string text = "<?xml version=\"1.0\"?>\r\n<!DOCTYPE data [\r\n";
    char line[96];
    for (int n = 0; n < count; ++n) {
        snprintf(line, sizeof line, "<!ENTITY e%d \"value %d\">\r\n", n, n);
        text += line;
    }
    text += "]>\r\n<data>\r\n";
    for (int n = 0; n < count; n += 97) {
        snprintf(line, sizeof line, "   <v>&e%d;</v>\r\n", n);
        text += line;
    }
    return text + "</data>\r\n";
}

const std::string& EntityData(int count) {
    static std::map<int, std::string> documents;
    std::string& document = documents[count];
    if (document.empty())
        document = EntityDocument(count);
    return document;
}

void BM_OXParser_DeclaredEntities(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::string& data = EntityData(count);
    ParseEachIteration(state, data);
    state.counters["per_entity"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * count,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_OXParser_DeclaredEntities)
    ->ArgName("entities")
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond);

} // namespace
