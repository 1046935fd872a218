// MapiMail.h: CMapiMail, a message with file attachments handed to the user's
// mail client through Simple MAPI.
//
// "MAPI32.DLL" is loaded at run time, so the program runs without a mail client;
// mailing then fails with a message. No recipients are added: the mail client's
// own dialog lets the user address the message. The library handle is one per
// process, loaded by the first live object and released by the last; objects are
// used one at a time on the user-interface thread.
#pragma once

#include <windows.h>

#include <mapi.h>

#include "AfxString.h"

class CMapiMail {
public:
    enum {
        ERROR_NONE = 0,
        ERROR_NO_LIBRARY = 1,
        ERROR_NO_ENTRY_POINT = 2,
        ERROR_NO_MEMORY = 5,
    };

    CMapiMail();
    ~CMapiMail();
    CMapiMail(const CMapiMail&) = delete;
    CMapiMail& operator=(const CMapiMail&) = delete;

    void SetSubject(const char* text);
    void SetBody(const char* text);
    // displayName null: the mail client shows the file's own name. False for a
    // null path, and with ERROR_NO_MEMORY when the list cannot grow.
    BOOL AddAttachment(const char* path, const char* displayName = nullptr);
    // Sends once; true when the mail client took the message or the user
    // cancelled it. Every caller passes MAPI_DIALOG.
    BOOL Send(ULONG flags);
    int GetError() const { return m_error; }

    // test seam: replaces the MAPISendMail that the constructor resolves (nullptr restores)
    typedef ULONG(WINAPI* SendMailFunction)(LHANDLE, ULONG_PTR, lpMapiMessage, FLAGS, ULONG);
    static void SetSendMailOverride(SendMailFunction fn);

private:
    void FreeAttachments();

    MapiMessage m_message;       // its arrays and texts point into this object
    MapiRecipDesc m_originator;  // zeroed; m_message.lpOriginator points here
    int m_error;                 // ERROR_*
    CString m_note;              // the note text as sent
    char* m_subject;             // owns (malloc), or null
    char* m_body;                // owns (malloc), or null
    SendMailFunction m_sendMail; // from the library, or null
    bool m_holdsLibrary;         // counted in s_libraryUsers

    static HMODULE s_library; // owned by the live objects together
    static int s_libraryUsers;
    static SendMailFunction s_override;
};
