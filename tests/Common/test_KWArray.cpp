#include "native/gtest.h"

#include "Common/KWArray.h"
#include "Common/KWString.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// Shaped like the tree items of the Access Panel: a handle, two texts, a flag, and
// no comparison operators.
struct STreeItem {
    int handle;
    CKWString target;
    CKWString text;
    int flag;
};

CKWArray<int> MakeInts(const std::vector<int>& values, int growStep = 10) {
    CKWArray<int> array(0, growStep);
    for (int value : values)
        array.Add(value);
    return array;
}

CKWArray<CKWString> MakeStrings(const std::vector<std::string>& texts, int growStep = 10) {
    CKWArray<CKWString> array(0, growStep);
    for (const std::string& text : texts)
        array.Add(text.c_str());
    return array;
}

std::vector<int> Values(const CKWArray<int>& array) {
    std::vector<int> values;
    for (int i = 0; i < array.GetSize(); ++i)
        values.push_back(array.GetAt(i));
    return values;
}

std::vector<std::string> Texts(const CKWArray<CKWString>& array) {
    std::vector<std::string> texts;
    for (int i = 0; i < array.GetSize(); ++i)
        texts.push_back(static_cast<const char*>(array.GetAt(i)));
    return texts;
}

std::vector<std::string> Numbered(const char* prefix, int count) {
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i)
        texts.push_back(prefix + std::to_string(i));
    return texts;
}

TEST(KWArrayGrowth, NewArrayHasNoStorageAndGrowsByOneStepWhenFull) {
    CKWArray<int> array(0, 10);
    EXPECT_EQ(0, array.GetSize());
    EXPECT_EQ(0, array.GetCapacity());
    EXPECT_EQ(nullptr, array.GetPtr(0));

    array.Add(0);
    EXPECT_EQ(10, array.GetCapacity());
    for (int i = 1; i < 10; ++i)
        array.Add(i);
    EXPECT_EQ(10, array.GetCapacity());
    array.Add(10);
    EXPECT_EQ(20, array.GetCapacity());
    EXPECT_EQ(11, array.GetSize());
    EXPECT_EQ(std::vector<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), Values(array));
}

// Growing by the step alone copies the whole array again every ten elements:
// 100,000 recordings dropped into a search took seconds. Past the first steps
// the capacity grows with the array, so reallocations stay few.
TEST(KWArrayGrowth, LongListsReallocateRarely) {
    const struct {
        int step;
        bool append;
    } cases[] = {{10, false}, {1, false}, {10, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "step " << c.step << (c.append ? ", AppendItems" : ""));
        CKWArray<int> array(0, c.step);
        int reallocations = 0;
        for (int i = 0; i < 100000; ++i) {
            const int capacity = array.GetCapacity();
            if (c.append)
                array.AppendItems(&i, 1);
            else
                array.Add(i);
            reallocations += array.GetCapacity() != capacity;
        }
        ASSERT_EQ(100000, array.GetSize());
        EXPECT_LE(reallocations, 40);
        for (int i = 0; i < 100000; i += 997)
            ASSERT_EQ(i, array.GetAt(i));
    }
}

