// PlayerFrameFixture.h: what the player tests share: an application object
// with the program's skin that answers message boxes from a queue, a main
// frame that docks the Player Panel at the bottom as the program's frame does,
// hands the sound device's finished buffers to the playback engine (only
// those: the close of a device paused a moment ago arrives after the resume
// opened the next one, and would stop it), keeps the
// private messages the player posts, and recordings written byte by byte.
//
// Classes: CPlayerTestApp, CPlayerTestFrame; MakeZel.
#pragma once

#include "AppMessages.h"
#include "PlayerBar.h"
#include "PlayerForm.h"
#include "resource.h"

#include "Common/KWString.h"
#include "Common/PlaybackManager.h"
#include "toolkit/OXSizeDockBar.h"
#include "toolkit/OXSkinnedApp.h"
#include "framework/FrameWnd.h"

#include "tests/app/SkinnedAnsweringApp.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/RecordingFixtures.h"

#include <mmsystem.h>

#include <deque>
#include <string>
#include <vector>

using CPlayerTestApp = CSkinnedAnsweringApp;

// One private message the frame received, its heap path taken over and freed.
struct SPosted {
    UINT message;
    WPARAM wParam;
    bool hasPath;
    std::string path;
};

class CPlayerTestFrame : public CFrameWnd {
public:
    // Makes the frame (the main window) at rect with the Player Panel docked
    // at the bottom, lets the form make itself ready and gives the engine the
    // frame as its notify window; false on failure (the object is then gone
    // only when its window was made).
    bool Make(const RECT& rect, CRuntimeClass* pFormClass = RUNTIME_CLASS(CPlayerForm)) {
        CRect rcFirst(rect);
        rcFirst.right -= 40;
        if (!Create(nullptr, "Player", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rcFirst))
            return false;
        AfxGetApp()->m_pMainWnd = this;
        EnableDocking(CBRS_ALIGN_ANY, RUNTIME_CLASS(COXSizeDockBar));
        if (!m_bar.Create(this, pFormClass, nullptr, "Player Panel",
                          WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM,
                          IDC_PLAYER_PANEL))
            return false;
        m_bar.SetBarStyle(m_bar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
        m_bar.EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
        DockControlBar(&m_bar, AFX_IDW_DOCKBAR_BOTTOM);
        RecalcLayout();
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        // The form fits its host frame to its template at the initial update;
        // the program then shows its frame maximised, which lays the panel
        // out again at its full width.
        MoveWindow(&rect);
        CPlaybackManager::GetInstance()->SetNotifyWindow(this);
        return true;
    }

    // The form the bar's host frame made, or null.
    CPlayerForm* GetForm() const {
        CFrameWnd* pHost = m_bar.GetHostFrame();
        CWnd* pPane = pHost != nullptr ? pHost->GetDlgItem(AFX_IDW_PANE_FIRST) : nullptr;
        return pPane != nullptr
                   ? dynamic_cast<CPlayerForm*>(CWnd::FromHandlePermanent(pPane->m_hWnd))
                   : nullptr;
    }

    // The messages of one kind received so far.
    std::vector<SPosted> Received(UINT message) const {
        std::vector<SPosted> out;
        for (const SPosted& posted : m_posted)
            if (posted.message == message)
                out.push_back(posted);
        return out;
    }

    CPlayerBar m_bar;
    std::vector<SPosted> m_posted;

protected:
    afx_msg LRESULT OnWaveOut(WPARAM wParam, LPARAM lParam) {
        CPlaybackManager::GetInstance()->OnWaveOutMessage(MM_WOM_DONE, wParam, lParam);
        return 0;
    }
    afx_msg LRESULT OnPrivate(WPARAM wParam, LPARAM lParam) {
        const CKWString* pPath = reinterpret_cast<CKWString*>(lParam);
        m_posted.push_back({static_cast<UINT>(GetCurrentMessage()->message), wParam,
                            pPath != nullptr, pPath != nullptr ? std::string(*pPath) : ""});
        delete pPath;
        return 0;
    }
    afx_msg LRESULT OnReloadHotLists(WPARAM wParam, LPARAM lParam) {
        m_posted.push_back({WM_RELOAD_HOTLISTS, wParam, lParam != 0, ""});
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

// Each test program includes this header once.
// clang-format off
BEGIN_MESSAGE_MAP(CPlayerTestFrame, CFrameWnd)
    ON_MESSAGE(MM_WOM_DONE, &CPlayerTestFrame::OnWaveOut)
    ON_MESSAGE(WM_RECORDING_CHANGED, &CPlayerTestFrame::OnPrivate)
    ON_MESSAGE(WM_BOOKMARK_CHANGED, &CPlayerTestFrame::OnPrivate)
    ON_MESSAGE(WM_RELOAD_HOTLISTS, &CPlayerTestFrame::OnReloadHotLists)
END_MESSAGE_MAP()
// clang-format on

// A mu-law recording of the test signal, seconds long, with the header's
// fields (the format and duration are set here).
inline std::string MakeZel(int32_t seconds, RecordingFields fields = RecordingFields(),
                           uint32_t seed = 1) {
    fields.format = 7; // mu-law
    fields.duration = seconds;
    return MakeHeaderV2to4(4, 1440, fields) + EncodeMuLaw(MakeTestSignal(seconds * 8000, seed));
}
