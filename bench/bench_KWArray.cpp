// CKWArray against std::vector on the same data: appending element by element (both
// grow geometrically, the array by its step of 10 while small) and sorting (Shell
// sort against std::sort), for integers and strings, up to the 100,000 recordings a
// search's criteria may be given. Run through scripts/bench.sh.
#include "native/benchmark.h"

#include "Common/KWArray.h"
#include "Common/KWString.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

void Counts(benchmark::internal::Benchmark* b) {
    b->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000);
}

std::vector<int> RandomInts(int count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(0, count);
    std::vector<int> values(count);
    for (int& value : values)
        value = pick(random);
    return values;
}

// File names as the folder lists and the play history hold them.
std::vector<CKWString> RandomNames(int count, unsigned seed) {
    std::vector<CKWString> names;
    for (int value : RandomInts(count, seed)) {
        CKWString name;
        name.Format("C:\\Recordings\\call %d.zel", value);
        names.push_back(name);
    }
    return names;
}

template <class T> void AddToArray(benchmark::State& state, const std::vector<T>& values) {
    for (auto _ : state) {
        CKWArray<T> array(0, 10);
        for (const T& value : values)
            array.Add(value);
        benchmark::DoNotOptimize(array.GetPtr(0));
    }
    state.SetItemsProcessed(state.iterations() * values.size());
}

template <class T> void PushToVector(benchmark::State& state, const std::vector<T>& values) {
    for (auto _ : state) {
        std::vector<T> vector;
        for (const T& value : values)
            vector.push_back(value);
        benchmark::DoNotOptimize(vector.data());
    }
    state.SetItemsProcessed(state.iterations() * values.size());
}

// Each round sorts the next of several inputs: with one input repeated, the branch
// predictor learns it and small sorts look far faster than they are.
const unsigned kSortInputs = 8;

template <class T> using Inputs = std::vector<std::vector<T>>;

Inputs<int> IntInputs(int count) {
    Inputs<int> inputs;
    for (unsigned i = 0; i < kSortInputs; ++i)
        inputs.push_back(RandomInts(count, 42 + i));
    return inputs;
}

Inputs<CKWString> NameInputs(int count) {
    Inputs<CKWString> inputs;
    for (unsigned i = 0; i < kSortInputs; ++i)
        inputs.push_back(RandomNames(count, 42 + i));
    return inputs;
}

// The copy of the input into the container is left out of the time on both sides.
template <class T> void SortArray(benchmark::State& state, const Inputs<T>& inputs) {
    std::vector<CKWArray<T>> sources(inputs.size());
    for (size_t i = 0; i < inputs.size(); ++i)
        sources[i].AppendItems(inputs[i].data(), static_cast<int>(inputs[i].size()));
    CKWArray<T> array;
    size_t round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        array.Copy(sources[round++ % sources.size()]);
        state.ResumeTiming();
        array.Sort(true, false);
        benchmark::DoNotOptimize(array.GetPtr(0));
    }
    state.SetItemsProcessed(state.iterations() * inputs[0].size());
}

template <class T> void SortVector(benchmark::State& state, const Inputs<T>& inputs) {
    std::vector<T> vector;
    size_t round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        vector = inputs[round++ % inputs.size()];
        state.ResumeTiming();
        std::sort(vector.begin(), vector.end());
        benchmark::DoNotOptimize(vector.data());
    }
    state.SetItemsProcessed(state.iterations() * inputs[0].size());
}

void BM_KWArray_AddInt(benchmark::State& state) {
    AddToArray(state, RandomInts(static_cast<int>(state.range(0)), 42));
}
BENCHMARK(BM_KWArray_AddInt)->Apply(Counts);

void BM_Vector_PushBackInt(benchmark::State& state) {
    PushToVector(state, RandomInts(static_cast<int>(state.range(0)), 42));
}
BENCHMARK(BM_Vector_PushBackInt)->Apply(Counts);

void BM_KWArray_AddString(benchmark::State& state) {
    AddToArray(state, RandomNames(static_cast<int>(state.range(0)), 42));
}
BENCHMARK(BM_KWArray_AddString)->Apply(Counts);

void BM_Vector_PushBackString(benchmark::State& state) {
    PushToVector(state, RandomNames(static_cast<int>(state.range(0)), 42));
}
BENCHMARK(BM_Vector_PushBackString)->Apply(Counts);

void BM_KWArray_SortInt(benchmark::State& state) {
    SortArray(state, IntInputs(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_KWArray_SortInt)->Apply(Counts);

void BM_Vector_StdSortInt(benchmark::State& state) {
    SortVector(state, IntInputs(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_Vector_StdSortInt)->Apply(Counts);

void BM_KWArray_SortString(benchmark::State& state) {
    SortArray(state, NameInputs(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_KWArray_SortString)->Apply(Counts);

void BM_Vector_StdSortString(benchmark::State& state) {
    SortVector(state, NameInputs(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_Vector_StdSortString)->Apply(Counts);

} // namespace
