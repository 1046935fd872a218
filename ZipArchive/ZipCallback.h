// ZipCallback.h: progress callbacks of the archive operations.
#pragma once

#include "framework/AfxString.h"

#include <windows.h>

class CZipCallback {
public:
    // Answers whether the operation may go on.
    virtual bool Callback(DWORD uProgress) = 0;
    virtual ~CZipCallback() = default;

    CString m_szExternalFile;
};

class CZipActionCallback : public CZipCallback {
public:
    // Callback types the operations raise.
    enum CallbackType {
        cbNothing = 0,
        cbAdd = 0x0001,
        cbAddTmp = 0x0002,
        cbAddStore = 0x0004,
        cbExtract = 0x0008,
        cbDeleteCnt = 0x0010,
        cbDelete = 0x0020,
        cbTest = 0x0040,
        cbSave = 0x0080,
        cbGet = 0x0100,
        cbModify = 0x0200,
        cbMoveData = 0x0400,
        cbCalculateForMulti = 0x0800,
        cbMultiAdd = 0x1001,
        cbEncryptPrepare = 0x2000,
        cbEncryptMoveData = 0x4000,
        cbEncrypt = 0x8000,
        cbMultiEncrypt = 0x1C000,
        cbAll = 0x1FFFF,
    };

    // Totals and counts of a run over several files.
    struct CMultiActionsInfo {
        DWORD m_uTotalBytesToProcess = 0;
        DWORD m_uTotalFilesToProcess = 0;
        DWORD m_uBytesProcessed = 0;
        DWORD m_uFilesProcessed = 0;
        int m_iReactType = 0;
        bool m_bActive = false;
    };

    CZipActionCallback();
    ~CZipActionCallback() override;

    virtual void MultiActionsInit(DWORD uTotalFilesToProcess, DWORD uTotalBytesToProcess,
                                  int iReactType);
    virtual void Init(LPCSTR lpszFileInZip = nullptr, LPCSTR lpszExternalFile = nullptr);
    virtual void SetTotal(DWORD uTotalToDo) { m_uTotalToProcess = uTotalToDo; }
    virtual bool MultiActionsNext();
    virtual void CallbackEnd() {}
    virtual void MultiActionsEnd();
    virtual int GetStepSize();
    // Adds to the processed bytes and asks Callback.
    virtual bool RequestCallback(DWORD uProgress = 1);

    // Steps by amount: reported every GetStepSize steps; the last step reports
    // what is cached.
    bool RequestLastCallback(DWORD uProgress = 0);
    bool Step(DWORD uProgress);
    CMultiActionsInfo* GetMultiActionsInfo() const { return m_pMultiActionsInfo; }

    DWORD m_uTotalToProcess;
    DWORD m_uProcessed;
    CString m_szFileInZip;
    int m_iType;

private:
    void ResetProgressStage();

    CMultiActionsInfo* m_pMultiActionsInfo;
    int m_iStep;
    int m_iCurrentStep;
    DWORD m_uAccumulatedProgress;
};
