#include "KWXMLSettings.h"

#include "TraceLog.h"
#include "UnixPath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
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

// Creates the sibling file that a save writes before it renames it over the
// target. A file left by a save that was killed midway is removed first; a name
// taken by anything that cannot be removed (a folder) is passed over for the
// next, so that it cannot block every save.
int CreateTemporary(const std::string& path, bool ownerOnly, std::string& temporary) {
    int error = 0;
    for (int n = 0; n < 10; ++n) {
        temporary = path + ".new";
        if (n > 0)
            temporary += std::to_string(n);
        ::unlink(temporary.c_str());
        int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC,
                        ownerOnly ? 0600 : 0666);
        if (fd >= 0)
            return fd;
        error = errno;
        if (error != EEXIST)
            break;
    }
    KWTRACE_ERROR(("Cannot create %s: %s", temporary.c_str(), strerror(error)));
    return -1;
}

// As Windows does, a file marked read-only (no write permission for anyone) is
// not replaced.
bool IsReadOnly(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// Writes a sibling file and renames it over the target, so that a reader (or a
// crash, or a full disk) never meets a half-written file.
bool ReplaceUnixFile(const std::string& path, const std::string& content, bool ownerOnly) {
    if (IsReadOnly(path)) {
        KWTRACE_ERROR(("Cannot write %s: the file is read-only", path.c_str()));
        return false;
    }
    std::string temporary;
    int fd = CreateTemporary(path, ownerOnly, temporary);
    if (fd < 0)
        return false;
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

bool IsUtf8(const char* text, int length) {
    return length == 0 ||
           MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, nullptr, 0) > 0;
}

// The bytes of one code page in another; empty when they cannot be converted.
std::string Recode(UINT from, UINT to, const char* text, int length) {
    std::string result;
    int wide = length > 0 ? MultiByteToWideChar(from, 0, text, length, nullptr, 0) : 0;
    if (wide <= 0)
        return result;
    std::vector<WCHAR> buffer(static_cast<size_t>(wide));
    MultiByteToWideChar(from, 0, text, length, buffer.data(), wide);
    int bytes = WideCharToMultiByte(to, 0, buffer.data(), wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return result;
    result.resize(static_cast<size_t>(bytes));
    WideCharToMultiByte(to, 0, buffer.data(), wide, &result[0], bytes, nullptr, nullptr);
    return result;
}

// The documents declare UTF-8 while the program's texts are in the ANSI code
// page. TinyXML passes bytes through unchecked, so a raw ANSI letter such as
// 0xE9 is taken for the lead byte of a longer UTF-8 sequence and swallows the
// "</" after it: the file could not be read back. Values are converted on the
// way in and out.
std::string ToUtf8(const char* text) {
    return Recode(CP_ACP, CP_UTF8, text, static_cast<int>(strlen(text)));
}

// A numeric reference can still make bytes that are not valid UTF-8; they are
// kept as they stand.
CString FromUtf8(const char* text) {
    int length = static_cast<int>(strlen(text));
    if (!IsUtf8(text, length))
        return CString(text);
    return CString(Recode(CP_UTF8, CP_ACP, text, length).c_str());
}

// As TinyXML's reader judges blank text.
bool IsBlank(const std::string& text) {
    for (char c : text) {
        if (!isspace(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

// TinyXML's own file loading turns CR LF and lone CR into LF before parsing;
// parsing from memory has to do the same. A CDATA section keeps its bytes: it
// holds the texts made of blanks alone, and a CR in one is part of the text.
std::string NormaliseLineEnds(const std::string& content) {
    static const char kCdata[] = "<![CDATA[";
    std::string text;
    text.reserve(content.size());
    for (size_t i = 0; i < content.size(); ++i) {
        if (content[i] == '<' && content.compare(i, sizeof(kCdata) - 1, kCdata) == 0) {
            size_t close = content.find("]]>", i);
            size_t end = close == std::string::npos ? content.size() : close + 3;
            text.append(content, i, end - i);
            i = end - 1;
        } else if (content[i] == '\r') {
            text += '\n';
            if (i + 1 < content.size() && content[i + 1] == '\n')
                ++i;
        } else {
            text += content[i];
        }
    }
    return text;
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
    // Earlier versions wrote raw ANSI bytes under the UTF-8 declaration. Bytes
    // that are not valid UTF-8 cannot have been meant as UTF-8, so such a file
    // is read in the ANSI code page.
    if (!IsUtf8(content.data(), static_cast<int>(content.size()))) {
        KWTRACE(("%s is not UTF-8; read in the ANSI code page", path));
        content = Recode(CP_ACP, CP_UTF8, content.data(), static_cast<int>(content.size()));
    }
    m_document = new TiXmlDocument;
    m_document->Parse(NormaliseLineEnds(content).c_str(), nullptr, TIXML_ENCODING_UTF8);
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
    std::string value = ToUtf8(text ? text : "");
    // TinyXML's reader drops a text node of blanks alone, but keeps a CDATA
    // section.
    bool blank = !value.empty() && IsBlank(value);
    TiXmlText* node = new TiXmlText(value);
    node->SetCDATA(blank);
    return element->LinkEndChild(node) != nullptr;
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
