// ZipCallback.cpp: the progress stepping shared by every archive operation.
#include "ZipCallback.h"

CZipActionCallback::CZipActionCallback()
    : m_uTotalToProcess(0), m_uProcessed(0), m_iType(cbNothing), m_pMultiActionsInfo(nullptr),
      m_iStep(1), m_iCurrentStep(1), m_uAccumulatedProgress(0) {}

CZipActionCallback::~CZipActionCallback() {
    delete m_pMultiActionsInfo;
}

void CZipActionCallback::MultiActionsInit(DWORD uTotalFilesToProcess, DWORD uTotalBytesToProcess,
                                          int iReactType) {
    delete m_pMultiActionsInfo;
    m_pMultiActionsInfo = new CMultiActionsInfo;
    m_pMultiActionsInfo->m_uTotalFilesToProcess = uTotalFilesToProcess;
    m_pMultiActionsInfo->m_uTotalBytesToProcess = uTotalBytesToProcess;
    m_pMultiActionsInfo->m_iReactType = iReactType;
}

void CZipActionCallback::Init(LPCSTR lpszFileInZip, LPCSTR lpszExternalFile) {
    m_szFileInZip = lpszFileInZip ? lpszFileInZip : "";
    m_szExternalFile = lpszExternalFile ? lpszExternalFile : "";
    m_uTotalToProcess = 0;
    m_uProcessed = 0;
    m_iStep = GetStepSize();
    if (m_iStep == 0)
        m_iStep = 1;
    ResetProgressStage();
    if (m_pMultiActionsInfo && m_pMultiActionsInfo->m_iReactType == m_iType)
        m_pMultiActionsInfo->m_bActive = true;
}

bool CZipActionCallback::MultiActionsNext() {
    if (!m_pMultiActionsInfo || !m_pMultiActionsInfo->m_bActive)
        return true;
    m_pMultiActionsInfo->m_uFilesProcessed++;
    return Callback(0);
}

void CZipActionCallback::MultiActionsEnd() {
    delete m_pMultiActionsInfo;
    m_pMultiActionsInfo = nullptr;
}

int CZipActionCallback::GetStepSize() {
    // Operations that report once per entry would call back far too often on
    // big archives; they report every 256 entries instead.
    switch (m_iType) {
    case cbDeleteCnt:
    case cbSave:
    case cbCalculateForMulti:
    case cbEncryptPrepare:
        return 256;
    default:
        return 1;
    }
}

bool CZipActionCallback::RequestCallback(DWORD uProgress) {
    m_uProcessed += uProgress;
    if (m_pMultiActionsInfo && m_pMultiActionsInfo->m_bActive)
        m_pMultiActionsInfo->m_uBytesProcessed += uProgress;
    return Callback(uProgress);
}

bool CZipActionCallback::Step(DWORD uProgress) {
    if (uProgress == 0)
        return true;
    if (m_iStep == 1)
        return RequestCallback(uProgress);
    m_uAccumulatedProgress += uProgress;
    if (m_iCurrentStep >= m_iStep) {
        DWORD uCached = m_uAccumulatedProgress;
        ResetProgressStage();
        return RequestCallback(uCached);
    }
    m_iCurrentStep++;
    return true;
}

bool CZipActionCallback::RequestLastCallback(DWORD uProgress) {
    DWORD uTotal = uProgress + m_uAccumulatedProgress;
    bool bRet = true;
    if (uProgress != 0 || m_uAccumulatedProgress != 0)
        bRet = RequestCallback(uTotal);
    ResetProgressStage();
    return bRet;
}

void CZipActionCallback::ResetProgressStage() {
    m_iCurrentStep = 1;
    m_uAccumulatedProgress = 0;
}
