// Benchmarks of a virtual list (LVS_OWNERDATA) of 100,000 rows: setting the row
// count, and scrolling from the top to the bottom one page at a time with a
// paint after each page, the host answering LVN_GETDISPINFO from the row number.
// The scroll runs twice: under a framework host (message map, ON_NOTIFY) and
// under a plain Win32 window procedure, whose difference is the framework's
// share of the cost.
#include "native/benchmark.h"

#include "framework/ListCtrl.h"

#include <cstdio>

namespace {

const UINT kListId = 100;
const int kRows = 100000;

long long g_nRequests = 0; // display-info requests answered, both hosts

// Fills one cell's text as the call-list view does: from the row alone.
void AnswerDispInfo(NMHDR* pNMHDR) {
    auto* pInfo = reinterpret_cast<NMLVDISPINFOA*>(pNMHDR);
    ++g_nRequests;
    if ((pInfo->item.mask & LVIF_TEXT) && pInfo->item.cchTextMax > 0)
        std::snprintf(pInfo->item.pszText, (size_t)pInfo->item.cchTextMax, "%08d %d",
                      pInfo->item.iItem, pInfo->item.iSubItem);
}

class CHostWnd : public CWnd {
protected:
    void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult) {
        AnswerDispInfo(pNMHDR);
        *pResult = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHostWnd, CWnd)
ON_NOTIFY(LVN_GETDISPINFOA, kListId, &CHostWnd::OnGetDispInfo)
END_MESSAGE_MAP()

LRESULT CALLBACK RawHostProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOA) {
        AnswerDispInfo(reinterpret_cast<NMHDR*>(lParam));
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

// A host with a virtual report list of four columns; bRawHost: the host is a
// plain Win32 window instead of a framework window.
struct Fixture {
    CHostWnd host;
    HWND hWndRaw = nullptr;
    CListCtrl list;

    bool Create(bool bRawHost) {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&icc);
        CWnd* pParent = &host;
        if (bRawHost) {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = RawHostProc;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.lpszClassName = "ZmBenchRawHost";
            ::RegisterClassA(&wc);
            hWndRaw =
                ::CreateWindowExA(0, "ZmBenchRawHost", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                  0, 800, 600, nullptr, nullptr, wc.hInstance, nullptr);
            pParent = CWnd::FromHandle(hWndRaw);
            if (pParent == nullptr)
                return false;
        } else if (!host.CreateEx(0, AfxRegisterWndClass(0), "bench",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                                  nullptr)) {
            return false;
        }
        RECT rc = {0, 0, 780, 560};
        if (!list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, rc, pParent, kListId))
            return false;
        for (int i = 0; i < 4; ++i)
            list.InsertColumn(i, "Column", LVCFMT_LEFT, 180);
        return true;
    }
    void Paint() {
        HWND hWnd = hWndRaw != nullptr ? hWndRaw : host.m_hWnd;
        ::RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    void Destroy() {
        list.DestroyWindow();
        if (hWndRaw != nullptr)
            ::DestroyWindow(hWndRaw);
        else
            host.DestroyWindow();
    }
};

void BM_VirtualListSetItemCount(benchmark::State& state) {
    Fixture f;
    if (!f.Create(false)) {
        state.SkipWithError("the list could not be created");
        return;
    }
    for (auto _ : state) {
        f.list.SetItemCountEx(kRows, LVSICF_NOINVALIDATEALL);
        f.Paint();
        f.list.SetItemCountEx(0);
    }
    f.Destroy();
}
BENCHMARK(BM_VirtualListSetItemCount)->Unit(benchmark::kMicrosecond);

// state.range(0): 1 for the plain Win32 host.
void BM_VirtualListScrollTopToBottom(benchmark::State& state) {
    Fixture f;
    if (!f.Create(state.range(0) != 0)) {
        state.SkipWithError("the list could not be created");
        return;
    }
    f.list.SetItemCountEx(kRows, LVSICF_NOINVALIDATEALL);
    f.Paint();
    int nPerPage = f.list.GetCountPerPage();
    long long nPages = 0;
    for (auto _ : state) {
        f.list.EnsureVisible(0, FALSE);
        f.Paint();
        g_nRequests = 0;
        for (int nTop = 0; nTop < kRows; nTop += nPerPage) {
            // One page down, as the scroll bar's page-down does.
            f.list.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
            f.Paint();
            ++nPages;
        }
        if (f.list.GetTopIndex() + nPerPage < kRows)
            state.SkipWithError("the scroll did not reach the bottom");
    }
    state.counters["rows_per_page"] = nPerPage;
    state.counters["dispinfo_per_scroll"] = (double)g_nRequests;
    state.counters["pages"] = benchmark::Counter((double)nPages, benchmark::Counter::kIsRate);
    f.Destroy();
}
BENCHMARK(BM_VirtualListScrollTopToBottom)
    ->ArgName("raw_host")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
