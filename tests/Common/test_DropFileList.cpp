// Tests of CDropFileList: the exact CF_HDROP block, and the shell reading it back.
#include "native/gtest.h"

#include "Common/DropFileList.h"

#include <windows.h>

#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// What the shell reads from the block once it sits in global memory, as the
// call list hands it to the clipboard or to an OLE drag.
struct ShellView {
    std::vector<std::string> paths;
    POINT point;
    BOOL inClientArea;
};

ShellView ReadWithShell(const CDropFileList& list) {
    ShellView view = {};
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, list.GetBlockSize());
    if (!memory) {
        ADD_FAILURE() << "GlobalAlloc failed";
        return view;
    }
    std::memcpy(GlobalLock(memory), list.GetBlock(), list.GetBlockSize());
    GlobalUnlock(memory);
    HDROP drop = static_cast<HDROP>(memory);
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::string path(length + 1, '\0');
        EXPECT_EQ(length, DragQueryFileA(drop, i, &path[0], length + 1));
        path.resize(length);
        view.paths.push_back(path);
    }
    view.inClientArea = DragQueryPoint(drop, &view.point);
    GlobalFree(memory);
    return view;
}

std::string BlockBytes(const CDropFileList& list) {
    return std::string(reinterpret_cast<const char*>(list.GetBlock()), list.GetBlockSize());
}

} // namespace

TEST(DropFileList, TwoPathsGiveTheExactBlock) {
    CDropFileList list;
    list.Add("C:\\a.zel");
    list.Add("C:\\bc.zel");
    list.BuildBlock();

    std::string expected(64, '\0');
    expected[0] = 20; // offset of the file list; drop point, flags all zero
    const char paths[] = "C:\\a.zel\0C:\\bc.zel\0";
    expected.replace(20, sizeof paths - 1, paths, sizeof paths - 1);
    ASSERT_EQ(list.GetBlockSize(), 64u);
    EXPECT_EQ(BlockBytes(list), expected);
}

TEST(DropFileList, SizeIsRaisedPastTheNextMultipleOf32) {
    struct Case {
        std::vector<int> lengths;
        SIZE_T size;
    };
    const Case cases[] = {
        {{}, 32},       // 22
        {{8}, 32},      // 31
        {{9}, 64},      // 32 exactly still gains 32
        {{8, 9}, 64},   // 41
        {{41}, 96},     // 64 exactly
        {{20, 21}, 96}, // 65
        {{300}, 352},   // 323
    };
    for (const Case& c : cases) {
        CDropFileList list;
        SIZE_T written = 20;
        for (int length : c.lengths) {
            list.Add(CString('p', length));
            written += length + 1;
        }
        list.BuildBlock();
        SCOPED_TRACE(testing::PrintToString(c.lengths));
        ASSERT_EQ(list.GetBlockSize(), c.size);
        // Everything after the paths is zero: the list's closing NUL and the padding.
        std::string bytes = BlockBytes(list);
        EXPECT_EQ(bytes.find_first_not_of('\0', written), std::string::npos);
        EXPECT_EQ(bytes[written - 1], '\0');
    }
}

TEST(DropFileList, ShellReadsEveryPathBackInOrder) {
    CDropFileList list;
    std::vector<std::string> paths = {"C:\\calls\\2024\\0001.zel",
                                      "\\\\recorder\\share\\with blank\\call 2.zel",
                                      "Z:\\" + std::string(240, 'x') + ".zel"};
    for (int i = 0; i < 300; ++i)
        paths.push_back("D:\\calls\\" + std::to_string(i) + ".zel");
    for (const std::string& path : paths)
        list.Add(path.c_str());
    list.BuildBlock();

    ShellView view = ReadWithShell(list);
    EXPECT_EQ(view.paths, paths);
    EXPECT_EQ(view.point.x, 0);
    EXPECT_EQ(view.point.y, 0);
    EXPECT_TRUE(view.inClientArea); // the non-client flag is 0
}

// A lone NUL would end the list there and drop every later path.
TEST(DropFileList, EmptyPathsAreLeftOutOfTheBlock) {
    CDropFileList list;
    list.Add("C:\\first.zel");
    list.Add("");
    list.Add("C:\\last.zel");
    list.BuildBlock();

    EXPECT_EQ(list.GetBlockSize(), 64u); // 13 + 12 + 22 = 47
    std::vector<std::string> expected = {"C:\\first.zel", "C:\\last.zel"};
    EXPECT_EQ(ReadWithShell(list).paths, expected);
}

TEST(DropFileList, BlockExistsOnlyOnceBuiltAndFollowsARebuild) {
    CDropFileList list;
    EXPECT_EQ(list.GetBlock(), nullptr);
    EXPECT_EQ(list.GetBlockSize(), 0u);

    list.Add("C:\\a.zel");
    EXPECT_EQ(list.GetBlock(), nullptr);
    list.BuildBlock();
    EXPECT_EQ(ReadWithShell(list).paths, std::vector<std::string>{"C:\\a.zel"});

    list.Add("C:\\b.zel");
    list.BuildBlock();
    std::vector<std::string> both = {"C:\\a.zel", "C:\\b.zel"};
    EXPECT_EQ(ReadWithShell(list).paths, both);

    // No paths: an empty list (Wine's DragQueryFileA counts one empty name in
    // it; the callers offer no block when nothing is selected).
    list.RemoveAll();
    list.BuildBlock();
    ASSERT_EQ(list.GetBlockSize(), 32u);
    EXPECT_EQ(BlockBytes(list).find_first_not_of('\0', 1), std::string::npos);
}
