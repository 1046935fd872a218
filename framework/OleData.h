// OleData.h: the OLE data classes.
//   COleDataSource  data offered to the clipboard or to a drag: a cache of
//                   formats behind an IDataObject of our own
//   COleDataObject  data received from a drop or from the clipboard: a wrapper
//                   of any IDataObject
//
// Ownership: a data source owns what it caches. Its IDataObject is a separate
// reference-counted object, so a source deleted while OLE still holds the data
// (a drag in another window's hands, a clipboard snapshot) leaves that data valid
// until OLE lets go. Everything handed out (GetData, GetGlobalData) is a copy the
// receiver owns.
//
// Media: CacheGlobalData and TYMED_HGLOBAL are what the application uses; other
// media given to CacheData are lent to the receiver through pUnkForRelease rather
// than copied. SetData, advise sinks and delayed rendering are not offered.
#pragma once

#include "CmdTarget.h"

#include <ole2.h>

// The effect of a drop, a set of DROPEFFECT_* bits.
typedef DWORD DROPEFFECT;

class COleDropSource;
class CDataSourceCache;

class COleDataSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDataSource)
public:
    COleDataSource();
    // Lets go of the cache; OLE users of the data keep it alive until they release it.
    ~COleDataSource() override;

    // Offers hGlobal under cfFormat and takes ownership of it. A format cached
    // again for the same medium replaces the earlier one. FALSE for a null handle
    // or when memory is short; the caller then keeps hGlobal.
    BOOL CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = nullptr);
    // Offers the medium under cfFormat and takes ownership of it (on success the
    // caller must not release it). FALSE for TYMED_NULL or a null medium.
    BOOL CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
    // Drops every cached format.
    void Empty();

    // Runs a modal OLE drag of the cached data; returns the effect the drop had
    // (DROPEFFECT_NONE when cancelled or refused). Defined in OleDragDrop.cpp.
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          LPCRECT lpRectStartDrag = nullptr, COleDropSource* pDropSource = nullptr);

    // The data as an OLE data object, with a new reference the caller releases.
    LPDATAOBJECT GetDataObject() const;

private:
    CDataSourceCache* m_pCache; // one reference, owned; never null
};

// Not a CObject: made on the stack around one drop or one clipboard read.
class COleDataObject {
public:
    COleDataObject() = default;
    // Releases the data object when it was attached with auto-release.
    ~COleDataObject();
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // Wraps lpDataObject; with bAutoRelease the wrapper takes over one reference
    // and releases it later, without it the caller's object is only borrowed.
    void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
    // Gives the data object back without releasing it.
    LPDATAOBJECT Detach();
    // Lets go of the data object (releasing it when attached with auto-release).
    void Release();
    // Attaches a snapshot of the clipboard's contents. FALSE (and nothing attached)
    // when OLE is not initialised on this thread or the clipboard cannot be read.
    BOOL AttachClipboard();

    // The attached object, with a new reference when bAddRef; null when none.
    LPDATAOBJECT GetIDataObject(BOOL bAddRef);

    // TRUE when the data offers cfFormat (on any medium, unless lpFormatEtc names one).
    BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
    // Fills *lpStgMedium, which the caller releases with ReleaseStgMedium.
    BOOL GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
    // The data of cfFormat as global memory the caller owns (GlobalFree); null when
    // the data does not offer it in global memory.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);

private:
    LPDATAOBJECT m_lpDataObject = nullptr;
    BOOL m_bAutoRelease = FALSE;
};

// A copy of hSource in new movable global memory of the same size; null when
// hSource is null or memory is short.
HGLOBAL AfxCopyGlobalMemory(HGLOBAL hSource);
