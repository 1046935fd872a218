// ScoredFileListEntry.cpp: a recording's scores and its score file.
#include "ScoredFileListEntry.h"

#include "Common/OXParser.h"
#include "Common/TraceLog.h"
#include "Scoring/ScoreFile.h"
#include "Scoring/ScoreFormManager.h"

#include <cstring>
#include <ctime>

namespace {

typedef CScoredFileListEntry::SCallScoreEntry SCallScoreEntry;

void CopyUserName(SCallScoreEntry& score, const char* name) {
    CKWString kept = ScoreFile::Trimmed(name);
    lstrcpynA(score.UserName, kept, SCallScoreEntry::USER_NAME_SIZE);
}

// An answer needs its question ID and its value; an answer to question 0 is
// one like any other.
void ReadAnswers(const COXParserElement* parent, ScoreDataList& answers) {
    for (int i = 0; i < parent->GetObjectCount(); ++i) {
        const COXParserObject* object = parent->GetObject(i);
        if (object->GetType() != COXParserObject::TYPE_ELEMENT)
            continue;
        const auto* element = static_cast<const COXParserElement*>(object);
        if (lstrcmpiA(element->GetName(), "Entry") != 0) {
            ReadAnswers(element, answers);
            continue;
        }
        std::string id, value;
        if (ScoreFile::ChildText(element, "ID", id) &&
            ScoreFile::ChildText(element, "Value", value))
            answers.push_back(ScoreData{ScoreFile::ToInteger(id), ScoreFile::ToInteger(value)});
    }
}

void WriteScore(std::string& out, const SCallScoreEntry& score) {
    using ScoreFile::AppendLine;
    using ScoreFile::Format;
    AppendLine(out, "<Entry>");
    AppendLine(out, Format("   <ID>%d</ID>", static_cast<int>(score.FormID)));
    AppendLine(out, "   <UserName>" + ScoreFile::Escape(score.UserName) + "</UserName>");
    AppendLine(out, Format("   <Value>%.2f</Value>", score.Value));
    AppendLine(out, Format("   <Time>%d</Time>", static_cast<int>(score.Time)));
    AppendLine(out, "   <ScoredValues>");
    for (const ScoreData& answer : score.Answers) {
        AppendLine(out, "      <Entry>");
        AppendLine(out, Format("         <ID>%d</ID>", static_cast<int>(answer.QuestionID)));
        AppendLine(out, Format("         <Value>%d</Value>", static_cast<int>(answer.Value)));
        AppendLine(out, "      </Entry>");
    }
    AppendLine(out, "   </ScoredValues>");
    AppendLine(out, "</Entry>");
}

// The file name without folder and extension.
CKWString BaseName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '\\' || *p == '/')
            name = p + 1;
    }
    const char* dot = strrchr(name, '.');
    int length = dot ? static_cast<int>(dot - name) : static_cast<int>(strlen(name));
    return CKWString(name).Left(length);
}

} // namespace

CScoredFileListEntry::SCallScoreEntry::SCallScoreEntry(LONG formId)
    : Time(0), Value(0.0), FormID(formId) {
    memset(UserName, 0, sizeof UserName);
}

CScoredFileListEntry::CScoredFileListEntry() : m_cursor(0) {}

CScoredFileListEntry::CScoredFileListEntry(const CKWFileListEntry& entry)
    : CKWFileListEntry(entry), m_cursor(0) {}

CScoredFileListEntry::CScoredFileListEntry(const CScoredFileListEntry& other)
    : CKWFileListEntry(other), m_cursor(0) {
    *this = other;
}

CScoredFileListEntry& CScoredFileListEntry::operator=(const CScoredFileListEntry& other) {
    if (&other == this)
        return *this;
    CKWFileListEntry::operator=(other);
    m_scores.clear();
    for (const auto& score : other.m_scores)
        m_scores.push_back(std::make_unique<SCallScoreEntry>(*score));
    m_cursor = other.m_cursor;
    return *this;
}

CScoredFileListEntry::~CScoredFileListEntry() = default;

CScoredFileListEntry::SCallScoreEntry* CScoredFileListEntry::GetFirstScore() {
    m_cursor = 0;
    return m_scores.empty() ? nullptr : m_scores[0].get();
}

CScoredFileListEntry::SCallScoreEntry* CScoredFileListEntry::GetNextScore() {
    return GetScoreAt(m_cursor + 1);
}

CScoredFileListEntry::SCallScoreEntry* CScoredFileListEntry::GetScoreAt(int index) {
    if (index < 0 || index >= GetScoreCount())
        return nullptr;
    m_cursor = index;
    return m_scores[index].get();
}

double CScoredFileListEntry::GetCurrentScoreValue() const {
    if (m_cursor < 0 || m_cursor >= GetScoreCount())
        return 0.0;
    return m_scores[m_cursor]->Value;
}

CScoredFileListEntry::SCallScoreEntry* CScoredFileListEntry::FindScore(LONG formId) const {
    int index = FindScoreIndex(formId);
    return index >= 0 ? m_scores[index].get() : nullptr;
}

