// CallScore.cpp: the call-score store's file format and default tree.
#include "CallScore.h"

#include "Common/OXCharClass.h"
#include "Common/OXParser.h"
#include "Common/SetAsideFile.h"
#include "Common/TraceLog.h"
#include "Scoring/ScoreFile.h"

#include <string>

namespace {

// The root of the call-score tree and two groups to start from.
const CTreeStore::DEFAULTENTRY kDefaultGroups[] = {
    {0, -1, "Links to Scored Recordings..."},
    {1, 0, "Sample Sales Calls"},
    {2, 0, "Sample Customer Service"},
};

const CTreeStore::LAYOUT kCallScoreLayout = {
    "CallScore",       // the lock's label
    "CallScore.xml",   // in the all-users configuration folder
    "CallScore",       // one record
    "call score tree", // as the user is told of an unreadable file
    kDefaultGroups,    // the content without a readable file
    sizeof(kDefaultGroups) / sizeof(kDefaultGroups[0]),
};

// Whether the buffer holds anything but blanks: a blank file is no more the
// user's data than an empty one.
bool HoldsMarkup(const char* buffer, DWORD size) {
    for (DWORD i = 0; i < size; ++i) {
        if (!COXCharClass::IsSpace(static_cast<unsigned char>(buffer[i])))
            return true;
    }
    return false;
}

} // namespace

CCallScore* CCallScore::s_instance = nullptr;

CCallScore* CCallScore::GetInstance() {
    if (!s_instance)
        s_instance = new CCallScore;
    return s_instance;
}

CCallScore::CCallScore() : CTreeStore(kCallScoreLayout) {}

CCallScore::~CCallScore() {
    if (s_instance == this)
        s_instance = nullptr;
}

CTreeStore::READRESULT CCallScore::ReadRecords(const CString& path) {
    if (!HoldsSomething(path))
        return READ_NOTHING;
    COXParser parser;
    DWORD size = 0;
    char* buffer = parser.LoadFileBuffer(path, &size);
    if (!buffer)
        return READ_UNREADABLE;
    bool blank = !HoldsMarkup(buffer, size);
    GlobalFree(buffer);
    if (blank)
        return READ_NOTHING;
    if (!parser.ParseFile(path))
        return READ_UNREADABLE;
    std::unordered_set<int> ids;
    ReadNodes(parser.GetRoot(), ids);
    // A file that parses without a single node would leave the tree without
    // its root, where the scored calls go.
    return m_entries.GetSize() ? READ_DONE : READ_NOTHING;
}

// A CallScore element may sit at any depth below the root.
void CCallScore::ReadNodes(const COXParserElement* parent, std::unordered_set<int>& ids) {
    for (int i = 0; i < parent->GetObjectCount(); ++i) {
        const COXParserObject* object = parent->GetObject(i);
        if (object->GetType() != COXParserObject::TYPE_ELEMENT)
            continue;
        const auto* element = static_cast<const COXParserElement*>(object);
        if (lstrcmpiA(element->GetName(), "CallScore") != 0) {
            ReadNodes(element, ids);
            continue;
        }
        std::string text;
        // A node without IsGroup is no node.
        if (!ScoreFile::ChildText(element, "IsGroup", text))
            continue;
        CALLSCOREENTRY entry{-1, -1, CString(), CString(), 0};
        entry.IsGroup = lstrcmpiA(text.c_str(), "TRUE") == 0 ? 1 : 0;
        if (ScoreFile::ChildText(element, "ID", text))
            entry.ID = ScoreFile::ToInteger(text);
        if (ScoreFile::ChildText(element, "ParentID", text))
            entry.ParentID = ScoreFile::ToInteger(text);
        if (ScoreFile::ChildText(element, "Name", text))
            entry.Name = text.c_str();
        if (ScoreFile::ChildText(element, "Target", text))
            entry.Target = text.c_str();
        AppendRead(entry, ids);
    }
}

// Every group, a group made below a scorer (2) included, is written as TRUE.
bool CCallScore::WriteRecords(const CString& path) {
    using ScoreFile::AppendLine;
    using ScoreFile::Escape;
    using ScoreFile::Format;
    std::string out = ScoreFile::kDeclaration;
    AppendLine(out, "<CallScoreData>");
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
        const CALLSCOREENTRY* entry = m_entries[i];
        AppendLine(out, "<CallScore>");
        AppendLine(out, Format("   <ID>%d</ID>", entry->ID));
        AppendLine(out, Format("   <ParentID>%d</ParentID>", entry->ParentID));
        AppendLine(out, "   <Name>" + Escape(entry->Name) + "</Name>");
        AppendLine(out, "   <Target>" + Escape(entry->Target) + "</Target>");
        AppendLine(out, Format("   <IsGroup>%s</IsGroup>", entry->IsGroup ? "TRUE" : "FALSE"));
        AppendLine(out, "</CallScore>");
    }
    AppendLine(out, "</CallScoreData>");
    return ScoreFile::Replace(path, out);
}
