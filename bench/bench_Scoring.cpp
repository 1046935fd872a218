// Benchmarks of call scoring at sizes far beyond everyday use:
// - a "CallScore.xml" of 10,000 call links below 10 forms of 10 scorers each,
//   loaded into the call-score store, then shown: the call-score tree's
//   InitTree and ExpandAll in a window, which fill every group from the store;
// - 10,000 recordings' score files ("<name>_score.xml", three forms of ten
//   questions each), each read (LoadScores) and every score's total computed
//   (ComputeTotal) as the reports do.
// Items per second are call links, or recordings. Run through scripts/bench.sh.
#include "native/benchmark.h"

#include "CallScore.h"
#include "CallScoreTree.h"
#include "ScoredFileListEntry.h"
#include "Scoring/ScoreFormManager.h"
#include "tests/app/StoreTestFolders.h"
#include "tests/support/TempFolder.h"

#include "framework/Ole.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

#include <cstdio>
#include <string>

CWinApp theApp;

namespace {

const int kForms = 10;
const int kScorersPerForm = 10;
const int kLinksPerScorer = 100;
const int kLinks = kForms * kScorersPerForm * kLinksPerScorer;
const int kGroups = 1 + kForms + kForms * kScorersPerForm;

const int kRecordings = 10000;
const int kScoreForms = 3;
const int kQuestions = 10;

// The root, a group per form title, a group per scorer below it and the
// scorer's call links, as the call-score tree files scored calls.
void FillCallScore() {
    delete CCallScore::GetInstance();
    CCallScore* store = CCallScore::GetInstance();
    store->AddEntry({0, -1, "Links to Scored Recordings...", "", 1});
    int id = 1;
    for (int form = 0; form < kForms; ++form) {
        char name[64];
        std::snprintf(name, sizeof(name), "Sales & Service Form %d", form);
        const int formId = id++;
        store->AddEntry({formId, 0, name, "", 1});
        for (int scorer = 0; scorer < kScorersPerForm; ++scorer) {
            std::snprintf(name, sizeof(name), "scorer%02d", scorer);
            const int scorerId = id++;
            store->AddEntry({scorerId, formId, name, "", 2});
            for (int link = 0; link < kLinksPerScorer; ++link) {
                char file[64], target[160];
                std::snprintf(file, sizeof(file), "Call %02d-%02d-%03d.zel", form, scorer, link);
                std::snprintf(target, sizeof(target), "D:\\Recordings & <Calls>\\Line %d\\%s", form,
                              file);
                store->AddEntry({id++, scorerId, file, target, 0});
            }
        }
    }
}

void BM_CallScoreLoad(benchmark::State& state) {
    CStoreTestFolders folders("ZMBenchScoring");
    FillCallScore();
    if (!CCallScore::GetInstance()->Save())
        state.SkipWithError("the call-score store was not saved");
    for (auto _ : state) {
        delete CCallScore::GetInstance();
        CCallScore::GetInstance()->Load();
    }
    if (CCallScore::GetInstance()->GetCount() != kGroups + kLinks)
        state.SkipWithError("the call-score store did not load whole");
    state.SetItemsProcessed(state.iterations() * (kGroups + kLinks));
    delete CCallScore::GetInstance();
}
BENCHMARK(BM_CallScoreLoad)->Unit(benchmark::kMillisecond);

void BM_CallScoreSave(benchmark::State& state) {
    CStoreTestFolders folders("ZMBenchScoring");
    FillCallScore();
    for (auto _ : state) {
        if (!CCallScore::GetInstance()->Save())
            state.SkipWithError("the call-score store was not saved");
    }
    state.SetItemsProcessed(state.iterations() * (kGroups + kLinks));
    delete CCallScore::GetInstance();
}
BENCHMARK(BM_CallScoreSave)->Unit(benchmark::kMillisecond);

// The tree as the Access Panel shows it: emptied and filled at the top level,
// then every group expanded (filled from the store on the way). Argument 1:
// the window is on screen, so the tree draws as it goes; 0: hidden, the
// cost of the store and the tree control alone.
void BM_CallScoreTreeFill(benchmark::State& state) {
    CStoreTestFolders folders("ZMBenchScoring");
    FillCallScore();
    if (!CCallScore::GetInstance()->Save())
        state.SkipWithError("the call-score store was not saved");
    delete CCallScore::GetInstance();
    CCallScore::GetInstance()->Load();
    AfxOleInit();
    CWnd host;
    CCallScoreTree tree;
    const DWORD visible = state.range(0) ? WS_VISIBLE : 0;
    if (!host.CreateEx(0, AfxRegisterWndClass(0), "bench", WS_OVERLAPPEDWINDOW | visible, 0, 0, 400,
                       700, nullptr, nullptr) ||
        !tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES |
                         TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                     CRect(0, 0, 380, 660), &host, 3003)) {
        state.SkipWithError("the tree window was not made");
        return;
    }
    for (auto _ : state) {
        if (!tree.InitTree())
            state.SkipWithError("the tree was not filled");
        tree.ExpandAll();
    }
    if (static_cast<int>(tree.GetCount()) != kGroups + kLinks)
        state.SkipWithError("the tree does not show every record");
    state.SetItemsProcessed(state.iterations() * (kGroups + kLinks));
    tree.DestroyWindow();
    host.DestroyWindow();
    delete CCallScore::GetInstance();
}
BENCHMARK(BM_CallScoreTreeFill)->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(0)->Arg(1);

