// MouseDrag.cpp: the scripted mouse drag.
#include "MouseDrag.h"

#include "SyntheticInput.h"
#include "UiScript.h"

#include <memory>

namespace {

CUiScript::Step Wait(int nTicks) {
    auto pCount = std::make_shared<int>(0);
    return [pCount, nTicks] { return ++*pCount >= nTicks; };
}

} // namespace

bool RunMouseDrag(CPoint ptStart, const std::vector<DragWaypoint>& waypoints, bool bCtrl,
                  std::function<void()> atDrop) {
    std::vector<CUiScript::Step> steps = {
        [=] {
            SendMouseMove(ptStart);
            return true;
        },
        Wait(5),
        [] {
            SendMouseButton(MOUSEEVENTF_LEFTDOWN);
            return true;
        },
        Wait(5),
        [=] {
            SendMouseMove(ptStart + CPoint(4, 3));
            return true;
        },
        Wait(5),
        [=] {
            SendMouseMove(ptStart + CPoint(12, 8));
            return true;
        },
        Wait(10),
    };
    for (const DragWaypoint& waypoint : waypoints) {
        const CPoint pt = waypoint.ptScreen;
        const std::function<bool()> ready = waypoint.ready;
        steps.push_back([=] {
            SendMouseMove(pt);
            return true;
        });
        steps.push_back(Wait(10));
        auto pTicks = std::make_shared<int>(0);
        steps.push_back([=] {
            SendMouseMove(pt + CPoint(++*pTicks % 2, 0));
            return ready();
        });
    }
    steps.push_back([=] {
        if (atDrop)
            atDrop();
        if (bCtrl)
            SendKey(VK_CONTROL, false);
        return true;
    });
    steps.push_back(Wait(20));
    steps.push_back([] {
        SendMouseButton(MOUSEEVENTF_LEFTUP);
        return true;
    });
    steps.push_back(Wait(10));
    steps.push_back([=] {
        if (bCtrl)
            SendKey(VK_CONTROL, true);
        return true;
    });
    CUiScript script([] { SendMouseButton(MOUSEEVENTF_LEFTUP); }, steps);
    const bool bDone = PumpUntil([&] { return script.Finished() || script.Stalled(); });
    Settle(200);
    return bDone && !script.Stalled();
}