TEST(KWArrayGrowth, StepBelowOneBecomesTen) {
    const struct {
        int step;
        int capacityAfterFirstAdd;
    } cases[] = {{0, 10}, {-3, 10}, {1, 1}, {4, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        CKWArray<int> array(0, c.step);
        array.Add(1);
        EXPECT_EQ(c.capacityAfterFirstAdd, array.GetCapacity());
    }
}

TEST(KWArraySetSize, NegativeSizeChangesOnlyTheStep) {
    for (int size : {-1, -7}) {
        SCOPED_TRACE(size);
        CKWArray<int> array(3, 10);
        array.GetAt(0) = 7;
        array.SetSize(size, 5);
        EXPECT_EQ(3, array.GetSize());
        EXPECT_EQ(3, array.GetCapacity());
        EXPECT_EQ(7, array.GetAt(0));
        array.Add(1);
        EXPECT_EQ(8, array.GetCapacity());
    }
}

TEST(KWArraySetSize, CapacityBecomesExactlyTheSize) {
    CKWArray<int> made(3, 10);
    EXPECT_EQ(3, made.GetCapacity());
    EXPECT_EQ(std::vector<int>({0, 0, 0}), Values(made));

    CKWArray<int> shrunk = MakeInts({1, 2, 3, 4, 5});
    ASSERT_EQ(10, shrunk.GetCapacity());
    shrunk.SetSize(3, 10);
    EXPECT_EQ(3, shrunk.GetCapacity());
    EXPECT_EQ(std::vector<int>({1, 2, 3}), Values(shrunk));

    CKWArray<CKWString> emptied = MakeStrings({"a", "b"});
    emptied.SetSize(0, 10);
    EXPECT_EQ(0, emptied.GetSize());
    EXPECT_EQ(0, emptied.GetCapacity());
    EXPECT_EQ(nullptr, emptied.GetPtr(0));
    emptied.Add("c");
    EXPECT_EQ(std::vector<std::string>({"c"}), Texts(emptied));
}

// RemoveAt leaves a copy of the last element in the slot behind the size; SetSize
// must not bring it back, whether it keeps the storage or makes new storage.
TEST(KWArraySetSize, SlotsBroughtIntoUseReadAsFreshElements) {
    for (int newSize : {10, 12}) {
        SCOPED_TRACE(newSize);
        CKWArray<int> ints = MakeInts({1, 2, 3, 4, 5});
        ints.RemoveAt(4);
        ints.SetSize(newSize, 10);
        EXPECT_EQ(newSize, ints.GetCapacity());
        std::vector<int> expected(newSize, 0);
        std::iota(expected.begin(), expected.begin() + 4, 1);
        EXPECT_EQ(expected, Values(ints));

        CKWArray<CKWString> strings = MakeStrings({"a", "b", "c", "d", "e"});
        strings.RemoveAt(4);
        strings.SetSize(newSize, 10);
        EXPECT_STREQ("d", strings.GetAt(3));
        EXPECT_STREQ("", strings.GetAt(4));
    }
}

// Freed blocks are handed out again with their old bytes, so storage that was not
// value-initialised would show the earlier array's values here.
TEST(KWArraySetSize, IntegerAndRecordSlotsStartAtZeroOnReusedHeap) {
    const int count = 4096;
    for (int round = 0; round < 4; ++round) {
        {
            CKWArray<int> dirty(count, 10);
            for (int i = 0; i < count; ++i)
                dirty.GetAt(i) = 0x5A5A5A5A;
        }
        CKWArray<int> fresh(count, 10);
        const std::vector<int> values = Values(fresh);
        EXPECT_EQ(count, std::count(values.begin(), values.end(), 0));
    }

    const int items = 1024;
    {
        CKWArray<STreeItem> dirty(items, 10);
        for (int i = 0; i < items; ++i)
            dirty.GetAt(i).handle = dirty.GetAt(i).flag = -1;
    }
    CKWArray<STreeItem> fresh(items, 10);
    int zeroed = 0;
    for (int i = 0; i < items; ++i)
        zeroed += fresh.GetAt(i).handle == 0 && fresh.GetAt(i).flag == 0;
    EXPECT_EQ(items, zeroed);
}

TEST(KWArrayGetAt, OutOfRangeReadsEmptyAndChangesNothing) {
    CKWArray<CKWString> strings = MakeStrings({"a", "b"});
    CKWArray<int> ints = MakeInts({1, 2});
    for (int index : {-1, 2, INT_MAX, INT_MIN}) {
        SCOPED_TRACE(index);
        EXPECT_STREQ("", strings.GetAt(index));
        EXPECT_STREQ("", std::as_const(strings).GetAt(index));
        EXPECT_EQ(0, ints.GetAt(index));
        EXPECT_EQ(0, std::as_const(ints).GetAt(index));
        EXPECT_EQ(nullptr, strings.GetPtr(index));
        EXPECT_EQ(nullptr, std::as_const(ints).GetPtr(index));
    }
    EXPECT_EQ(std::vector<std::string>({"a", "b"}), Texts(strings));
    EXPECT_EQ(std::vector<int>({1, 2}), Values(ints));
    EXPECT_EQ(10, strings.GetCapacity());
}

TEST(KWArrayGetAt, WriteThroughOutOfRangeIsSeenByNoLaterRead) {
    CKWArray<CKWString> strings = MakeStrings({"x"});
    CKWArray<CKWString> other;
    strings.GetAt(5) = "junk";
    EXPECT_STREQ("", strings.GetAt(6));
    EXPECT_STREQ("", std::as_const(strings).GetAt(-1));
    EXPECT_STREQ("", other.GetAt(0));
    EXPECT_STREQ("", std::as_const(other).GetAt(0));
    EXPECT_EQ(std::vector<std::string>({"x"}), Texts(strings));

    CKWArray<int> ints;
    ints.GetAt(-1) = 42;
    EXPECT_EQ(0, ints.GetAt(-1));
    EXPECT_EQ(0, std::as_const(ints).GetAt(3));
    EXPECT_EQ(0, ints.GetSize());
}

TEST(KWArrayAppend, AppendItemsGrowsOnlyWhenTheNewSizeReachesCapacity) {
    const struct {
        int size;
        int count;
        int capacity;
    } cases[] = {
        {4, 5, 10},               // 9 is below 10: stays in place
        {4, 6, 20},               // 10 is not below 10: one step
        {4, 16, 30},              // whole steps until the capacity passes 20
        {4, 0, 10},  {10, 0, 20}, // a full array still gets a free slot
        {0, 9, 10},  {0, 10, 20},
    };
    std::vector<int> items(16);
    std::iota(items.begin(), items.end(), 100);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " + " << c.count);
        std::vector<int> expected(c.size);
        std::iota(expected.begin(), expected.end(), 0);
        CKWArray<int> array = MakeInts(expected);
        const int* storage = array.GetPtr(0);
        array.AppendItems(items.data(), c.count);
        expected.insert(expected.end(), items.begin(), items.begin() + c.count);
        EXPECT_EQ(expected, Values(array));
        EXPECT_EQ(c.capacity, array.GetCapacity());
        if (c.size > 0 && c.capacity == 10) {
            EXPECT_EQ(storage, array.GetPtr(0));
        }
    }
}

