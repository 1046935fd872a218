// QuestionsTree.h: the question repository as a tree.
//   CQuestionsTree             groups and predefined questions of
//                              CQuestionRepository, editable or read-only
//   CQuestionsTreeWithToolbar  the tree below its toolbar (resource 243:
//                              Export, Import, New Question Group, New
//                              Question, Edit Question, Delete selected items)
//
// Each item carries the ID of its repository entry as item data and shows the
// entry's GroupName; a group's children are inserted when it is expanded for
// the first time. Every edit goes straight to the repository's entries;
// writing "questions.xml" is left to the dialog that holds the tree.
//
// Marks: any number of items carry the selected state beside the control's
// single current item. Ctrl+click adds an item, Shift+click marks a range in
// tree order from the last clicked item. Delete removes the marked items;
// creating and editing act on the current item, or, from the context menu, on
// the item that was right-clicked (the item whose state the menu shows).
//
// A read-only tree (Editable 0, set before filling) shows no menu, marks only
// the clicked item, refuses label edits and every editing command, and leaves
// double clicks to its parent window.
#pragma once

#include "BaseWndWithToolbar.h"
#include "KWArray.h"
#include "Scoring/QuestionRepository.h"

#include "framework/ImageList.h"
#include "framework/Menu.h"
#include "framework/TreeCtrl.h"

#include <vector>

class CQuestionsTree : public CTreeCtrl {
public:
    typedef CQuestionRepository::QUESTION_ENTRY ENTRY;

    // One marked item, as the delete command collects them.
    struct QUESTIONSTREEITEM {
        HTREEITEM Item = nullptr;
        ENTRY* Entry = nullptr; // the repository's own entry, not owned
        CKWString Text;         // the item's label
        LONG IsGroup = 0;
    };
    enum { IMAGE_GROUP = 0, IMAGE_SCALE = 1, IMAGE_YESNO = 2 };
    // A question's label holds at most this many characters of its prompt.
    enum { MAX_LABEL_PROMPT = 100 };

    CQuestionsTree();
    ~CQuestionsTree() override;

    // 1 at construction; 0 makes the tree read-only.
    BOOL Editable;

    // Builds the image list, empties the tree and inserts the top level; 0
    // without a window.
    int InitTree();
    // Expands every item with children, in tree order; the expansions fill
    // the children, so the whole tree ends filled and open.
    void ExpandAll();
    // First child, else next sibling, else the next sibling of the nearest
    // ancestor that has one; null at the end.
    HTREEITEM GetNextTreeItem(HTREEITEM hItem) const;
    // Inserts an item per entry below nParentID at the end of hParent
    // (TVI_ROOT: the top level); the last one inserted, or null.
    HTREEITEM InsertChildItems(HTREEITEM hParent, LONG nParentID);

    // The item's entry in the repository; null when it has none.
    ENTRY* GetItemEntry(HTREEITEM hItem) const;
    // The question stored in the item's entry (the repository's object, not
    // a copy); null for a group or an item without an entry.
    CQuestion* GetItemQuestion(HTREEITEM hItem) const;
    // "first 100 characters..." of a long prompt, else the prompt.
    static CKWString LabelForPrompt(const char* pszPrompt);

    // A group entry (empty name: "New Group"; ID -1: 0) and its item at the
    // end of hParent (null: the top level; a question: its group); with
    // bEdit its label is edited at once. Null, adding no entry, when the
    // item cannot be inserted; null, adding no item, when an entry holds the
    // ID already.
    HTREEITEM AddGroup(HTREEITEM hParent, LPCTSTR lpszName, LONG nID, BOOL bEdit);
    // A question entry holding a copy of question, labelled lpszLabel, at the
    // end of hParent (a question: its group); with bEdit the question editor
    // runs on it. Null without a parent, when the item cannot be inserted or
    // when an entry holds the question's ID already.
    HTREEITEM AddQuestion(HTREEITEM hParent, const CQuestion& question, LPCTSTR lpszLabel,
                          BOOL bEdit);
    // Runs the question editor on the item's stored question; on OK the
    // label follows the prompt and the image the type.
    void EditQuestion(HTREEITEM hItem);
    // Removes the item's entry, the entries below it and the item with its
    // children; FALSE, leaving the item, when it has no entry.
    BOOL RemoveItem(HTREEITEM hItem);

