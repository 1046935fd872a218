// RemoteControls.h: reading the common controls of another process, the
// program a test drives from outside. Messages that carry a pointer reach the
// control with the pointer as it is, so their structures and text buffers
// are placed in the program's own memory, where the control reads and writes
// them, and are copied back from there.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

// A block of the other process's memory for the life of the object.
class CRemoteMemory {
public:
    CRemoteMemory(HANDLE hProcess, size_t size)
        : m_hProcess(hProcess), m_size(size),
          m_pAddress(::VirtualAllocEx(hProcess, nullptr, size, MEM_COMMIT | MEM_RESERVE,
                                      PAGE_READWRITE)) {}
    ~CRemoteMemory() {
        if (m_pAddress != nullptr)
            ::VirtualFreeEx(m_hProcess, m_pAddress, 0, MEM_RELEASE);
    }
    CRemoteMemory(const CRemoteMemory&) = delete;
    CRemoteMemory& operator=(const CRemoteMemory&) = delete;

    bool IsValid() const { return m_pAddress != nullptr; }
    // The address in the other process, offset bytes in.
    void* At(size_t offset = 0) const { return static_cast<char*>(m_pAddress) + offset; }
    LPARAM Param(size_t offset = 0) const { return reinterpret_cast<LPARAM>(At(offset)); }

    bool Write(const void* pData, size_t size, size_t offset = 0) const {
        SIZE_T written = 0;
        return m_pAddress != nullptr && offset + size <= m_size &&
               ::WriteProcessMemory(m_hProcess, At(offset), pData, size, &written) &&
               written == size;
    }
    bool Read(void* pData, size_t size, size_t offset = 0) const {
        SIZE_T read = 0;
        return m_pAddress != nullptr && offset + size <= m_size &&
               ::ReadProcessMemory(m_hProcess, At(offset), pData, size, &read) && read == size;
    }
    // The NUL-terminated text at offset (at most the rest of the block).
    std::string ReadText(size_t offset) const {
        std::vector<char> text(m_size - offset + 1, '\0');
        if (!Read(text.data(), m_size - offset, offset))
            return std::string();
        return text.data();
    }

private:
    HANDLE m_hProcess;
    size_t m_size;
    void* m_pAddress;
};

const size_t kRemoteTextSize = 1024;

// The text of a report-view cell; the list asks its owner for callback texts.
inline std::string ListCellText(HANDLE hProcess, HWND hList, int row, int column) {
    CRemoteMemory memory(hProcess, sizeof(LVITEMA) + kRemoteTextSize);
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = static_cast<char*>(memory.At(sizeof(LVITEMA)));
    item.cchTextMax = static_cast<int>(kRemoteTextSize);
    if (!memory.Write(&item, sizeof(item)))
        return std::string();
    ::SendMessageA(hList, LVM_GETITEMTEXTA, row, memory.Param());
    return memory.ReadText(sizeof(LVITEMA));
}

// The image index of a cell, or -2 when it cannot be read.
inline int ListCellImage(HANDLE hProcess, HWND hList, int row, int column) {
    CRemoteMemory memory(hProcess, sizeof(LVITEMA));
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iSubItem = column;
    if (!memory.Write(&item, sizeof(item)) ||
        !::SendMessageA(hList, LVM_GETITEMA, 0, memory.Param()) ||
        !memory.Read(&item, sizeof(item)))
        return -2;
    return item.iImage;
}

// The titles of a report view's columns, in column order.
inline std::vector<std::string> ListColumnTitles(HANDLE hProcess, HWND hList) {
    std::vector<std::string> titles;
    CRemoteMemory memory(hProcess, sizeof(LVCOLUMNA) + kRemoteTextSize);
    for (int column = 0;; ++column) {
        LVCOLUMNA info = {};
        info.mask = LVCF_TEXT;
        info.pszText = static_cast<char*>(memory.At(sizeof(LVCOLUMNA)));
        info.cchTextMax = static_cast<int>(kRemoteTextSize);
        const char none = '\0';
        if (!memory.Write(&info, sizeof(info)) || !memory.Write(&none, 1, sizeof(LVCOLUMNA)) ||
            !::SendMessageA(hList, LVM_GETCOLUMNA, column, memory.Param()))
            break;
        titles.push_back(memory.ReadText(sizeof(LVCOLUMNA)));
    }
    return titles;
}