TEST(KWArrayAppend, AppendItemsIgnoresNullOrNegativeInput) {
    CKWArray<int> array = MakeInts({1, 2, 3});
    const int items[] = {7, 8};
    array.AppendItems(nullptr, 2);
    array.AppendItems(items, -1);
    EXPECT_EQ(std::vector<int>({1, 2, 3}), Values(array));
    EXPECT_EQ(10, array.GetCapacity());
}

TEST(KWArrayAppend, AppendAddsTheOtherArraysElements) {
    CKWArray<CKWString> array = MakeStrings({"a", "b"});
    CKWArray<CKWString> other = MakeStrings({"c", "d", "e"});
    array.Append(other);
    EXPECT_EQ(std::vector<std::string>({"a", "b", "c", "d", "e"}), Texts(array));
    EXPECT_EQ(std::vector<std::string>({"c", "d", "e"}), Texts(other));
}

// The items come from the array's own storage, which growth replaces.
TEST(KWArrayAppend, OwnElementsAppendSafelyWhetherOrNotTheArrayGrows) {
    for (int size : {10, 3}) {
        SCOPED_TRACE(size);
        const std::vector<std::string> texts = Numbered("recording ", size);
        CKWArray<CKWString> array = MakeStrings(texts);
        array.Append(array);
        std::vector<std::string> expected = texts;
        expected.insert(expected.end(), texts.begin(), texts.end());
        EXPECT_EQ(expected, Texts(array));
    }

    CKWArray<CKWString> full = MakeStrings(Numbered("path ", 10));
    full.Add(full.GetAt(0));
    EXPECT_EQ(20, full.GetCapacity());
    EXPECT_STREQ("path 0", full.GetAt(10));
}

