// Benchmarks of the application's stores at sizes far beyond their usual tens
// of records: a hot-list store of 10,000 call links in 100 lists loaded from
// "hotlist.xml", walked list by list (FindFirst/FindNext), looked up record by
// record (GetEntry) and saved; and a phone book of 100,000 rows imported from
// a CSV file, with its copy to "phonebook.csv". Every query of the tree stores
// is a linear scan, so a lookup costs in proportion to the store's size.
// Items per second are records (rows, lookups) per second. Run through
// scripts/bench.sh.
#include "native/benchmark.h"

#include "HotLists.h"
#include "PhoneBook.h"
#include "tests/app/StoreTestFolders.h"

#include <cstdio>
#include <string>

namespace {

const int kLists = 100;
const int kLinksPerList = 100;
const int kLinks = kLists * kLinksPerList;
const int kPhoneRows = 100000;

// The root group 0, lists 1..kLists below it, and each list's links below it,
// named as the player names them.
CHotLists* FilledHotLists() {
    delete CHotLists::GetInstance();
    CHotLists* store = CHotLists::GetInstance();
    store->AddEntry({0, -1, "Links to Recordings...", "", 1});
    for (int list = 1; list <= kLists; ++list) {
        char name[32];
        std::snprintf(name, sizeof(name), "Review %d", list);
        store->AddEntry({list, 0, name, "", 1});
    }
    int id = kLists + 1;
    for (int list = 1; list <= kLists; ++list) {
        for (int link = 0; link < kLinksPerList; ++link, ++id) {
            char name[64], target[128];
            std::snprintf(name, sizeof(name), "Call %05d.zel", id);
            std::snprintf(target, sizeof(target), "D:\\Recordings & Calls\\Line %d\\%s", list,
                          name);
            store->AddEntry({id, list, name, target, 0});
        }
    }
    return store;
}

void BM_HotListLoad(benchmark::State& state) {
    CStoreTestFolders folders("ZMBenchStores");
    if (!FilledHotLists()->Save())
        state.SkipWithError("the hot lists were not saved");
    for (auto _ : state) {
        delete CHotLists::GetInstance();
        CHotLists::GetInstance()->Load();
    }
    if (CHotLists::GetInstance()->GetCount() != 1 + kLists + kLinks)
        state.SkipWithError("the hot lists did not load whole");
    state.SetItemsProcessed(state.iterations() * (1 + kLists + kLinks));
    delete CHotLists::GetInstance();
}
BENCHMARK(BM_HotListLoad)->Unit(benchmark::kMillisecond);

// Every list's links, as a tree fills each list on its first expansion.
void BM_HotListChildrenWalk(benchmark::State& state) {
    CHotLists* store = FilledHotLists();
    int visited = 0;
    for (auto _ : state) {
        visited = 0;
        for (int list = 1; list <= kLists; ++list) {
            for (CHotLists::HOTLISTENTRY* e = store->FindFirst(list, CHotLists::FIND_BY_PARENT); e;
                 e = store->FindNext(list, CHotLists::FIND_BY_PARENT))
                ++visited;
        }
        benchmark::DoNotOptimize(visited);
    }
    if (visited != kLinks)
        state.SkipWithError("the walk missed links");
    state.SetItemsProcessed(state.iterations() * kLinks);
    delete store;
}
BENCHMARK(BM_HotListChildrenWalk)->Unit(benchmark::kMillisecond);

// Every link looked up by its ID, as a tree does for each item it shows.
void BM_HotListGetEntry(benchmark::State& state) {
    CHotLists* store = FilledHotLists();
    for (auto _ : state) {
        for (int id = kLists + 1; id <= kLists + kLinks; ++id)
            benchmark::DoNotOptimize(store->GetEntry(id));
    }
    state.SetItemsProcessed(state.iterations() * kLinks);
    delete store;
}
BENCHMARK(BM_HotListGetEntry)->Unit(benchmark::kMillisecond);

void BM_HotListSave(benchmark::State& state) {
    CStoreTestFolders folders("ZMBenchStores");
    CHotLists* store = FilledHotLists();
    for (auto _ : state) {
        if (!store->Save())
            state.SkipWithError("the hot lists were not saved");
    }
    state.SetItemsProcessed(state.iterations() * (1 + kLists + kLinks));
    delete store;
}
BENCHMARK(BM_HotListSave)->Unit(benchmark::kMillisecond);

void BM_PhoneBookImport(benchmark::State& state) {
    CStoreTestFolders folders("ZMBenchStores");
    CTempFolder files;
    std::string csv = "Name,Number\r\n";
    for (int row = 0; row < kPhoneRows; ++row) {
        char line[64];
        std::snprintf(line, sizeof(line), "\"Caller %06d\",9555%07d\r\n", row, row);
        csv += line;
    }
    const std::string path = files.File("phonebook-import.csv");
    if (!WriteWholeFile(path, csv))
        state.SkipWithError("the CSV file was not written");
    CPhoneBook* book = CPhoneBook::GetInstance();
    for (auto _ : state) {
        if (book->ImportCsv(path.c_str()) != kPhoneRows)
            state.SkipWithError("the import did not read every row");
    }
    state.SetItemsProcessed(state.iterations() * kPhoneRows);
    delete book;
}
BENCHMARK(BM_PhoneBookImport)->Unit(benchmark::kMillisecond);

} // namespace
