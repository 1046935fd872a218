// QuestionRepository.cpp: the predefined-question store and its file.
#include "QuestionRepository.h"

#include "AppPaths.h"
#include "Common/KWSemaphore.h"
#include "Common/OXParser.h"
#include "Common/TraceLog.h"
#include "ScoreFile.h"

#include <new>
#include <string>

namespace {

const char kQuestionIndent[] = "      ";

CKWString PathOrDefault(const char* path) {
    return path ? CKWString(path) : GetQuestionsFilePath();
}

// A question of the repository stays scaled unless its file says otherwise.
void ReadQuestion(const COXParserElement* element, CQuestion& question) {
    std::string text;
    if (ScoreFile::ChildText(element, "ID", text))
        question.SetID(ScoreFile::ToInteger(text));
    if (ScoreFile::ChildText(element, "Prompt", text))
        question.SetPrompt(text.c_str());
    if (ScoreFile::ChildText(element, "EvenBias", text))
        question.SetBias(ScoreFile::ToReal(text));
    if (ScoreFile::ChildText(element, "IsScaledType", text))
        question.SetType(lstrcmpiA(text.c_str(), "TRUE") == 0 ? CQuestion::TYPE_SCALE
                                                              : CQuestion::TYPE_YESNO);
}

// False when the Entry is no node: it has no IsGroup text.
bool ReadEntry(const COXParserElement* element, CQuestionRepository::QUESTION_ENTRY& entry) {
    std::string text;
    if (!ScoreFile::ChildText(element, "IsGroup", text))
        return false;
    entry.IsGroup = lstrcmpiA(text.c_str(), "TRUE") == 0 ? 1 : 0;
    entry.ID = -1;
    if (ScoreFile::ChildText(element, "ID", text))
        entry.ID = ScoreFile::ToInteger(text);
    if (ScoreFile::ChildText(element, "ParentID", text))
        entry.ParentID = ScoreFile::ToInteger(text);
    if (ScoreFile::ChildText(element, "GroupName", text))
        entry.GroupName = text.c_str();
    const COXParserElement* question = ScoreFile::FindChild(element, "Question");
    if (question && question->GetObjectCount() > 0)
        ReadQuestion(question, entry.Question);
    return true;
}

void WriteEntry(std::string& out, const CQuestionRepository::QUESTION_ENTRY& entry) {
    using ScoreFile::AppendLine;
    using ScoreFile::Escape;
    using ScoreFile::Format;
    const CQuestion& question = entry.Question;
    AppendLine(out, "<Entry>");
    AppendLine(out, Format("   <ID>%d</ID>", static_cast<int>(entry.ID)));
    AppendLine(out, Format("   <ParentID>%d</ParentID>", static_cast<int>(entry.ParentID)));
    AppendLine(out, "   <GroupName>" + Escape(entry.GroupName) + "</GroupName>");
    AppendLine(out, Format("   <IsGroup>%s</IsGroup>", entry.IsGroup ? "TRUE" : "FALSE"));
    AppendLine(out, "   <Question>");
    AppendLine(out, Format("%s<ID>%d</ID>", kQuestionIndent, static_cast<int>(question.GetID())));
    AppendLine(out, kQuestionIndent + ("<Prompt>" + Escape(question.GetPrompt())) + "</Prompt>");
    AppendLine(out, Format("%s<EvenBias>%.2f</EvenBias>", kQuestionIndent, question.GetBias()));
    AppendLine(out, Format("%s<IsScaledType>%s</IsScaledType>", kQuestionIndent,
                           question.IsScaled() ? "TRUE" : "FALSE"));
    AppendLine(out, "   </Question>");
    AppendLine(out, "</Entry>");
}

} // namespace

CQuestionRepository::QUESTION_ENTRY::QUESTION_ENTRY()
    : ID(0), ParentID(-1), Question(-1), IsGroup(0) {}

CQuestionRepository* CQuestionRepository::s_instance = nullptr;

CQuestionRepository* CQuestionRepository::GetInstance() {
    if (!s_instance)
        s_instance = new CQuestionRepository;
    return s_instance;
}

// A repository that was never read, or was cleared since, writes nothing: the
// file may hold questions this run never saw.
void CQuestionRepository::DeleteInstance() {
    if (!s_instance)
        return;
    if (s_instance->m_loaded && !s_instance->m_entries.empty())
        s_instance->Save(nullptr);
    delete s_instance;
    s_instance = nullptr;
}

