// Tests of the progress callbacks: step sizes by type, the caching of small
// steps, the last step, multi-action records and the provider's registration.
#include "native/gtest.h"

#include "ZipCallback.h"
#include "ZipCallbackProvider.h"

#include <vector>

namespace {

// Records every notification and answers as told.
class CRecordingCallback : public CZipActionCallback {
public:
    bool Callback(DWORD uProgress) override {
        m_calls.push_back(uProgress);
        return m_bAnswer;
    }
    std::vector<DWORD> m_calls;
    bool m_bAnswer = true;
};

TEST(ZipCallback, StepSizeByType) {
    struct Case {
        int iType;
        int iStep;
    };
    const Case cases[] = {
        {CZipActionCallback::cbAdd, 1},         {CZipActionCallback::cbAddTmp, 1},
        {CZipActionCallback::cbDeleteCnt, 256}, {CZipActionCallback::cbDelete, 1},
        {CZipActionCallback::cbSave, 256},      {CZipActionCallback::cbModify, 1},
        {CZipActionCallback::cbMoveData, 1},    {CZipActionCallback::cbCalculateForMulti, 256},
        {CZipActionCallback::cbMultiAdd, 1},    {CZipActionCallback::cbEncryptPrepare, 256},
        {CZipActionCallback::cbEncrypt, 1},
    };
    for (const Case& c : cases) {
        CRecordingCallback callback;
        callback.m_iType = c.iType;
        EXPECT_EQ(c.iStep, callback.GetStepSize()) << "type " << c.iType;
    }
}

TEST(ZipCallback, InitResetsCountsAndStoresTexts) {
    CRecordingCallback callback;
    callback.m_iType = CZipActionCallback::cbAdd;
    callback.SetTotal(50);
    callback.Step(7);
    callback.Init("in\\zip.zel", "C:\\disk\\zip.zel");
    EXPECT_EQ(0u, callback.m_uTotalToProcess);
    EXPECT_EQ(0u, callback.m_uProcessed);
    EXPECT_STREQ("in\\zip.zel", callback.m_szFileInZip);
    EXPECT_STREQ("C:\\disk\\zip.zel", callback.m_szExternalFile);
    callback.Init();
    EXPECT_STREQ("", callback.m_szFileInZip);
    EXPECT_STREQ("", callback.m_szExternalFile);
}

TEST(ZipCallback, StepOfOneReportsEveryAmount) {
    CRecordingCallback callback;
    callback.m_iType = CZipActionCallback::cbAdd;
    callback.Init("a", "b");
    EXPECT_TRUE(callback.Step(10));
    EXPECT_TRUE(callback.Step(0)); // nothing to report: no call
    EXPECT_TRUE(callback.Step(5));
    EXPECT_TRUE(callback.RequestLastCallback());
    EXPECT_EQ((std::vector<DWORD>{10, 5}), callback.m_calls);
    EXPECT_EQ(15u, callback.m_uProcessed);

    callback.m_bAnswer = false;
    EXPECT_FALSE(callback.Step(3));
    EXPECT_TRUE(callback.Step(0)); // amount 0 answers true without asking
    EXPECT_EQ(3u, callback.m_calls.size());
}

TEST(ZipCallback, LargeStepCachesAndLastStepReportsTheRest) {
    CRecordingCallback callback;
    callback.m_iType = CZipActionCallback::cbSave; // step 256
    callback.Init();
    for (int i = 0; i < 600; i++)
        ASSERT_TRUE(callback.Step(1));
    EXPECT_EQ((std::vector<DWORD>{256, 256}), callback.m_calls);
    EXPECT_TRUE(callback.RequestLastCallback(2));
    EXPECT_EQ((std::vector<DWORD>{256, 256, 90}), callback.m_calls);
    EXPECT_EQ(602u, callback.m_uProcessed);
    // Nothing cached and nothing given: no call.
    EXPECT_TRUE(callback.RequestLastCallback());
    EXPECT_EQ(3u, callback.m_calls.size());
}

TEST(ZipCallback, RefusalIsSeenOnlyWhenReported) {
    CRecordingCallback callback;
    callback.m_iType = CZipActionCallback::cbDeleteCnt; // step 256
    callback.Init();
    callback.m_bAnswer = false;
    for (int i = 0; i < 255; i++)
        ASSERT_TRUE(callback.Step(1)) << i;
    EXPECT_FALSE(callback.Step(1));
    EXPECT_EQ((std::vector<DWORD>{256}), callback.m_calls);
    EXPECT_TRUE(callback.Step(1));
    EXPECT_FALSE(callback.RequestLastCallback());
    EXPECT_EQ((std::vector<DWORD>{256, 1}), callback.m_calls);
}

TEST(ZipCallback, MultiActionCountsOnlyForTheReactingType) {
    struct Case {
        int iReactType;
        bool bActive;
    };
    const Case cases[] = {{CZipActionCallback::cbAdd, true}, {CZipActionCallback::cbDelete, false}};
    for (const Case& c : cases) {
        CRecordingCallback callback;
        callback.m_iType = CZipActionCallback::cbAdd;
        callback.MultiActionsInit(3, 1000, c.iReactType);
        ASSERT_NE(nullptr, callback.GetMultiActionsInfo());
        EXPECT_FALSE(callback.GetMultiActionsInfo()->m_bActive);
        callback.Init("a", "b");
        const CZipActionCallback::CMultiActionsInfo* pInfo = callback.GetMultiActionsInfo();
        EXPECT_EQ(c.bActive, pInfo->m_bActive);
        EXPECT_EQ(3u, pInfo->m_uTotalFilesToProcess);
        EXPECT_EQ(1000u, pInfo->m_uTotalBytesToProcess);
        callback.Step(100);
        callback.m_bAnswer = false;
        // An active record asks the callback (which refuses here); else true.
        EXPECT_EQ(!c.bActive, callback.MultiActionsNext());
        EXPECT_EQ(c.bActive ? 100u : 0u, pInfo->m_uBytesProcessed);
        EXPECT_EQ(c.bActive ? 1u : 0u, pInfo->m_uFilesProcessed);
        EXPECT_EQ(c.bActive ? (std::vector<DWORD>{100, 0}) : (std::vector<DWORD>{100}),
                  callback.m_calls);
        callback.MultiActionsEnd();
        EXPECT_EQ(nullptr, callback.GetMultiActionsInfo());
        EXPECT_TRUE(callback.MultiActionsNext());
    }
}

TEST(ZipCallbackProvider, RegistersEveryTypeSharingABit) {
    struct Case {
        int iMask;
        std::vector<int> registered;
    };
    const Case cases[] = {
        {CZipActionCallback::cbAdd, {0x1, 0x1001}},
        {CZipActionCallback::cbMultiAdd, {0x1, 0x1001}},
        {CZipActionCallback::cbEncrypt, {0x8000, 0x1C000}},
        {CZipActionCallback::cbDelete | CZipActionCallback::cbSave, {0x20, 0x80}},
        {0x1000, {0x1001}},
    };
    const int allTypes[] = {0x1,   0x2,   0x4,   0x8,    0x10,   0x20,   0x40,   0x80,   0x100,
                            0x200, 0x400, 0x800, 0x1001, 0x2000, 0x4000, 0x8000, 0x1C000};
    for (const Case& c : cases) {
        CRecordingCallback callback;
        ZipArchiveLib::CZipCallbackProvider provider;
        provider.Set(&callback, c.iMask);
        EXPECT_EQ(static_cast<INT_PTR>(c.registered.size()), provider.GetCount()) << c.iMask;
        for (int iType : allTypes) {
            bool bExpected = false;
            for (int iRegistered : c.registered)
                bExpected = bExpected || iRegistered == iType;
            EXPECT_EQ(bExpected ? &callback : nullptr, provider.Get(iType))
                << "mask " << c.iMask << " type " << iType;
        }
    }
}

TEST(ZipCallbackProvider, GetSetsTheTypeAndNoneRemoves) {
    CRecordingCallback callback;
    ZipArchiveLib::CZipCallbackProvider provider;
    provider.Set(&callback, CZipActionCallback::cbAll);
    EXPECT_EQ(17, provider.GetCount());
    ASSERT_EQ(&callback, provider.Get(CZipActionCallback::cbSave));
    EXPECT_EQ(CZipActionCallback::cbSave, callback.m_iType);
    EXPECT_EQ(256, callback.GetStepSize());
    ASSERT_EQ(&callback, provider.Get(CZipActionCallback::cbAdd));
    EXPECT_EQ(CZipActionCallback::cbAdd, callback.m_iType);

    provider.Set(nullptr, CZipActionCallback::cbAdd);
    EXPECT_EQ(nullptr, provider.Get(CZipActionCallback::cbAdd));
    EXPECT_EQ(nullptr, provider.Get(CZipActionCallback::cbMultiAdd));
    EXPECT_EQ(&callback, provider.Get(CZipActionCallback::cbAddTmp));
    EXPECT_EQ(15, provider.GetCount());
    provider.Set(nullptr, CZipActionCallback::cbAll);
    EXPECT_EQ(0, provider.GetCount());
}

} // namespace
