// CKWString against std::string doing the same work: copy construction, printf-style
// formatting and case-sensitive comparison. Run through scripts/bench.sh.
#include "native/benchmark.h"

#include "Common/KWString.h"

#include <cstdio>
#include <string>

namespace {

// Lengths of a column label, a recording path and a long comment.
void TextLengths(benchmark::internal::Benchmark* b) {
    b->Arg(8)->Arg(64)->Arg(1024);
}

std::string Text(int length) {
    std::string text;
    for (int i = 0; i < length; ++i)
        text += static_cast<char>('a' + i % 26);
    return text;
}

// A path as the folder lists hold them, for the "%s %d" format.
const char kPath[] = "C:\\Recordings\\2024\\03\\line 4\\call.zel";

void BM_KWString_Copy(benchmark::State& state) {
    const CKWString source(Text(static_cast<int>(state.range(0))).c_str());
    for (auto _ : state) {
        CKWString copy(source);
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_KWString_Copy)->Apply(TextLengths);

void BM_StdString_Copy(benchmark::State& state) {
    const std::string source = Text(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::string copy(source);
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_StdString_Copy)->Apply(TextLengths);

void BM_KWString_FormatColumn(benchmark::State& state) {
    int column = 0;
    for (auto _ : state) {
        CKWString text;
        text.Format("Col%d", column++ % 12);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_KWString_FormatColumn);

void BM_StdString_SnprintfColumn(benchmark::State& state) {
    int column = 0;
    for (auto _ : state) {
        char buffer[32];
        int length = snprintf(buffer, sizeof buffer, "Col%d", column++ % 12);
        std::string text(buffer, length);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_StdString_SnprintfColumn);

void BM_StdString_BuildColumn(benchmark::State& state) {
    int column = 0;
    for (auto _ : state) {
        std::string text = "Col" + std::to_string(column++ % 12);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_StdString_BuildColumn);

void BM_KWString_FormatPath(benchmark::State& state) {
    int number = 0;
    for (auto _ : state) {
        CKWString text;
        text.Format("%s %d", kPath, number++);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_KWString_FormatPath);

void BM_StdString_SnprintfPath(benchmark::State& state) {
    int number = 0;
    for (auto _ : state) {
        char buffer[128];
        int length = snprintf(buffer, sizeof buffer, "%s %d", kPath, number++);
        std::string text(buffer, length);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_StdString_SnprintfPath);

void BM_StdString_BuildPath(benchmark::State& state) {
    int number = 0;
    for (auto _ : state) {
        std::string text = kPath;
        text += ' ';
        text += std::to_string(number++);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_StdString_BuildPath);

// Equal texts in separate buffers: the comparison has to read every byte.
void BM_KWString_Compare(benchmark::State& state) {
    const std::string text = Text(static_cast<int>(state.range(0)));
    const CKWString a(text.c_str()), b(text.c_str());
    for (auto _ : state) {
        int result = a.Compare(b);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_KWString_Compare)->Apply(TextLengths);

void BM_StdString_Compare(benchmark::State& state) {
    const std::string a = Text(static_cast<int>(state.range(0))), b = a;
    for (auto _ : state) {
        int result = a.compare(b);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_StdString_Compare)->Apply(TextLengths);

} // namespace
