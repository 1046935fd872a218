// PlayerDropTarget.h: CPlayerDropTarget, the player form's OLE drop target,
// which admits a drag of exactly one recording (".zel").
//
// Classes: CPlayerDropTarget.
//
// It only decides: over an admitted drag it lets the form accept dropped
// files, so the framework's drop hands the file to the form's WM_DROPFILES;
// over anything else, and when the drag leaves, acceptance is off again.
#pragma once

#include "framework/OleDragDrop.h"

class CPlayerDropTarget : public COleDropTarget {
public:
    // Whether the data is a shell file list of exactly one path whose
    // extension is ".zel" in any case.
    static bool IsOneRecording(COleDataObject* pDataObject);

    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                          CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;
};
