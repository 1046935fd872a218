// ShortcutBarOwner.h: CShortcutBarOwner, the owner window of a shortcut bar
// (or of a lone shortcut-bar list) in tests. It records every shortcut-bar
// notification it receives, in order, and answers chosen codes with a chosen
// result, so a test can watch what the bar tells its owner and veto changes.
//
//     CShortcutBarOwner owner;
//     ASSERT_TRUE(owner.Make());                  // a shown popup, 320 x 420 at (100, 100)
//     COXShortcutBar bar;
//     ASSERT_TRUE(bar.Create(&owner, CRect(0, 0, 200, 300), 0, 1));
//     owner.Answer(SHBN_DELETINGGROUP, 1);        // the owner refuses deletions
//     EXPECT_FALSE(bar.DeleteGroup(hGroup));
//     EXPECT_EQ(1, owner.Count(SHBN_DELETINGGROUP));
//     EXPECT_EQ(hGroup, owner.Last(SHBN_DELETINGGROUP)->hGroup);
//     owner.Answer(SHBN_DELETINGGROUP, 0);        // back to agreeing
//     owner.Clear();                              // forget what was seen
//
// m_onNotify, when set, runs first for every shortcut-bar notification with
// the live record (it may fill the record's data, e.g. a drop target for
// SHBN_GETDROPTARGET); a nonzero return is the answer. Otherwise the code's
// answer from Answer() is returned, 0 when none was set.
#pragma once

#include "toolkit/OXShortcutBarDefs.h"

#include "framework/Wnd.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class CShortcutBarOwner : public CWnd {
public:
    // One notification as it arrived.
    struct Seen {
        UINT code;
        HWND hwndFrom;
        UINT_PTR idFrom;
        HSHBGROUP hGroup;
        int nItem;
        LPARAM lParam;
        // The text lParam points to, for the codes that carry one (the edits'
        // begin and end), read during the call; empty otherwise.
        std::string sText;
    };

    // hbrBackground, when given, paints the owner's background.
    BOOL Make(const CRect& rect = CRect(100, 100, 420, 520), HBRUSH hbrBackground = nullptr) {
        return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, nullptr, hbrBackground),
                        "shortcut bar owner", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, rect.left,
                        rect.top, rect.Width(), rect.Height(), nullptr, nullptr);
    }

    // The result the owner gives for nCode from now on.
    void Answer(UINT nCode, LRESULT lResult) { m_answers[nCode] = lResult; }
    void Clear() { m_seen.clear(); }

    const std::vector<Seen>& All() const { return m_seen; }
    std::vector<UINT> Codes() const {
        std::vector<UINT> codes;
        for (const Seen& seen : m_seen)
            codes.push_back(seen.code);
        return codes;
    }
    int Count(UINT nCode) const {
        int nCount = 0;
        for (const Seen& seen : m_seen)
            nCount += seen.code == nCode;
        return nCount;
    }
    // The latest notification of nCode; null when none came.
    const Seen* Last(UINT nCode) const {
        for (auto it = m_seen.rbegin(); it != m_seen.rend(); ++it)
            if (it->code == nCode)
                return &*it;
        return nullptr;
    }

    std::function<LRESULT(NMSHORTCUTBAR&)> m_onNotify;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NOTIFY) {
            NMHDR* pHeader = reinterpret_cast<NMHDR*>(lParam);
            if (pHeader->code >= SHBN_DRAGENTER && pHeader->code <= SHBN_CONTEXTMENU)
                return OnShortcutBarNotify(*reinterpret_cast<NMSHORTCUTBAR*>(lParam));
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

    // Runs for every notification just after its record joins All() (it is
    // All().back()) and before m_onNotify, so that a derived owner can note
    // more of the notification beside it.
    virtual void OnSeen(const NMSHORTCUTBAR& nmshb) { (void)nmshb; }

private:
    LRESULT OnShortcutBarNotify(NMSHORTCUTBAR& nmshb) {
        Seen seen = {nmshb.hdr.code, nmshb.hdr.hwndFrom, nmshb.hdr.idFrom, nmshb.hGroup,
                     nmshb.nItem,    nmshb.lParam,       std::string()};
        switch (nmshb.hdr.code) {
        case SHBN_BEGINHEADEREDIT:
        case SHBN_ENDHEADEREDIT:
        case SHBN_BEGINITEMEDIT:
        case SHBN_ENDITEMEDIT:
            if (nmshb.lParam != 0)
                seen.sText = reinterpret_cast<const char*>(nmshb.lParam);
            break;
        default:
            break;
        }
        m_seen.push_back(seen);
        OnSeen(nmshb);
        if (m_onNotify) {
            if (LRESULT lResult = m_onNotify(nmshb))
                return lResult;
        }
        auto it = m_answers.find(nmshb.hdr.code);
        return it != m_answers.end() ? it->second : 0;
    }

    std::vector<Seen> m_seen;
    std::map<UINT, LRESULT> m_answers;
};