// A toolbar button's rectangle in screen coordinates, by its command; empty
// when the bar has no such button.
inline RECT ToolbarButtonRect(HANDLE hProcess, HWND hBar, int nCommand) {
    RECT rect = {0, 0, 0, 0};
    CRemoteMemory memory(hProcess, sizeof(RECT));
    if (!::SendMessageA(hBar, TB_GETRECT, nCommand, memory.Param()) ||
        !memory.Read(&rect, sizeof(rect)))
        return RECT{0, 0, 0, 0};
    ::MapWindowPoints(hBar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline std::string TreeItemText(HANDLE hProcess, HWND hTree, HTREEITEM hItem) {
    CRemoteMemory memory(hProcess, sizeof(TVITEMA) + kRemoteTextSize);
    TVITEMA item = {};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = hItem;
    item.pszText = static_cast<char*>(memory.At(sizeof(TVITEMA)));
    item.cchTextMax = static_cast<int>(kRemoteTextSize);
    if (!memory.Write(&item, sizeof(item)) ||
        !::SendMessageA(hTree, TVM_GETITEMA, 0, memory.Param()))
        return std::string();
    return memory.ReadText(sizeof(TVITEMA));
}

// The rectangle of an item's label in screen coordinates; empty when the item
// is not visible.
inline RECT TreeItemRect(HANDLE hProcess, HWND hTree, HTREEITEM hItem) {
    RECT rect = {0, 0, 0, 0};
    CRemoteMemory memory(hProcess, sizeof(RECT));
    // The message takes the item in the rectangle's place.
    if (!memory.Write(&hItem, sizeof(hItem)) ||
        !::SendMessageA(hTree, TVM_GETITEMRECT, TRUE, memory.Param()) ||
        !memory.Read(&rect, sizeof(rect)))
        return RECT{0, 0, 0, 0};
    ::MapWindowPoints(hTree, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The labels of every item of a tree in tree order, each indented by two
// spaces per level below the top.
inline std::vector<std::string> TreeOutline(HANDLE hProcess, HWND hTree) {
    std::vector<std::string> lines;
    struct Walker {
        HANDLE hProcess;
        HWND hTree;
        std::vector<std::string>& lines;
        void Walk(HTREEITEM hItem, int level) {
            for (; hItem != nullptr; hItem = Next(hItem, TVGN_NEXT)) {
                lines.push_back(std::string(2 * level, ' ') + TreeItemText(hProcess, hTree, hItem));
                Walk(Next(hItem, TVGN_CHILD), level + 1);
            }
        }
        HTREEITEM Next(HTREEITEM hItem, WPARAM code) {
            return reinterpret_cast<HTREEITEM>(
                ::SendMessageA(hTree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(hItem)));
        }
    } walker = {hProcess, hTree, lines};
    walker.Walk(walker.Next(nullptr, TVGN_ROOT), 0);
    return lines;
}

// The item of a tree whose label is text, searched in tree order; null when
// none has it.
inline HTREEITEM FindTreeItem(HANDLE hProcess, HWND hTree, const std::string& text) {
    auto next = [&](HTREEITEM hItem, WPARAM code) {
        return reinterpret_cast<HTREEITEM>(
            ::SendMessageA(hTree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(hItem)));
    };
    std::vector<HTREEITEM> pending = {next(nullptr, TVGN_ROOT)};
    while (!pending.empty()) {
        HTREEITEM hItem = pending.back();
        pending.pop_back();
        if (hItem == nullptr)
            continue;
        if (TreeItemText(hProcess, hTree, hItem) == text)
            return hItem;
        pending.push_back(next(hItem, TVGN_NEXT));
        pending.push_back(next(hItem, TVGN_CHILD));
    }
    return nullptr;
}

// A tab's rectangle in screen coordinates.
inline RECT TabItemRect(HANDLE hProcess, HWND hTab, int index) {
    RECT rect = {0, 0, 0, 0};
    CRemoteMemory memory(hProcess, sizeof(RECT));
    if (!::SendMessageA(hTab, TCM_GETITEMRECT, index, memory.Param()) ||
        !memory.Read(&rect, sizeof(rect)))
        return RECT{0, 0, 0, 0};
    ::MapWindowPoints(hTab, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline std::string TabItemText(HANDLE hProcess, HWND hTab, int index) {
    CRemoteMemory memory(hProcess, sizeof(TCITEMA) + kRemoteTextSize);
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = static_cast<char*>(memory.At(sizeof(TCITEMA)));
    item.cchTextMax = static_cast<int>(kRemoteTextSize);
    if (!memory.Write(&item, sizeof(item)) ||
        !::SendMessageA(hTab, TCM_GETITEMA, index, memory.Param()))
        return std::string();
    return memory.ReadText(sizeof(TCITEMA));
}
