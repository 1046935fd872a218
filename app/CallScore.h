// CallScore.h: CCallScore, the process-wide store behind the Access Panel's
// "My Call Score" tree: group records (one per score-form title and, below it,
// one per scorer) and call links to scored recordings, kept in "CallScore.xml"
// in the all-users configuration folder.
//
// The file, as every line ends (CR CR LF, see Scoring/ScoreFile.h):
//   <?xml version="1.0" standalone="yes" ?>
//   <CallScoreData>
//   <CallScore> ID, ParentID, Name, Target, IsGroup (TRUE/FALSE) </CallScore>
//   per record, in store order
//   </CallScoreData>
// Names and targets read back as written (escaped, Scoring/ScoreFile.h).
//
// A missing, empty, blank or unparsable file, or one without a single node,
// gives the default tree: the root "Links to Scored Recordings..." (ID 0) with
// the groups "Sample Sales Calls" (1) and "Sample Customer Service" (2) below
// it. A file that is there but cannot be read is moved aside, never saved over
// (see TreeStore.h). A node is read only with an IsGroup text ("TRUE" in any
// case: a group); of two nodes with one ID the first is kept.
//
// The record and the queries are those of every tree store (TreeStore.h), so
// the call-score tree shares the Access Panel's tree code.
#pragma once

#include "TreeStore.h"

class COXParserElement;

class CCallScore : public CTreeStore {
public:
    typedef CTreeStore::ENTRY CALLSCOREENTRY;

    // Made on first use, without a lock; the application loads it at
    // start-up, saves and deletes it at exit.
    static CCallScore* GetInstance();
    ~CCallScore() override; // clears the instance pointer

protected:
    READRESULT ReadRecords(const CString& path) override;
    bool WriteRecords(const CString& path) override;

private:
    CCallScore();
    void ReadNodes(const COXParserElement* parent, std::unordered_set<int>& ids);

    static CCallScore* s_instance;
};
