// Tests of an entry's extra field: parsing records, writing them back,
// looking up and removing records, and copying.
#include "native/gtest.h"

#include "ZipExtraField.h"

#include <string>
#include <vector>

namespace {

std::string Record(WORD uID, const std::string& data) {
    std::string r;
    r += char(uID & 0xFF);
    r += char(uID >> 8);
    r += char(data.size() & 0xFF);
    r += char((data.size() >> 8) & 0xFF);
    return r + data;
}

std::string Written(const CZipExtraField& field) {
    std::string bytes(field.GetTotalSize(), '\0');
    if (!bytes.empty())
        field.Write(&bytes[0]);
    return bytes;
}

struct SParseCase {
    const char* what;
    std::string bytes;
    bool ok;
    std::vector<WORD> ids; // of the records parsed, when ok
};

TEST(ZipExtraFieldTest, ParsesExactlyTheRecordsThatFillTheBytes) {
    const std::string two = Record(0x5455, "\x01\x02\x03\x04\x05") + Record(0x7875, "");
    const SParseCase cases[] = {
        {"empty field", "", true, {}},
        {"one record", Record(0x000A, "abcd"), true, {0x000A}},
        {"a record without data", Record(0x7875, ""), true, {0x7875}},
        {"two records", two, true, {0x5455, 0x7875}},
        {"last record claims one byte too many",
         Record(0x0001, "abc") + std::string("\x02\x00\x05\x00xxxx", 8),
         false,
         {}},
        {"single record claims too much", std::string("\x0A\x00\x10\x00", 4) + "short", false, {}},
        {"three bytes left after a record",
         Record(0x000A, "ab") + std::string("\x01\x02\x03", 3),
         false,
         {}},
        {"fewer than four bytes", std::string("\x0A\x00", 2), false, {}},
    };
    for (const SParseCase& c : cases) {
        SCOPED_TRACE(c.what);
        CZipExtraField field;
        field.Add(new CZipExtraData(0x1234)); // a stale record the parse must replace
        EXPECT_EQ(field.Parse(c.bytes.data(), DWORD(c.bytes.size())), c.ok);
        if (!c.ok) {
            EXPECT_EQ(field.GetSize(), 0);
            continue;
        }
        ASSERT_EQ(size_t(field.GetSize()), c.ids.size());
        for (size_t i = 0; i < c.ids.size(); i++)
            EXPECT_EQ(field[INT_PTR(i)]->GetHeaderID(), c.ids[i]);
        EXPECT_EQ(field.GetTotalSize(), DWORD(c.bytes.size()));
        EXPECT_EQ(Written(field), c.bytes);
    }
}

TEST(ZipExtraFieldTest, RecordReadTakesItsBytesAndLowersTheCount) {
    const std::string bytes = Record(0x9901, std::string("\x01\x00"
                                                         "AE\x03\x08\x00",
                                                         7)) +
                              "tail";
    CZipExtraData record;
    DWORD uLeft = DWORD(bytes.size());
    ASSERT_TRUE(record.Read(bytes.data(), uLeft));
    EXPECT_EQ(record.GetHeaderID(), 0x9901);
    EXPECT_EQ(record.GetTotalSize(), DWORD(bytes.size() - 4));
    EXPECT_EQ(uLeft, 4u);

    // A record that does not fit leaves the count as it was.
    DWORD uShort = 6;
    EXPECT_FALSE(record.Read(bytes.data(), uShort));
    EXPECT_EQ(uShort, 6u);
}

TEST(ZipExtraFieldTest, RemoveHeadersDeletesEveryMatchAndKeepsTheRest) {
    const std::string bytes = Record(0x7075, "a") + Record(0x5455, "b") + Record(0x7075, "c") +
                              Record(0x9901, "d") + Record(0x000A, "e");
    CZipExtraField field;
    ASSERT_TRUE(field.Parse(bytes.data(), DWORD(bytes.size())));
    int iIndex = -1;
    ASSERT_NE(field.Lookup(0x9901, iIndex), nullptr);
    EXPECT_EQ(iIndex, 3);
    EXPECT_EQ(field.Lookup(0x7075)->m_data.GetBuffer()[0], 'a'); // the first of the id

    const WORD ids[] = {0x7075, 0x9901};
    field.RemoveHeaders(ids, 2);
    EXPECT_EQ(Written(field), Record(0x5455, "b") + Record(0x000A, "e"));
    EXPECT_FALSE(field.HasHeader(0x7075));
    EXPECT_EQ(field.Lookup(0x9901, iIndex), nullptr);
}

TEST(ZipExtraFieldTest, CopiesAreDeepAndTheSizeLimitIsSixtyFourKiB) {
    CZipExtraField field;
    CZipExtraData* pRecord = new CZipExtraData(0x5455);
    pRecord->m_data.Allocate(0xFFFF - 4, true); // total 65,535: the largest that fits
    field.Add(pRecord);
    EXPECT_EQ(field.GetTotalSize(), 0xFFFFu);
    EXPECT_TRUE(field.Validate());

    CZipExtraField copy(field);
    ASSERT_EQ(copy.GetSize(), 1);
    EXPECT_NE(copy[0], field[0]);
    copy[0]->m_data.GetBuffer()[0] = 'x';
    EXPECT_EQ(field[0]->m_data.GetBuffer()[0], '\0');

    pRecord->m_data.Allocate(0xFFFF - 3, true); // total 65,536
    EXPECT_FALSE(field.Validate());

    copy = field;
    EXPECT_EQ(copy.GetTotalSize(), 0x10000u);
    copy.Clear();
    EXPECT_EQ(copy.GetSize(), 0);
    EXPECT_EQ(field.GetTotalSize(), 0x10000u);
}

} // namespace