CQuestionRepository::CQuestionRepository()
    : m_lock(new (std::nothrow) CKWLoggedSemaphore("SCORE_FORM_MANAGER", false)), m_cursor(-1),
      m_loaded(false) {
    if (!m_lock)
        KWTRACE_ERROR(("Failed to allocate memory for file list semaphore."));
}

CQuestionRepository::~CQuestionRepository() {
    m_entries.clear();
    delete m_lock;
}

BOOL CQuestionRepository::Load(const char* path) {
    m_loaded = true;
    CKWString file = PathOrDefault(path);
    COXParser parser;
    if (file.IsEmpty() || !parser.ParseFile(file)) {
        KWTRACE(("Question repository not read from %s", static_cast<const char*>(file)));
        return FALSE;
    }
    m_cursor = -1;
    ReadEntries(parser.GetRoot());
    return TRUE;
}

// An Entry may sit at any depth below the root.
void CQuestionRepository::ReadEntries(const COXParserElement* parent) {
    for (int i = 0; i < parent->GetObjectCount(); ++i) {
        const COXParserObject* object = parent->GetObject(i);
        if (object->GetType() != COXParserObject::TYPE_ELEMENT)
            continue;
        const auto* element = static_cast<const COXParserElement*>(object);
        if (lstrcmpiA(element->GetName(), "Entry") != 0) {
            ReadEntries(element);
            continue;
        }
        auto entry = std::make_unique<QUESTION_ENTRY>();
        if (!ReadEntry(element, *entry) || Exists(entry->ID))
            continue;
        CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
        m_entries.push_back(std::move(entry));
    }
}

BOOL CQuestionRepository::Save(const char* path) {
    if (m_entries.empty())
        return FALSE;
    std::string out = ScoreFile::kDeclaration;
    ScoreFile::AppendLine(out, "<QuestionRepositoryData>");
    for (const auto& entry : m_entries)
        WriteEntry(out, *entry);
    ScoreFile::AppendLine(out, "</QuestionRepositoryData>");
    return ScoreFile::Replace(PathOrDefault(path), out) ? TRUE : FALSE;
}

void CQuestionRepository::Clear() {
    CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
    m_entries.clear();
    m_cursor = -1;
    m_loaded = false;
}

LONG CQuestionRepository::GetNextID() const {
    LONG next = 0;
    for (const auto& entry : m_entries) {
        if (entry->ID >= next)
            next = entry->ID + 1;
    }
    return next;
}

BOOL CQuestionRepository::Exists(LONG id) const {
    return Find(id) != nullptr;
}

BOOL CQuestionRepository::HasChildren(LONG id) const {
    for (const auto& entry : m_entries) {
        if (entry->ParentID == id)
            return TRUE;
    }
    return FALSE;
}

CQuestionRepository::QUESTION_ENTRY* CQuestionRepository::Find(LONG id) const {
    for (const auto& entry : m_entries) {
        if (entry->ID == id)
            return entry.get();
    }
    return nullptr;
}

BOOL CQuestionRepository::GetEntry(LONG id, QUESTION_ENTRY& out) const {
    CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
    const QUESTION_ENTRY* entry = Find(id);
    if (!entry)
        return FALSE;
    out = *entry;
    return TRUE;
}

BOOL CQuestionRepository::Add(const QUESTION_ENTRY& entry) {
    if (Exists(entry.ID))
        return FALSE;
    m_entries.push_back(std::make_unique<QUESTION_ENTRY>(entry));
    return TRUE;
}

BOOL CQuestionRepository::Remove(LONG id) {
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if ((*it)->ID == id) {
            m_entries.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}

// The cursor moves to the match, or to -1 when none is left.
CQuestionRepository::QUESTION_ENTRY* CQuestionRepository::Scan(size_t start, LONG key, int kind) {
    m_cursor = -1;
    if (kind != FIND_BY_ID && kind != FIND_BY_PARENT)
        return nullptr;
    CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
    for (size_t i = start; i < m_entries.size(); ++i) {
        QUESTION_ENTRY* entry = m_entries[i].get();
        if ((kind == FIND_BY_ID ? entry->ID : entry->ParentID) == key) {
            m_cursor = static_cast<int>(i);
            return entry;
        }
    }
    return nullptr;
}

CQuestionRepository::QUESTION_ENTRY* CQuestionRepository::FindFirst(LONG key, int kind) {
    return Scan(0, key, kind);
}

CQuestionRepository::QUESTION_ENTRY* CQuestionRepository::FindNext(LONG key, int kind) {
    if (m_cursor < 0)
        return nullptr;
    return Scan(static_cast<size_t>(m_cursor) + 1, key, kind);
}
