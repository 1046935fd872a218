#include "Settings.h"

#include "KWSemaphore.h"
#include "KWSysUtils.h"
#include "KWXMLSettings.h"
#include "SetAsideFile.h"
#include "TraceLog.h"

#include "framework/WinApp.h"

#include <new>

CSettings* CSettings::s_instance = nullptr;

namespace {

// String-table ids of the folder names, and the names used when the table
// lacks them.
const UINT kCompanyStringId = 1000;
const UINT kProductStringId = 128;
const UINT kSharedProductStringId = 159;
const char kCompanyName[] = "Brennix";
const char kProductName[] = "Zel Moxel";
const char kSharedProductName[] = "Zel Config";

const int kDefaultColumnWidths[CSettings::COLUMN_COUNT] = {40,  25, 100, 100, 58, 130,
                                                           100, 40, 225, 58,  50, 50};

const char kGlobalFile[] = "global.xml";
const char kConfigFile[] = "config.xml";
const char kBrandingFile[] = "branding.xml";

bool g_namesOverridden = false;
CString g_companyOverride;
CString g_productOverride;
CString g_sharedProductOverride;

CString LoadName(UINT id, const char* fallback) {
    CString name;
    if (!name.LoadString(id) || name.IsEmpty())
        name = fallback;
    return name;
}

CString ConfigPath(const CString& company, const CString& product, BOOL allUsers,
                   const char* fileName) {
    CKWString folder = CKWSysUtils::GetInstance()->GetConfigurationFolder(
        CKWString(company), CKWString(product), allUsers != FALSE);
    CString path(static_cast<const char*>(folder));
    path += fileName;
    return path;
}

// The first "section" child of the root whose "name" is "settings" (exact case).
TiXmlElement* FindSettingsSection(CKWXMLSettings* xml) {
    for (TiXmlElement* section = CKWXMLSettings::GetChild(xml->GetRootElement(), "section");
         section; section = CKWXMLSettings::NextSibling(section, "section")) {
        CString name;
        if (CKWXMLSettings::GetStringAttribute(section, "name", name, "") && name == "settings")
            return section;
    }
    return nullptr;
}

// Loads the file into the shared document and returns its settings section,
// or null when the file is missing, unreadable or has no such section.
TiXmlElement* LoadSettingsSection(CKWXMLSettings* xml, const CString& path) {
    CString rootName, version;
    if (!xml->Load(path, rootName, version))
        return nullptr;
    return FindSettingsSection(xml);
}

int ReadInt(TiXmlElement* section, const char* name, int defaultValue) {
    int value;
    CKWXMLSettings::GetIntValue(CKWXMLSettings::GetChild(section, name), value, defaultValue);
    return value;
}

CString ReadString(TiXmlElement* section, const char* name) {
    CString value;
    CKWXMLSettings::GetStringValue(CKWXMLSettings::GetChild(section, name), value, "");
    return value;
}

void WriteInt(TiXmlElement* section, const char* name, int value) {
    CKWXMLSettings::AddIntText(CKWXMLSettings::AddElement(section, name), value);
}

void WriteString(TiXmlElement* section, const char* name, const char* text) {
    CKWXMLSettings::AddText(CKWXMLSettings::AddElement(section, name), text);
}

} // namespace

CSettings* CSettings::GetInstance() {
    if (!s_instance)
        s_instance = new CSettings;
    return s_instance;
}

void CSettings::DeleteInstance() {
    delete s_instance;
    s_instance = nullptr;
}

CSettings::CSettings()
    : m_lock(new (std::nothrow) CKWLoggedSemaphore("SETTINGS", false)), m_disableDelete(0),
      m_blockExport(0), m_showHistory(1),
      m_savePassphrase(0), m_callScore{LocationSetting::MODE_ALL_USERS, CString()},
      m_scoreForm{LocationSetting::MODE_ALL_USERS, CString()}, m_keepOwnFile(false) {
    if (!m_lock)
        KWTRACE_ERROR(("Failed to allocate memory for file list semaphore."));
    m_columnWidths.SetSize(COLUMN_COUNT);
    for (int i = 0; i < COLUMN_COUNT; ++i)
        m_columnWidths[i] = kDefaultColumnWidths[i];
}

CSettings::~CSettings() {
    delete m_lock;
    if (s_instance == this)
        s_instance = nullptr;
}

void CSettings::Load() {
    CString notice;
    LoadLocked(notice);
    // Told once the lock is free, since the box runs a message loop. The file
    // is out of the way afterwards, so the next start does not tell it again.
    if (!notice.IsEmpty())
        AfxMessageBox(notice, MB_OK | MB_ICONEXCLAMATION);
}

