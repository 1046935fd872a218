// CallListHost.h: ICallListHost, what the Access Panel's trees need of the main
// frame to play a call and to open calls as a new recording list. The main
// window implements it; the trees find it with a dynamic_cast of the program's
// main window and do without it when there is none.
#pragma once

#include "KWArray.h"
#include "KWString.h"

class ICallListHost {
public:
    virtual ~ICallListHost() = default;
    // The playback engine has loaded a recording and started playing it: the
    // player shows that recording and runs its Play action.
    virtual void PlayLoadedRecording() = 0;
    // Opens a new recording list of these recordings, in this order; paths that
    // are listed twice or whose files are missing are left out.
    virtual void OpenRecordingList(const CKWArray<CKWString>& paths) = 0;
};