int CScoredFileListEntry::FindScoreIndex(LONG formId) const {
    for (int i = 0; i < GetScoreCount(); ++i) {
        if (m_scores[i]->FormID == formId)
            return i;
    }
    return -1;
}

const ScoreDataList& CScoredFileListEntry::GetScoreData(LONG formId) const {
    const SCallScoreEntry* score = FindScore(formId);
    return score ? score->Answers : GetEmptyScoreData();
}

const ScoreDataList& CScoredFileListEntry::GetEmptyScoreData() {
    static const ScoreDataList empty;
    return empty;
}

void CScoredFileListEntry::ClearScores() {
    m_scores.clear();
    m_cursor = 0;
}

void CScoredFileListEntry::SetScore(LONG formId, const char* userName, double total, LONG time) {
    const CScoreFormEntry* form = CScoreFormManager::GetInstance()->FindForm(formId);
    if (!form)
        return;
    if (time == 0)
        time = static_cast<LONG>(::time(nullptr));
    int index = FindScoreIndex(formId);
    if (index < 0) {
        m_scores.push_back(std::make_unique<SCallScoreEntry>(formId));
        index = GetScoreCount() - 1;
    }
    m_cursor = index;
    SCallScoreEntry& score = *m_scores[index];
    CopyUserName(score, userName);
    score.Value = total;
    score.Time = time;
    score.Answers.clear();
    for (int i = 0; i < form->GetQuestionCount(); ++i) {
        const CQuestion* question = form->GetQuestion(i);
        score.Answers.push_back(ScoreData{question->GetID(), question->GetValue()});
    }
}

// A path that does not fit is refused, never cut: cut short it would name
// another recording's file. The name is made from the path at each call, since
// the entry's path may be set again after a first use.
CKWString CScoredFileListEntry::GetScoreFilePath() const {
    if (!GetPath()[0])
        return CKWString();
    CKWString name;
    name.Format("%s_score.xml", static_cast<const char*>(BaseName(GetPath())));
    CKWString folder = CScoreFormManager::GetInstance()->GetFolder();
    if (folder.IsEmpty()) {
        char current[MAX_PATH];
        DWORD length = GetCurrentDirectoryA(MAX_PATH, current);
        if (length == 0 || length >= MAX_PATH)
            return CKWString();
        folder = current;
    }
    // A folder typed without its closing separator still holds the file.
    char last = folder.GetAt(folder.GetLength() - 1);
    if (last != '\\' && last != '/')
        folder += "\\";
    CKWString path = folder + name;
    if (path.GetLength() >= MAX_PATH) {
        KWTRACE_ERROR(("Score file path too long: %s", static_cast<const char*>(path)));
        return CKWString();
    }
    return path;
}

bool CScoredFileListEntry::SaveScores() {
    if (m_scores.empty())
        return false;
    CKWString path = GetScoreFilePath();
    if (path.IsEmpty())
        return false;
    std::string out = ScoreFile::kDeclaration;
    ScoreFile::AppendLine(out, "<QuestionsScoringData>");
    for (const auto& score : m_scores)
        WriteScore(out, *score);
    ScoreFile::AppendLine(out, "</QuestionsScoringData>");
    return ScoreFile::Replace(path, out);
}

void CScoredFileListEntry::LoadScores(BOOL force) {
    if (!force && !m_scores.empty())
        return;
    CKWString path = GetScoreFilePath();
    COXParser parser;
    if (path.IsEmpty() || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES ||
        !parser.ParseFile(path))
        return;
    ReadScores(parser.GetRoot());
}

// The first Entry of a form wins; an Entry without answers is no score.
void CScoredFileListEntry::ReadScores(const COXParserElement* parent) {
    for (int i = 0; i < parent->GetObjectCount(); ++i) {
        const COXParserObject* object = parent->GetObject(i);
        if (object->GetType() != COXParserObject::TYPE_ELEMENT)
            continue;
        const auto* element = static_cast<const COXParserElement*>(object);
        if (lstrcmpiA(element->GetName(), "QuestionsScoringData") == 0) {
            ReadScores(element);
            continue;
        }
        if (lstrcmpiA(element->GetName(), "Entry") != 0)
            continue;
        const COXParserElement* answers = ScoreFile::FindChild(element, "ScoredValues");
        std::string text;
        const LONG formId =
            ScoreFile::ChildText(element, "ID", text) ? ScoreFile::ToInteger(text) : -1;
        if (!answers || answers->GetObjectCount() == 0 || HasScore(formId))
            continue;
        auto score = std::make_unique<SCallScoreEntry>(formId);
        if (ScoreFile::ChildText(element, "UserName", text))
            CopyUserName(*score, text.c_str());
        if (ScoreFile::ChildText(element, "Value", text))
            score->Value = ScoreFile::ToReal(text);
        if (ScoreFile::ChildText(element, "Time", text))
            score->Time = ScoreFile::ToInteger(text);
        ReadAnswers(answers, score->Answers);
        m_scores.push_back(std::move(score));
    }
}