void CSettings::LoadLocked(CString& notice) {
    CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
    CKWXMLSettings* xml = CKWXMLSettings::GetInstance();

    int globalSettings = 0;
    if (TiXmlElement* section = LoadSettingsSection(xml, GetConfigFilePath(TRUE, kGlobalFile)))
        globalSettings = ReadInt(section, "GlobalSettings", 0);

    CString sharedPath = GetSharedConfigFilePath(globalSettings == 1, kConfigFile);
    if (TiXmlElement* section = LoadSettingsSection(xml, sharedPath)) {
        m_blockExport = ReadInt(section, "BlockExport", 0);
        m_disableDelete = ReadInt(section, "DisableDelete", 0);
    }

    CString ownPath = GetConfigFilePath(FALSE, kConfigFile);
    CString rootName, version;
    bool loaded = xml->Load(ownPath, rootName, version);
    m_keepOwnFile = false;
    if (!loaded && HoldsSomething(ownPath)) {
        // Whatever the user had in it is kept under another name, so that the
        // settings can be saved again.
        CString backup;
        if (MoveAside(ownPath, backup)) {
            KWTRACE_ERROR(
                ("%s cannot be read; kept as %s.", ownPath.GetString(), backup.GetString()));
            notice.Format("Your settings could not be read from\n%s\n\nThe file has been kept "
                          "as\n%s\n\nThe program starts with its default settings.",
                          ownPath.GetString(), backup.GetString());
        } else {
            m_keepOwnFile = true;
            KWTRACE_ERROR(("%s cannot be read; it will not be saved over.", ownPath.GetString()));
            notice.Format("Your settings could not be read from\n%s\n\nThe program starts "
                          "with its default settings and cannot save them while that file is "
                          "there.",
                          ownPath.GetString());
        }
    }
    TiXmlElement* section = loaded ? FindSettingsSection(xml) : nullptr;
    if (!section)
        return;
    for (int i = 0; i < COLUMN_COUNT; ++i) {
        CString name;
        name.Format("Col%d", i);
        int width = ReadInt(section, name, -1);
        // A negative width is as unreadable as a missing one.
        if (width < 0)
            break;
        m_columnWidths[i] = width;
    }
    m_showHistory = ReadInt(section, "ShowHistory", 0);
    m_savePassphrase = ReadInt(section, "SavePassphrase", 0);
    if (m_savePassphrase)
        m_passphrase = ReadString(section, "Passphrase");
    else
        m_passphrase.Empty();
    m_scoreForm.Mode = ReadInt(section, "callscoreformmode", 0);
    m_scoreForm.Folder = ReadString(section, "callscoreformlocation");
    m_callScore.Mode = ReadInt(section, "callscoremode", 0);
    m_callScore.Folder = ReadString(section, "callscorelocation");
}

bool CSettings::Save() {
    CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
    if (m_keepOwnFile) {
        KWTRACE_ERROR(("Settings not saved: the unreadable settings file is kept."));
        return false;
    }
    CKWXMLSettings* xml = CKWXMLSettings::GetInstance();
    TiXmlElement* root = xml->CreateDocument(GetConfigFilePath(FALSE, kConfigFile), "profile", "1");
    TiXmlElement* section = CKWXMLSettings::AddElement(root, "section");
    CKWXMLSettings::SetAttribute(section, "name", "settings");
    for (int i = 0; i < COLUMN_COUNT; ++i) {
        CString name;
        name.Format("Col%d", i);
        WriteInt(section, name, m_columnWidths[i]);
    }
    WriteInt(section, "ShowHistory", m_showHistory);
    WriteInt(section, "SavePassphrase", m_savePassphrase);
    WriteString(section, "Passphrase", m_savePassphrase ? m_passphrase.GetString() : "");
    WriteInt(section, "callscoreformmode", m_scoreForm.Mode);
    WriteString(section, "callscoreformlocation", m_scoreForm.Folder);
    WriteInt(section, "callscoremode", m_callScore.Mode);
    WriteString(section, "callscorelocation", m_callScore.Folder);
    // Owner-only: the file may hold the recordings' passphrase in clear text.
    if (!xml->Save(true)) {
        KWTRACE_ERROR(("Failed to save the settings to %s.", xml->GetPath().GetString()));
        return false;
    }
    return true;
}

CString CSettings::LoadBranding() {
    CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
    TiXmlElement* section =
        LoadSettingsSection(CKWXMLSettings::GetInstance(), GetConfigFilePath(TRUE, kBrandingFile));
    return section ? ReadString(section, "ResourceFile") : CString();
}

int CSettings::GetColumnWidth(int index) const {
    if (index < 0 || index >= m_columnWidths.GetSize())
        return -1;
    return m_columnWidths[index];
}

void CSettings::SetColumnWidth(int index, int width) {
    if (index >= 0 && index < m_columnWidths.GetSize())
        m_columnWidths[index] = width;
}

CString CSettings::GetPassphrase() const {
    CString passphrase = m_passphrase;
    passphrase.Trim();
    return passphrase;
}

void CSettings::SetPassphrase(const char* text) {
    m_passphrase = text;
    m_passphrase.Trim();
}

CString CSettings::GetConfigFilePath(BOOL allUsers, const char* fileName) {
    if (g_namesOverridden)
        return ConfigPath(g_companyOverride, g_productOverride, allUsers, fileName);
    return ConfigPath(LoadName(kCompanyStringId, kCompanyName),
                      LoadName(kProductStringId, kProductName), allUsers, fileName);
}

CString CSettings::GetSharedConfigFilePath(BOOL allUsers, const char* fileName) {
    if (g_namesOverridden)
        return ConfigPath(g_companyOverride, g_sharedProductOverride, allUsers, fileName);
    return ConfigPath(LoadName(kCompanyStringId, kCompanyName),
                      LoadName(kSharedProductStringId, kSharedProductName), allUsers, fileName);
}

void CSettings::SetFolderNamesOverride(const char* company, const char* product,
                                       const char* sharedProduct) {
    g_namesOverridden = company != nullptr;
    g_companyOverride = company ? company : "";
    g_productOverride = product ? product : "";
    g_sharedProductOverride = sharedProduct ? sharedProduct : "";
}
