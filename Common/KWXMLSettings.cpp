#include "KWXMLSettings.h"

#include "TraceLog.h"
#include "UnixPath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

CKWXMLSettings* CKWXMLSettings::s_instance = nullptr;

namespace {

// Settings files are a few kilobytes; anything far larger is not one of them.
const off_t kLargestFile = 16 * 1024 * 1024;

bool ReadUnixFile(const std::string& path, std::string& content) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kLargestFile;
    content.clear();
    char block[8192];
    while (ok) {
        ssize_t got = ::read(fd, block, sizeof(block));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        content.append(block, static_cast<size_t>(got));
        ok = content.size() <= static_cast<size_t>(kLargestFile);
    }
    ::close(fd);
    return ok;
}

bool WriteAll(int fd, const std::string& content) {
    size_t done = 0;
    while (done < content.size()) {
        ssize_t put = ::write(fd, content.data() + done, content.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

// Writes a sibling file and renames it over the target, so that a reader (or a
// crash) never meets a half-written file.
bool ReplaceUnixFile(const std::string& path, const std::string& content, bool ownerOnly) {
    std::string temporary = path + ".new";
    ::unlink(temporary.c_str());
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC,
                    ownerOnly ? 0600 : 0666);
    if (fd < 0) {
        KWTRACE_ERROR(("Cannot create %s: %s", temporary.c_str(), strerror(errno)));
        return false;
    }
    int error = 0;
    errno = 0;
    if (!WriteAll(fd, content) || ::fsync(fd) != 0)
        error = errno ? errno : EIO; // a write of no bytes sets no errno
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && ::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error) {
        KWTRACE_ERROR(("Cannot write %s: %s", path.c_str(), strerror(error)));
        ::unlink(temporary.c_str());
    }
    return error == 0;
}

// The text of the element's first child when that child is a text node.
const char* FirstChildText(TiXmlElement* element) {
    if (!element)
        return nullptr;
    TiXmlNode* child = element->FirstChild();
    if (!child || !child->ToText())
        return nullptr;
    return child->Value();
}

// Reads as "%d" does (leading blanks, a sign, digits; whatever follows is ignored),
// but a number outside the 32-bit range is no integer rather than undefined.
bool ReadInt(const char* text, int& value) {
    if (!text)
        return false;
    char* end = nullptr;
    errno = 0;
    long number = strtol(text, &end, 10);
    if (end == text || errno == ERANGE || number < INT_MIN || number > INT_MAX)
        return false;
    value = static_cast<int>(number);
    return true;
}

// The documents declare UTF-8 while the program's texts are in the ANSI code
// page. TinyXML passes bytes through unchecked, so a raw ANSI letter such as
// 0xE9 is taken for the lead byte of a longer UTF-8 sequence and swallows the
// "</" after it: the file could not be read back. Values are converted on the
// way in and out.
std::string ToUtf8(const char* text) {
    std::string result;
    int wide = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (wide <= 1)
        return result;
    std::vector<WCHAR> buffer(static_cast<size_t>(wide));
    MultiByteToWideChar(CP_ACP, 0, text, -1, buffer.data(), wide);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, buffer.data(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return result;
    result.resize(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_UTF8, 0, buffer.data(), -1, &result[0], bytes, nullptr, nullptr);
    result.resize(static_cast<size_t>(bytes - 1));
    return result;
}

// Text that is not valid UTF-8 comes from a file written with raw ANSI bytes
// and is kept as it stands.
CString FromUtf8(const char* text) {
    int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (wide <= 1)
        return CString(text);
    std::vector<WCHAR> buffer(static_cast<size_t>(wide));
    MultiByteToWideChar(CP_UTF8, 0, text, -1, buffer.data(), wide);
    int bytes = WideCharToMultiByte(CP_ACP, 0, buffer.data(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return CString(text);
    CString result;
    WideCharToMultiByte(CP_ACP, 0, buffer.data(), -1, result.GetBuffer(bytes), bytes, nullptr,
                        nullptr);
    result.ReleaseBuffer();
    return result;
}

} // namespace

CKWXMLSettings* CKWXMLSettings::GetInstance() {
    if (!s_instance)
        s_instance = new CKWXMLSettings;
    return s_instance;
}

void CKWXMLSettings::DeleteInstance() {
    delete s_instance;
    s_instance = nullptr;
}

CKWXMLSettings::CKWXMLSettings() : m_document(nullptr) {}

CKWXMLSettings::~CKWXMLSettings() {
    DropDocument();
}

void CKWXMLSettings::DropDocument() {
    delete m_document;
    m_document = nullptr;
    m_path.Empty();
}

TiXmlElement* CKWXMLSettings::CreateDocument(const char* path, const char* rootName,
                                             const char* version) {
    DropDocument();
    if (!path || !rootName)
        return nullptr;
    m_document = new TiXmlDocument;
    m_path = path;
    m_document->LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    TiXmlElement* root = new TiXmlElement(rootName);
    root->SetAttribute("version", version ? version : "");
    m_document->LinkEndChild(root);
    return root;
}

bool CKWXMLSettings::Load(const char* path, CString& rootName, CString& version) {
    DropDocument();
    rootName.Empty();
    version.Empty();
    std::string unixPath, content;
    if (!path || !UnixPathFromWindows(path, unixPath) || !ReadUnixFile(unixPath, content))
        return false;
    // TinyXML's own file loading turns CR LF and lone CR into LF before parsing;
    // parsing from memory has to do the same.
    std::string text;
    text.reserve(content.size());
    for (size_t i = 0; i < content.size(); ++i) {
        if (content[i] == '\r') {
            text += '\n';
            if (i + 1 < content.size() && content[i + 1] == '\n')
                ++i;
        } else {
            text += content[i];
        }
    }
    m_document = new TiXmlDocument;
    m_document->Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    TiXmlElement* root = m_document->Error() ? nullptr : m_document->RootElement();
    if (!root) {
        KWTRACE_ERROR(("Cannot read %s: %s", path,
                       m_document->Error() ? m_document->ErrorDesc() : "no root element"));
        delete m_document;
        m_document = nullptr;
        return false;
    }
    m_path = path;
    rootName = root->Value();
    const char* attribute = root->Attribute("version");
    version = attribute ? attribute : "";
    return true;
}

bool CKWXMLSettings::Save(bool ownerOnly) {
    if (!m_document)
        return false;
    std::string unixPath;
    DWORD error = 0;
    if (!UnixPathFromWindows(m_path, unixPath, &error)) {
        KWTRACE_ERROR(("Cannot save %s: no such folder (error %lu)", m_path.GetString(),
                       static_cast<unsigned long>(error)));
        return false;
    }
    TiXmlPrinter printer;
    m_document->Accept(&printer);
    return ReplaceUnixFile(unixPath, printer.Str(), ownerOnly);
}

TiXmlElement* CKWXMLSettings::GetRootElement() const {
    return m_document ? m_document->RootElement() : nullptr;
}

TiXmlElement* CKWXMLSettings::GetChild(TiXmlNode* node, const char* name) {
    return node && name ? node->FirstChildElement(name) : nullptr;
}

TiXmlElement* CKWXMLSettings::NextSibling(TiXmlNode* node, const char* name) {
    return node && name ? node->NextSiblingElement(name) : nullptr;
}

TiXmlElement* CKWXMLSettings::AddElement(TiXmlNode* parent, const char* name) {
    if (!parent || !name)
        return nullptr;
    TiXmlNode* added = parent->LinkEndChild(new TiXmlElement(name));
    return added ? added->ToElement() : nullptr;
}

bool CKWXMLSettings::AddText(TiXmlElement* element, const char* text) {
    if (!element)
        return false;
    return element->LinkEndChild(new TiXmlText(ToUtf8(text ? text : ""))) != nullptr;
}

bool CKWXMLSettings::AddIntText(TiXmlElement* element, int value) {
    char text[16];
    snprintf(text, sizeof(text), "%d", value);
    return AddText(element, text);
}

bool CKWXMLSettings::SetAttribute(TiXmlElement* element, const char* name, const char* text) {
    if (!element || !name)
        return false;
    element->SetAttribute(name, ToUtf8(text ? text : "").c_str());
    return true;
}

bool CKWXMLSettings::SetAttribute(TiXmlElement* element, const char* name, int value) {
    if (!element || !name)
        return false;
    element->SetAttribute(name, value);
    return true;
}

bool CKWXMLSettings::GetIntValue(TiXmlElement* element, int& value, int defaultValue) {
    value = defaultValue;
    int read;
    if (!ReadInt(FirstChildText(element), read))
        return false;
    value = read;
    return true;
}

bool CKWXMLSettings::GetStringValue(TiXmlElement* element, CString& value,
                                    const char* defaultValue) {
    value = defaultValue;
    const char* text = FirstChildText(element);
    if (!text)
        return false;
    value = FromUtf8(text);
    return true;
}

bool CKWXMLSettings::GetIntAttribute(TiXmlElement* element, const char* name, int& value,
                                     int defaultValue) {
    value = defaultValue;
    int read;
    if (!element || !name || !ReadInt(element->Attribute(name), read))
        return false;
    value = read;
    return true;
}

bool CKWXMLSettings::GetStringAttribute(TiXmlElement* element, const char* name, CString& value,
                                        const char* defaultValue) {
    value = defaultValue;
    const char* text = element && name ? element->Attribute(name) : nullptr;
    if (!text)
        return false;
    value = FromUtf8(text);
    return true;
}
