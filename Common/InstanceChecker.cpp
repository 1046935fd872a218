#include "InstanceChecker.h"

#include "TraceLog.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {

const char kMappingSuffix[] = "_CInstanceChecker_MMF";
const char kDataLockSuffix[] = "_CInstanceChecker_Data";
// The published handle: window handles fit 32 bits, and 64-bit processes
// sign-extend them back (LongToHandle), as the platform does between 32- and
// 64-bit programs.
const DWORD kMappingSize = sizeof(DWORD);
// A first instance that does not answer must not keep the second one, which
// holds the start-up mutex and so every later start, waiting for ever.
const UINT kCopyDataTimeoutMs = 10000;

// Holds the mapping that this process published until the process ends: while
// a handle to it is open, other instances find it.
class CInstanceMMF {
public:
    ~CInstanceMMF() { Keep(nullptr); }
    // A process publishes one instance at a time; an earlier mapping is closed.
    void Keep(HANDLE mapping) {
        if (m_mapping)
            CloseHandle(m_mapping);
        m_mapping = mapping;
    }

private:
    HANDLE m_mapping = nullptr; // owns
};

CInstanceMMF g_instanceMMF;

} // namespace

// The data lock is named too: an unnamed one would order nothing between the
// processes that write and read the handle.
CInstanceChecker::CInstanceChecker(LPCSTR identifier)
    : m_dataLock(FALSE, CString(identifier) + kDataLockSuffix), m_startupMutex(FALSE, identifier),
      m_name(identifier) {}

CInstanceChecker::~CInstanceChecker() {
    ReleaseStartupLock();
}

CString CInstanceChecker::GetMMFFilename() const {
    return m_name + kMappingSuffix;
}

HWND CInstanceChecker::GetWindowToPublish() const {
    CWnd* mainWnd = AfxGetMainWnd();
    return mainWnd ? mainWnd->GetSafeHwnd() : nullptr;
}

void CInstanceChecker::LockStartup() {
    if (!m_startupLock)
        m_startupLock.reset(new CSingleLock(&m_startupMutex));
    m_startupLock->Lock(INFINITE);
}

void CInstanceChecker::ReleaseStartupLock() {
    m_startupLock.reset();
}

bool CInstanceChecker::IsOtherInstanceRunning() const {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, GetMMFFilename());
    if (!mapping)
        return false;
    CloseHandle(mapping);
    return true;
}

bool CInstanceChecker::PublishFirstInstance() {
    bool published = false;
    if (!IsOtherInstanceRunning()) {
        HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            kMappingSize, GetMMFFilename());
        if (!mapping) {
            KWTRACE_ERROR(("Failed to create the MMF even though this is the first instance, you "
                           "might want to consider overriding GetMMFFilename()\n"));
        } else if (GetLastError() == ERROR_ALREADY_EXISTS) {
            // Another instance published since the check; its handle stays.
            CloseHandle(mapping);
        } else if (void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, kMappingSize)) {
            {
                CSingleLock lock(&m_dataLock, TRUE);
                *static_cast<volatile DWORD*>(view) =
                    static_cast<DWORD>(HandleToULong(GetWindowToPublish()));
            }
            UnmapViewOfFile(view);
            g_instanceMMF.Keep(mapping);
            published = true;
        } else {
            // A mapping left holding 0 would make every later instance quit
            // without showing anything.
            KWTRACE_ERROR(
                ("CInstanceChecker: the mapping could not be mapped (error %u)\n", GetLastError()));
            CloseHandle(mapping);
        }
    }
    ReleaseStartupLock();
    return published;
}

HWND CInstanceChecker::ActivateOtherInstance(LPCSTR text, DWORD value) {
    HWND published = nullptr;
    if (HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, GetMMFFilename())) {
        if (void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, kMappingSize)) {
            CSingleLock lock(&m_dataLock, TRUE);
            published = static_cast<HWND>(LongToHandle(*static_cast<volatile LONG*>(view)));
            lock.Unlock();
            UnmapViewOfFile(view);
        }
        CloseHandle(mapping);
    }

    if (published && IsWindow(published)) {
        if (IsIconic(published))
            ShowWindow(published, SW_RESTORE);
        SetForegroundWindow(GetLastActivePopup(published));
        if (text) {
            COPYDATASTRUCT data = {};
            data.dwData = value;
            data.cbData = lstrlenA(text) + 1;
            data.lpData = const_cast<LPSTR>(text);
            DWORD_PTR result = 0;
            SendMessageTimeoutA(
                published, WM_COPYDATA, reinterpret_cast<WPARAM>(GetWindowToPublish()),
                reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kCopyDataTimeoutMs, &result);
        }
    }
    ReleaseStartupLock();
    return published;
}
