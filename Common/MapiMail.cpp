#include "MapiMail.h"

#include "CmdTarget.h"
#include "TraceLog.h"
#include "WinApp.h"
#include "Wnd.h"

#include <cstdlib>
#include <cstring>

HMODULE CMapiMail::s_library = nullptr;
int CMapiMail::s_libraryUsers = 0;
CMapiMail::SendMailFunction CMapiMail::s_override = nullptr;

namespace {

// The framework's standard mail messages. An application string table may hold
// its own texts under these ids; without one the texts below are shown.
const UINT kIdFailedMapiLoad = 0xF190; // 61840
const UINT kIdInvalidMapiDll = 0xF191; // 61841
const UINT kIdFailedMapiSend = 0xF192; // 61842
const char kFailedMapiLoad[] =
    "The mail system could not be loaded. Install a mail client to send mail.";
const char kInvalidMapiDll[] =
    "The mail system is not valid: it cannot send mail from other programs.";
const char kFailedMapiSend[] = "The mail could not be sent.";

void ShowMailMessage(UINT id, const char* fallback) {
    CString text;
    if (!text.LoadString(id) || text.IsEmpty())
        text = fallback;
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION, id);
}

// A private copy of the text, or null for null or when memory runs out.
char* CopyText(const char* text) {
    return text ? strdup(text) : nullptr;
}

} // namespace

void CMapiMail::SetSendMailOverride(SendMailFunction fn) {
    s_override = fn;
}

CMapiMail::CMapiMail()
    : m_error(ERROR_NONE), m_subject(nullptr), m_body(nullptr), m_sendMail(nullptr),
      m_holdsLibrary(false) {
    memset(&m_message, 0, sizeof(m_message));
    memset(&m_originator, 0, sizeof(m_originator));
    m_message.lpOriginator = &m_originator;

    // Counted, so that the library stays loaded while any mail object lives.
    if (!s_library)
        s_library = LoadLibraryA("MAPI32.DLL");
    if (!s_library) {
        KWTRACE_ERROR(
            ("Cannot load MAPI32.DLL (error %lu).", static_cast<unsigned long>(GetLastError())));
        m_error = ERROR_NO_LIBRARY;
        ShowMailMessage(kIdFailedMapiLoad, kFailedMapiLoad);
        return;
    }
    ++s_libraryUsers;
    m_holdsLibrary = true;
    // Through void*, since FARPROC's own parameter list does not match.
    m_sendMail = reinterpret_cast<SendMailFunction>(
        reinterpret_cast<void*>(GetProcAddress(s_library, "MAPISendMail")));
    if (!m_sendMail) {
        KWTRACE_ERROR(("MAPI32.DLL has no MAPISendMail."));
        m_error = ERROR_NO_ENTRY_POINT;
        ShowMailMessage(kIdInvalidMapiDll, kInvalidMapiDll);
        return;
    }
    if (s_override)
        m_sendMail = s_override;
}

CMapiMail::~CMapiMail() {
    FreeAttachments();
    free(m_subject);
    free(m_body);
    if (m_holdsLibrary && --s_libraryUsers == 0) {
        FreeLibrary(s_library);
        s_library = nullptr;
    }
}

void CMapiMail::SetSubject(const char* text) {
    free(m_subject);
    m_subject = CopyText(text);
    m_message.lpszSubject = m_subject;
}

void CMapiMail::SetBody(const char* text) {
    free(m_body);
    m_body = CopyText(text);
}

BOOL CMapiMail::AddAttachment(const char* path, const char* displayName) {
    // Mail clients read every attachment's path; there is no attachment without one.
    if (!path)
        return FALSE;
    ULONG count = m_message.nFileCount;
    MapiFileDesc* files =
        static_cast<MapiFileDesc*>(realloc(m_message.lpFiles, (count + 1) * sizeof(MapiFileDesc)));
    if (!files) {
        m_error = ERROR_NO_MEMORY;
        return FALSE;
    }
    m_message.lpFiles = files;
    MapiFileDesc& file = files[count];
    memset(&file, 0, sizeof(file));
    file.lpszPathName = CopyText(path);
    file.lpszFileName = CopyText(displayName);
    if (!file.lpszPathName || (displayName && !file.lpszFileName)) {
        free(file.lpszPathName);
        free(file.lpszFileName);
        m_error = ERROR_NO_MEMORY;
        return FALSE;
    }
    m_message.nFileCount = count + 1;
    return TRUE;
}

BOOL CMapiMail::Send(ULONG flags) {
    if (!m_sendMail)
        return FALSE;
    CWaitCursor wait;

    // One blank per attachment after the body; the mail client puts each
    // attachment in place of its blank, at the end of the text.
    m_note = m_body ? m_body : "";
    ULONG bodyLength = static_cast<ULONG>(m_note.GetLength());
    for (ULONG i = 0; i < m_message.nFileCount; ++i) {
        m_note += ' ';
        m_message.lpFiles[i].nPosition = bodyLength + i;
    }
    m_message.lpszNoteText = const_cast<char*>(m_note.GetString());

    // The mail client's dialog runs modally against our top-level window.
    CWnd* ownerWnd = CWnd::GetSafeOwner(nullptr);
    HWND owner = ownerWnd ? ownerWnd->GetSafeHwnd() : nullptr;
    if (owner) {
        ::SetCapture(owner);
        ::SetFocus(nullptr);
        ::EnableWindow(owner, FALSE);
    }
    ULONG result =
        m_sendMail(0, reinterpret_cast<ULONG_PTR>(owner), &m_message, flags | MAPI_LOGON_UI, 0);
    if (owner) {
        ::ReleaseCapture();
        ::EnableWindow(owner, TRUE);
        ::SetActiveWindow(nullptr);
        ::SetActiveWindow(owner);
        ::SetFocus(owner);
    }

    FreeAttachments();
    m_message.lpszNoteText = nullptr;

    if (result == SUCCESS_SUCCESS || result == MAPI_USER_ABORT)
        return TRUE;
    // A log-on failure is a failure too: nothing was sent.
    KWTRACE_ERROR(("MAPISendMail failed with %lu.", static_cast<unsigned long>(result)));
    ShowMailMessage(kIdFailedMapiSend, kFailedMapiSend);
    return FALSE;
}

void CMapiMail::FreeAttachments() {
    for (ULONG i = 0; i < m_message.nFileCount; ++i) {
        free(m_message.lpFiles[i].lpszPathName);
        free(m_message.lpFiles[i].lpszFileName);
    }
    free(m_message.lpFiles);
    m_message.lpFiles = nullptr;
    m_message.nFileCount = 0;
    // Nothing of ours is ever put into the recipient array; the message has none.
    m_message.lpRecips = nullptr;
    m_message.nRecipCount = 0;
}
