// MouseDrag.h: a drag with the real mouse, scripted from a timer while the
// drag's own loop owns the thread.
#pragma once

#include "framework/Geometry.h"

#include <functional>
#include <vector>

// One stop of a drag: the cursor goes to ptScreen and the drag waits there,
// wiggling by a pixel so that it keeps looking, until ready() holds.
struct DragWaypoint {
    CPoint ptScreen;
    std::function<bool()> ready;
};

// Presses at ptStart, moves past the drag threshold, visits the waypoints, runs
// atDrop at the last one and releases there (Ctrl held at the release when
// bCtrl: Xvfb drops a held Ctrl as soon as the mouse moves). Answers whether
// the script ran to its end; a stalled script releases the button.
bool RunMouseDrag(CPoint ptStart, const std::vector<DragWaypoint>& waypoints, bool bCtrl = false,
                  std::function<void()> atDrop = nullptr);