std::string RecordingPath(int recording) {
    char path[64];
    std::snprintf(path, sizeof(path), "D:\\Calls\\call%05d.zel", recording);
    return path;
}

// Three forms of ten questions; every recording scored on each, its answers
// cycling through the scale with some not applicable.
bool MakeScoreFiles(const CTempFolder& folder) {
    CScoreFormManager* forms = CScoreFormManager::GetInstance();
    forms->Clear();
    forms->SetFolder(CKWString(folder.Path().c_str()));
    for (int f = 0; f < kScoreForms; ++f) {
        CScoreFormEntry form(f);
        char title[32];
        std::snprintf(title, sizeof(title), "Form %d", f);
        form.SetTitle(title);
        for (int q = 0; q < kQuestions; ++q) {
            CQuestion question(100 * f + q);
            question.SetPrompt("How was it?");
            question.SetType(q % 3 ? CQuestion::TYPE_SCALE : CQuestion::TYPE_YESNO);
            question.SetBias(100.0 / kQuestions);
            form.AddQuestion(question);
        }
        if (!forms->AddForm(form))
            return false;
    }
    // One file written through the entry; the others are its copies, which
    // is all the reader can tell apart anyway.
    CScoredFileListEntry first;
    first.SetPath(RecordingPath(0).c_str());
    for (int f = 0; f < kScoreForms; ++f) {
        CScoreFormEntry* form = forms->FindForm(f);
        for (int q = 0; q < kQuestions; ++q)
            form->SetQuestionValue(q, q == 4 ? CQuestion::VALUE_NOT_APPLICABLE : (q * 2) % 12);
        first.SetScore(f, "scorer", form->ComputeTotal(), 1700000000);
    }
    if (!first.SaveScores())
        return false;
    const std::string bytes = ReadWholeFile(std::string(first.GetScoreFilePath()));
    for (int r = 1; r < kRecordings; ++r) {
        char name[32];
        std::snprintf(name, sizeof(name), "call%05d_score.xml", r);
        if (!WriteWholeFile(folder.File(name), bytes))
            return false;
    }
    return true;
}

void BM_ScoreFilesLoadAndTotal(benchmark::State& state) {
    CStoreTestFolders folders("ZMBenchScoring");
    CTempFolder scores;
    if (!MakeScoreFiles(scores)) {
        state.SkipWithError("the score files were not written");
        return;
    }
    CScoreFormManager* forms = CScoreFormManager::GetInstance();
    double sum = 0.0;
    for (auto _ : state) {
        sum = 0.0;
        for (int r = 0; r < kRecordings; ++r) {
            CScoredFileListEntry entry;
            entry.SetPath(RecordingPath(r).c_str());
            entry.LoadScores(TRUE);
            for (auto* score = entry.GetFirstScore(); score; score = entry.GetNextScore()) {
                CScoreFormEntry* form = forms->FindForm(score->FormID);
                if (!form)
                    continue;
                for (const ScoreData& answer : score->Answers) {
                    for (int q = 0; q < form->GetQuestionCount(); ++q) {
                        if (form->GetQuestion(q)->GetID() == answer.QuestionID)
                            form->SetQuestionValue(q, answer.Value);
                    }
                }
                sum += form->ComputeTotal();
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    if (sum <= 0.0)
        state.SkipWithError("no score was read");
    state.counters["total"] = sum;
    state.SetItemsProcessed(state.iterations() * kRecordings);
    CScoreFormManager::DeleteInstance();
}
BENCHMARK(BM_ScoreFilesLoadAndTotal)->Unit(benchmark::kMillisecond);

} // namespace
