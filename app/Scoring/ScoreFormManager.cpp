// ScoreFormManager.cpp: the score-form store and its file.
#include "ScoreFormManager.h"

#include "AppPaths.h"
#include "Common/KWSemaphore.h"
#include "Common/OXParser.h"
#include "Common/TraceLog.h"
#include "ScoreFile.h"

#include <limits>
#include <new>

namespace {

const char kQuestionIndent[] = "      ";
constexpr LONG kMaxId = std::numeric_limits<LONG>::max();

// The destructor's save and callers without a path of their own use the
// score-forms file of the current score-form location.
CKWString PathOrDefault(const char* path) {
    return path ? CKWString(path) : GetScoreFormsFilePath();
}

void ReadQuestion(const COXParserElement* element, CQuestion& question) {
    question.Reset();
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

// A Question may sit at any depth below QuestionData.
void ReadQuestions(const COXParserElement* parent, CScoreFormEntry& form) {
    for (int i = 0; i < parent->GetObjectCount(); ++i) {
        const COXParserObject* object = parent->GetObject(i);
        if (object->GetType() != COXParserObject::TYPE_ELEMENT)
            continue;
        const auto* element = static_cast<const COXParserElement*>(object);
        if (lstrcmpiA(element->GetName(), "Question") == 0) {
            CQuestion question;
            ReadQuestion(element, question);
            form.AddQuestion(question);
        } else {
            ReadQuestions(element, form);
        }
    }
}

// Null when the Entry has no questions to read.
std::unique_ptr<CScoreFormEntry> ReadForm(const COXParserElement* entry) {
    const COXParserElement* questions = ScoreFile::FindChild(entry, "QuestionData");
    if (!questions || questions->GetObjectCount() == 0)
        return nullptr;
    std::string text;
    auto form = std::make_unique<CScoreFormEntry>(
        ScoreFile::ChildText(entry, "ID", text) ? ScoreFile::ToInteger(text) : -1);
    if (ScoreFile::ChildText(entry, "Title", text))
        form->SetTitle(text.c_str());
    if (ScoreFile::ChildText(entry, "Owner", text))
        form->SetOwner(text.c_str());
    if (ScoreFile::ChildText(entry, "Time", text))
        form->SetTime(ScoreFile::ToInteger(text));
    if (ScoreFile::ChildText(entry, "LastTotal", text))
        form->SetLastTotal(ScoreFile::ToReal(text));
    ReadQuestions(questions, *form);
    return form;
}

void WriteForm(std::string& out, const CScoreFormEntry& form) {
    using ScoreFile::AppendLine;
    using ScoreFile::Escape;
    using ScoreFile::Format;
    AppendLine(out, "<Entry>");
    AppendLine(out, Format("   <ID>%d</ID>", static_cast<int>(form.GetID())));
    AppendLine(out, "   <Title>" + Escape(form.GetTitle()) + "</Title>");
    AppendLine(out, "   <Owner>" + Escape(form.GetOwner()) + "</Owner>");
    AppendLine(out, Format("   <Time>%d</Time>", static_cast<int>(form.GetTime())));
    AppendLine(out, Format("   <LastTotal>%.2f</LastTotal>", form.GetLastTotal()));
    AppendLine(out, "   <QuestionData>");
    for (int i = 0; i < form.GetQuestionCount(); ++i) {
        const CQuestion* question = form.GetQuestion(i);
        AppendLine(out, "   <Question>");
        AppendLine(out,
                   Format("%s<ID>%d</ID>", kQuestionIndent, static_cast<int>(question->GetID())));
        AppendLine(out,
                   kQuestionIndent + ("<Prompt>" + Escape(question->GetPrompt())) + "</Prompt>");
        AppendLine(out,
                   Format("%s<EvenBias>%.2f</EvenBias>", kQuestionIndent, question->GetBias()));
        AppendLine(out, Format("%s<IsScaledType>%s</IsScaledType>", kQuestionIndent,
                               question->IsScaled() ? "TRUE" : "FALSE"));
        AppendLine(out, "   </Question>");
    }
    AppendLine(out, "   </QuestionData>");
    AppendLine(out, "</Entry>");
}

} // namespace

CScoreFormManager* CScoreFormManager::s_instance = nullptr;

CScoreFormManager* CScoreFormManager::GetInstance() {
    if (!s_instance)
        s_instance = new CScoreFormManager;
    return s_instance;
}

// A store that was never loaded, or whose forms are all gone, writes nothing
// at exit: the file may hold forms this run never read.
void CScoreFormManager::DeleteInstance() {
    if (!s_instance)
        return;
    if (s_instance->m_loaded && !s_instance->m_forms.empty())
        s_instance->Save(nullptr);
    delete s_instance;
    s_instance = nullptr;
}

CScoreFormManager::CScoreFormManager()
    : m_globalId(0), m_lock(new (std::nothrow) CKWLoggedSemaphore("SCORE_FORM_MANAGER", false)),
      m_cursor(0), m_loaded(false) {
    if (!m_lock)
        KWTRACE_ERROR(("Failed to allocate memory for file list semaphore."));
    InitializeSRWLock(&m_folderGuard);
}

CScoreFormManager::~CScoreFormManager() {
    m_forms.clear();
    delete m_lock;
}

BOOL CScoreFormManager::Load(const char* path) {
    m_loaded = true;
    CKWString file = PathOrDefault(path);
    COXParser parser;
    if (file.IsEmpty() || !parser.ParseFile(file)) {
        KWTRACE(("Score forms not read from %s", static_cast<const char*>(file)));
        return FALSE;
    }
    FormList read;
    ReadForms(parser.GetRoot(), read);
    // Forms without an ID of their own, or with one held already (a second
    // copy in the file, an import of a form this store has), get fresh IDs
    // once every ID of the file is known.
    for (const auto& form : read)
        KeepAbove(form->GetID());
    CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
    for (auto& form : read) {
        if (form->GetID() < 0 || HoldsID(form->GetID())) {
            KWTRACE(("Score form %d of %s takes the ID %d", static_cast<int>(form->GetID()),
                     static_cast<const char*>(file), static_cast<int>(m_globalId)));
            form->SetID(m_globalId);
            KeepAbove(m_globalId);
        }
        m_forms.push_back(std::move(form));
    }
    return TRUE;
}

// The GlobalID attribute only ever raises the next ID: a lower one (a quoted
// value reads as 0, an older file) would hand out IDs that forms held or
// scored before.
void CScoreFormManager::ReadForms(const COXParserElement* element, FormList& read) {
    for (int i = 0; i < element->GetObjectCount(); ++i) {
        const COXParserObject* object = element->GetObject(i);
        if (object->GetType() != COXParserObject::TYPE_ELEMENT)
            continue;
        const auto* child = static_cast<const COXParserElement*>(object);
        if (lstrcmpiA(child->GetName(), "Entry") == 0) {
            if (auto form = ReadForm(child))
                read.push_back(std::move(form));
            continue;
        }
        if (const COXAttribute* id = child->FindAttribute("GlobalID", 0))
            RaiseNextID(id->GetIntValue());
        ReadForms(child, read);
    }
}

bool CScoreFormManager::HoldsID(LONG id) const {
    return FindForm(id) != nullptr;
}

void CScoreFormManager::RaiseNextID(LONG next) {
    if (next > m_globalId)
        m_globalId = next;
}

void CScoreFormManager::KeepAbove(LONG id) {
    if (id < kMaxId)
        RaiseNextID(id + 1);
}

BOOL CScoreFormManager::Save(const char* path) {
    CKWString file = PathOrDefault(path);
    std::string out = ScoreFile::kDeclaration;
    CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
    ScoreFile::AppendLine(
        out, ScoreFile::Format("<FormData GlobalID=%d>", static_cast<int>(m_globalId)));
    for (const auto& form : m_forms)
        WriteForm(out, *form);
    ScoreFile::AppendLine(out, "</FormData>");
    return ScoreFile::Replace(file, out) ? TRUE : FALSE;
}

void CScoreFormManager::Clear() {
    CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
    m_forms.clear();
    m_loaded = false;
}

CScoreFormEntry* CScoreFormManager::GetFirstForm() {
    m_cursor = 0;
    return m_forms.empty() ? nullptr : m_forms[0].get();
}

// Past the end the cursor stays past the end.
CScoreFormEntry* CScoreFormManager::GetNextForm() {
    if (m_cursor < GetFormCount())
        ++m_cursor;
    return m_cursor < GetFormCount() ? m_forms[m_cursor].get() : nullptr;
}

CScoreFormEntry* CScoreFormManager::GetFormAt(int index) {
    if (index < 0 || index >= GetFormCount())
        return nullptr;
    m_cursor = index;
    return m_forms[index].get();
}

CKWString CScoreFormManager::GetFormTitle(int index) const {
    if (index < 0 || index >= GetFormCount())
        return CKWString();
    return m_forms[index]->GetTitle();
}

LONG CScoreFormManager::GetFormId(int index) const {
    if (index < 0 || index >= GetFormCount())
        return -1;
    return m_forms[index]->GetID();
}

CScoreFormEntry* CScoreFormManager::FindForm(LONG id) const {
    for (const auto& form : m_forms) {
        if (form->GetID() == id)
            return form.get();
    }
    return nullptr;
}

BOOL CScoreFormManager::AddForm(const CScoreFormEntry& form) {
    if (form.GetID() < 0 || HoldsID(form.GetID()))
        return FALSE;
    CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
    m_forms.push_back(std::make_unique<CScoreFormEntry>(form));
    KeepAbove(form.GetID());
    return TRUE;
}

void CScoreFormManager::RemoveForm(LONG id) {
    CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
    for (auto it = m_forms.begin(); it != m_forms.end(); ++it) {
        if ((*it)->GetID() == id) {
            m_forms.erase(it);
            return;
        }
    }
}

// A removed form's ID is not handed out again: recordings may still hold
// scores for it.
LONG CScoreFormManager::GetNextFormID() {
    if (m_globalId < 0)
        m_globalId = 0;
    while (HoldsID(m_globalId) && m_globalId < kMaxId)
        ++m_globalId;
    return m_globalId < kMaxId ? m_globalId++ : m_globalId;
}

void CScoreFormManager::SetFolder(const CKWString& folder) {
    AcquireSRWLockExclusive(&m_folderGuard);
    m_folder = folder;
    ReleaseSRWLockExclusive(&m_folderGuard);
}

CKWString CScoreFormManager::GetFolder() const {
    AcquireSRWLockShared(&m_folderGuard);
    CKWString folder(m_folder);
    ReleaseSRWLockShared(&m_folderGuard);
    return folder;
}