TEST(KWArrayRemoveAt, LaterElementsMoveDownAndOutOfRangeDoesNothing) {
    const struct {
        int index;
        std::vector<std::string> expected;
    } cases[] = {
        {0, {"b", "c", "d"}},       {2, {"a", "b", "d"}},      {3, {"a", "b", "c"}},
        {-1, {"a", "b", "c", "d"}}, {4, {"a", "b", "c", "d"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        CKWArray<CKWString> array = MakeStrings({"a", "b", "c", "d"});
        array.RemoveAt(c.index);
        EXPECT_EQ(c.expected, Texts(array));
        EXPECT_EQ(10, array.GetCapacity());
    }
}

TEST(KWArraySort, StringsInCaseSensitiveOrder) {
    using Strings = std::vector<std::string>;
    const struct {
        Strings input;
        bool ascending, unique;
        Strings expected;
    } cases[] = {
        {{"b", "A", "a", "b"}, true, true, {"A", "a", "b"}},
        {{"b", "A", "a", "b"}, false, false, {"b", "b", "a", "A"}},
        {{"b", "A", "a", "b"}, true, false, {"A", "a", "b", "b"}},
        {{"b", "A", "a", "b"}, false, true, {"b", "a", "A"}},
        {{"ab", "a", "abc", "", "a"}, true, true, {"", "a", "ab", "abc"}},
        {{"x"}, false, true, {"x"}},
        {{}, true, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.input.size() << (c.ascending ? " up" : " down")
                                        << (c.unique ? " unique" : ""));
        CKWArray<CKWString> array = MakeStrings(c.input);
        array.Sort(c.ascending, c.unique);
        EXPECT_EQ(c.expected, Texts(array));
    }
}

TEST(KWArraySort, IntegersAsSignedValues) {
    const struct {
        std::vector<int> input;
        bool ascending, unique;
        std::vector<int> expected;
    } cases[] = {
        {{3, -1, 3, 2}, false, true, {3, 2, -1}},
        {{3, -1, 3, 2}, true, false, {-1, 2, 3, 3}},
        {{INT_MAX, INT_MIN, 0, -1}, true, false, {INT_MIN, -1, 0, INT_MAX}},
        {{5, 5, 5}, true, true, {5}},
        {{}, false, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.input.size() << (c.ascending ? " up" : " down")
                                        << (c.unique ? " unique" : ""));
        CKWArray<int> array = MakeInts(c.input);
        array.Sort(c.ascending, c.unique);
        EXPECT_EQ(c.expected, Values(array));
    }
}

// Sizes on both sides of the gaps 4, 13, 40, 121 and 364, with many duplicates.
TEST(KWArraySort, AgreesWithStdSortAcrossGapSizes) {
    std::mt19937 random(1234);
    for (int size : {2, 3, 4, 5, 13, 14, 40, 41, 121, 122, 364, 365, 1000}) {
        std::uniform_int_distribution<int> pick(-size / 2, size / 2);
        std::vector<int> values(size);
        for (int& value : values)
            value = pick(random);
        for (bool ascending : {true, false}) {
            for (bool unique : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << size << (ascending ? " up" : " down") << (unique ? " unique" : ""));
                std::vector<int> expected = values;
                if (ascending)
                    std::sort(expected.begin(), expected.end());
                else
                    std::sort(expected.begin(), expected.end(), std::greater<int>());
                if (unique)
                    expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
                CKWArray<int> ints = MakeInts(values);
                ints.Sort(ascending, unique);
                EXPECT_EQ(expected, Values(ints));

                std::vector<std::string> texts, expectedTexts;
                for (int value : values)
                    texts.push_back("call " + std::to_string(value));
                for (int value : expected)
                    expectedTexts.push_back("call " + std::to_string(value));
                CKWArray<CKWString> strings = MakeStrings(texts);
                strings.Sort(ascending, unique);
                std::vector<std::string> sorted = Texts(strings);
                // Text order differs from number order; compare as sorted sets.
                std::sort(sorted.begin(), sorted.end());
                std::sort(expectedTexts.begin(), expectedTexts.end());
                EXPECT_EQ(expectedTexts, sorted);
                const std::vector<std::string> inOrder = Texts(strings);
                EXPECT_TRUE(ascending ? std::is_sorted(inOrder.begin(), inOrder.end())
                                      : std::is_sorted(inOrder.rbegin(), inOrder.rend()));
            }
        }
    }
}

TEST(KWArrayFind, FirstEqualStringCaseSensitively) {
    const CKWArray<CKWString> array = MakeStrings({"a", "B", "b", "B"});
    EXPECT_EQ(1, array.Find("B"));
    EXPECT_EQ(2, array.Find("b"));
    EXPECT_EQ(-1, array.Find("A"));
    EXPECT_EQ(-1, array.Find(""));
    EXPECT_EQ(-1, CKWArray<CKWString>().Find("a"));
}

TEST(KWArrayFind, AddUniqueAddsOnlyMissingStrings) {
    CKWArray<CKWString> array = MakeStrings({"a", "b"});
    EXPECT_EQ(1, array.AddUnique("b"));
    EXPECT_EQ(2, array.GetSize());
    EXPECT_EQ(2, array.AddUnique("B"));
    EXPECT_EQ(2, array.AddUnique("B"));
    EXPECT_EQ(std::vector<std::string>({"a", "b", "B"}), Texts(array));
}

TEST(KWArrayCopy, CopyAndCopyConstructorTakeElementsAndStep) {
    const std::vector<std::string> texts = {"a", "b", "c", "d"};
    CKWArray<CKWString> source = MakeStrings(texts, 3);
    ASSERT_EQ(6, source.GetCapacity());

    CKWArray<CKWString> assigned = MakeStrings({"x", "y", "z", "w", "v"});
    assigned.Copy(source);
    CKWArray<CKWString> constructed(source);
    for (CKWArray<CKWString>* copy : {&assigned, &constructed}) {
        EXPECT_EQ(texts, Texts(*copy));
        EXPECT_EQ(4, copy->GetCapacity());
        copy->Add("e");
        EXPECT_EQ(7, copy->GetCapacity()); // the source's step of 3
        copy->GetAt(0).SetAt(0, 'z');
    }
    EXPECT_EQ(texts, Texts(source));
}

TEST(KWArrayCopy, CopyOfItselfKeepsItAndOfAnEmptyArrayEmptiesIt) {
    CKWArray<CKWString> array = MakeStrings({"a", "b"});
    array.Copy(array);
    EXPECT_EQ(std::vector<std::string>({"a", "b"}), Texts(array));

    array.Copy(CKWArray<CKWString>());
    EXPECT_EQ(0, array.GetSize());
    EXPECT_EQ(0, array.GetCapacity());
}

TEST(KWArrayRecords, ListOperationsWorkWithoutComparisons) {
    CKWArray<STreeItem> items(0, 10);
    items.Add({7, "C:\\calls\\a.zel", "a", 1});
    items.Add({8, "C:\\calls\\b.zel", "b", 0});
    items.Add({9, "C:\\calls\\c.zel", "c", 1});
    items.RemoveAt(1);
    items.Append(items);
    ASSERT_EQ(4, items.GetSize());
    const int handles[] = {7, 9, 7, 9};
    const char* texts[] = {"a", "c", "a", "c"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(nullptr, items.GetPtr(i));
        EXPECT_EQ(handles[i], items.GetPtr(i)->handle);
        EXPECT_STREQ(texts[i], items.GetAt(i).text);
        EXPECT_EQ(1, items.GetAt(i).flag);
    }
    EXPECT_EQ(0, std::as_const(items).GetAt(4).handle);
    EXPECT_STREQ("", std::as_const(items).GetAt(4).target);
}

} // namespace
