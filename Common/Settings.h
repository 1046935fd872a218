// Settings.h: CSettings, the process-wide store of the application's settings,
// and LocationSetting, a storage location of the call scoring.
//
// Files, all in the configuration folders of CKWSysUtils:
//   "global.xml"  all-users, product "Zel Moxel": GlobalSettings
//   "config.xml"  product "Zel Config", all-users when GlobalSettings is 1, else
//                 per-user: BlockExport, DisableDelete
//   "config.xml"  per-user, product "Zel Moxel": every user setting; written at exit
//   "branding.xml" all-users, product "Zel Moxel": ResourceFile
// Each holds a root element with "section" children; the settings are the child
// elements of the first section whose "name" is "settings".
// The company and product names are strings 1000, 128 and 159 of the string
// table, read at every call; without those strings they are "Brennix",
// "Zel Moxel" and "Zel Config".
//
// The per-user "config.xml" is readable by its owner only, since it may hold the
// recordings' passphrase. A file that is not UTF-8 is read in the ANSI code
// page, and an empty one as no file. Anything else there that cannot be read at
// start-up (or a folder of that name) is renamed to
// "config.xml.unreadable-YYYYMMDD-HHMMSS" beside it, never over an earlier one,
// and the user is told so in a message box (AfxMessageBox); the settings are
// then saved at exit as usual. When it cannot be renamed, it is kept as it is
// rather than replaced at exit, and the user is told that too.
#pragma once

#include "AfxString.h"
#include "Collections.h"

class CKWLoggedSemaphore;

struct LocationSetting {
    enum { MODE_USER = 0, MODE_ALL_USERS = 1, MODE_CUSTOM = 2 };
    int Mode;       // MODE_*
    CString Folder; // the custom folder (MODE_CUSTOM)
};

class CSettings {
public:
    enum { COLUMN_COUNT = 12 };

    // Created on first use without a lock; the application saves and deletes it
    // at exit.
    static CSettings* GetInstance();
    static void DeleteInstance();
    ~CSettings();
    CSettings(const CSettings&) = delete;
    CSettings& operator=(const CSettings&) = delete;

    // Load, Save and LoadBranding hold the settings lock while they read or
    // write (Load not while it tells the user of an unreadable file); the
    // accessors do not and belong to the user-interface thread.
    void Load();
    // False when the per-user file could not be written (a read-only file is
    // not replaced), or was kept because it could neither be read nor renamed
    // at start-up.
    bool Save();
    CString LoadBranding();

    int GetColumnWidth(int index) const;
    void SetColumnWidth(int index, int width);
    BOOL GetShowHistory() const { return m_showHistory; }
    void SetShowHistory(BOOL show) { m_showHistory = show; }
    BOOL GetSavePassphrase() const { return m_savePassphrase; }
    void SetSavePassphrase(BOOL save) { m_savePassphrase = save; }
    CString GetPassphrase() const;
    void SetPassphrase(const char* text);
    BOOL IsExportBlocked() const { return m_blockExport != 0; }
    BOOL IsDeleteDisabled() const { return m_disableDelete != 0; }
    void GetCallScoreLocation(LocationSetting& location) const { location = m_callScore; }
    void SetCallScoreLocation(const LocationSetting& location) { m_callScore = location; }
    void GetCallScoreFormLocation(LocationSetting& location) const { location = m_scoreForm; }
    void SetCallScoreFormLocation(const LocationSetting& location) { m_scoreForm = location; }

    // The configuration folder of the product, per-user or all-users, created
    // when missing, with the file name appended.
    static CString GetConfigFilePath(BOOL allUsers, const char* fileName);
    static CString GetSharedConfigFilePath(BOOL allUsers, const char* fileName);

    // test seam: folder names used in place of the string table's, so that each
    // test has folders of its own (nullptr restores the string table's)
    static void SetFolderNamesOverride(const char* company, const char* product,
                                       const char* sharedProduct);

private:
    CSettings();
    // Load's work under the lock; notice receives what the user is to be told.
    void LoadLocked(CString& notice);

    CKWLoggedSemaphore* m_lock; // owns; null when it could not be allocated
    CArray<int> m_columnWidths; // COLUMN_COUNT entries
    int m_disableDelete;
    int m_blockExport;
    int m_showHistory;
    CString m_passphrase;
    int m_savePassphrase;
    LocationSetting m_callScore;
    LocationSetting m_scoreForm;
    // Set when the per-user file could neither be read nor renamed: saving over
    // it would throw away whatever the user had in it.
    bool m_keepOwnFile;

    static CSettings* s_instance;
};