    // The commands: New Question Group and New Question below hItem, Edit
    // Name on the current item, Delete on the marked items (after asking).
    // Each does nothing in a read-only tree.
    void NewGroup(HTREEITEM hItem);
    void NewQuestion(HTREEITEM hItem);
    void EditItemLabel(HTREEITEM hItem);
    afx_msg void OnEditName();
    afx_msg void OnDeleteSelected();

    // Export and import through a file dialog, or straight with a path; each
    // reports its result in a message box naming the file.
    void ExportRepository();
    void ImportRepository();
    BOOL ExportRepositoryTo(LPCTSTR lpszPath);
    BOOL ImportRepositoryFrom(LPCTSTR lpszPath);

    // The marks.
    int CountSelected() const;
    void DeselectAll();
    void SetItemSelected(HTREEITEM hItem, BOOL bSelected);
    BOOL IsItemSelected(HTREEITEM hItem) const;
    // Appends the marked items at and after hStart in tree order, entering
    // groups that have entries below them.
    void CollectSelected(CKWArray<QUESTIONSTREEITEM>& items, HTREEITEM hStart) const;
    // Of hFirst and hSecond, the one that comes first in tree order.
    HTREEITEM FindFirstOf(HTREEITEM hFirst, HTREEITEM hSecond) const;
    // Marks from hFrom to hTo in tree order, both included; stops early at an
    // item without an entry.
    void SelectRange(HTREEITEM hFrom, HTREEITEM hTo);
    // The item of the last left or right click; null for none.
    HTREEITEM GetAnchorItem() const { return m_hAnchor; }
    BOOL IsEditing() const { return m_bEditing; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // The right-button menu for the clicked item, and its command.
    void BuildContextMenu(CMenu& menu, HTREEITEM hClicked) const;
    void RunContextCommand(UINT nCmd, HTREEITEM hClicked);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnDblClick(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    static CQuestionRepository& Repository() { return *CQuestionRepository::GetInstance(); }
    // Copies of the entries below nParentID, in repository order: the
    // repository's search cursor is shared, and filling may expand.
    static std::vector<ENTRY> GetChildEntries(LONG nParentID);
    static int ImageOf(const ENTRY& entry);
    HTREEITEM InsertEntryItem(HTREEITEM hParent, const ENTRY& entry, BOOL bHasChildren);
    // Fills the children of an item never expanded, so that a new child is
    // not inserted a second time by the first expansion.
    void FillChildItems(HTREEITEM hItem);
    void SetHasChildren(HTREEITEM hItem, BOOL bHasChildren);
    BOOL ItemExists(HTREEITEM hItem) const;
    void RemoveEntriesBelow(LONG nID);
    // The marks in tree order, entering groups whose entries have children.
    template <class F> void WalkMarkable(HTREEITEM hStart, F visit) const;

    CImageList m_images;
    BOOL m_bEditing = FALSE;       // from the start to the end of a label edit
    HTREEITEM m_hAnchor = nullptr; // cleared when its item is deleted
    HACCEL m_hAccel = nullptr;     // loaded at WM_CREATE only; shared, never destroyed
};

class CQuestionsTreeWithToolbar : public CBaseWndWithToolbar {
public:
    CQuestionsTreeWithToolbar();
    ~CQuestionsTreeWithToolbar() override;

    CQuestionsTree& GetQuestionsTree() { return m_wndTree; }

    BOOL CreateTree(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;
    CTreeCtrl* GetTree() override { return &m_wndTree; }
    UINT GetToolbarId() override;
    BOOL OnToolbarCommand(UINT nID) override;
    void OnUpdateToolbarCommand(CCmdUI* pCmdUI) override;
    // Whether the button of nID is enabled now (the rule of
    // OnUpdateToolbarCommand).
    BOOL IsToolbarCommandEnabled(UINT nID);
    // Sets every button's state by that rule. The bar's own idle update asks
    // a frame window, and in a dialog there is none.
    void UpdateToolbarButtons();

private:
    CQuestionsTree m_wndTree;
};
