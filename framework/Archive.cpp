// Archive.cpp: CArchive, the string length prefix and CArchiveStream (Archive.h).
#include "Archive.h"

#include "Exception.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
const int kMinBufferSize = 128;
}

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pDocument(nullptr), m_bForceFlat(TRUE), m_nMode(nMode), m_pFile(pFile),
      m_lpBufStart(nullptr), m_lpBufCur(nullptr), m_lpBufMax(nullptr), m_nBufSize(nBufSize),
      m_bUserBuf(TRUE), m_nObjectSchema(static_cast<UINT>(-1)) {
    if (pFile == nullptr)
        AfxThrowInvalidArgException();
    m_strFileName = pFile->GetFilePath();
    m_lpBufStart = static_cast<BYTE*>(lpBuf);
    if (nBufSize < kMinBufferSize) {
        m_nBufSize = kMinBufferSize;
        m_lpBufStart = nullptr;
    }
    if (m_lpBufStart == nullptr) {
        m_lpBufStart = new BYTE[m_nBufSize];
        m_bUserBuf = FALSE;
    }
    m_lpBufMax = m_lpBufStart + m_nBufSize;
    m_lpBufCur = IsLoading() ? m_lpBufMax : m_lpBufStart;
}

CArchive::~CArchive() {
    if (m_pFile != nullptr && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Close();
        } catch (CException* e) {
            e->Delete();
        }
    }
    Abort();
    if (!m_bUserBuf)
        delete[] m_lpBufStart;
}

UINT CArchive::GetObjectSchema() {
    UINT schema = m_nObjectSchema;
    m_nObjectSchema = static_cast<UINT>(-1); // can be read only once
    return schema;
}

CFile* CArchive::File() const {
    if (m_pFile == nullptr)
        AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    return m_pFile;
}

void CArchive::CheckStoring() const {
    if (!IsStoring())
        AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
}

void CArchive::CheckLoading() const {
    if (!IsLoading())
        AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName);
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
    if (nMax == 0)
        return 0;
    if (lpBuf == nullptr)
        AfxThrowInvalidArgException();
    CheckLoading();
    BYTE* out = static_cast<BYTE*>(lpBuf);
    UINT left = nMax;

    // What the buffer holds first.
    UINT n = std::min(left, static_cast<UINT>(m_lpBufMax - m_lpBufCur));
    std::memcpy(out, m_lpBufCur, n);
    m_lpBufCur += n;
    out += n;
    left -= n;
    if (left == 0)
        return nMax;

    // Whole buffers' worth straight from the file.
    UINT direct = left - left % static_cast<UINT>(m_nBufSize);
    while (direct > 0) {
        UINT got = File()->Read(out, direct);
        if (got == 0)
            return nMax - left;
        out += got;
        left -= got;
        direct -= got;
    }
    // The rest through the buffer.
    if (left > 0) {
        m_lpBufCur = m_lpBufMax = m_lpBufStart;
        UINT available = FillAvailable(left);
        n = std::min(left, available);
        std::memcpy(out, m_lpBufCur, n);
        m_lpBufCur += n;
        left -= n;
    }
    return nMax - left;
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
    if (nMax == 0)
        return;
    if (lpBuf == nullptr)
        AfxThrowInvalidArgException();
    CheckStoring();
    const BYTE* in = static_cast<const BYTE*>(lpBuf);
    UINT n = std::min(nMax, static_cast<UINT>(m_lpBufMax - m_lpBufCur));
    std::memcpy(m_lpBufCur, in, n);
    m_lpBufCur += n;
    in += n;
    nMax -= n;
    if (nMax == 0)
        return;
    Flush();
    UINT direct = nMax - nMax % static_cast<UINT>(m_nBufSize);
    if (direct > 0) {
        File()->Write(in, direct);
        in += direct;
        nMax -= direct;
    }
    std::memcpy(m_lpBufCur, in, nMax);
    m_lpBufCur += nMax;
}

void CArchive::Flush() {
    if (IsLoading()) {
        if (m_lpBufMax != m_lpBufCur)
            File()->Seek(-static_cast<LONGLONG>(m_lpBufMax - m_lpBufCur), CFile::current);
        m_lpBufCur = m_lpBufMax;
    } else {
        if (m_lpBufCur != m_lpBufStart)
            File()->Write(m_lpBufStart, static_cast<UINT>(m_lpBufCur - m_lpBufStart));
        m_lpBufCur = m_lpBufStart;
    }
}

void CArchive::Close() {
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort() {
    m_pFile = nullptr;
}

UINT CArchive::FillAvailable(UINT nTotalNeeded) {
    UINT unused = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
    if (unused >= nTotalNeeded)
        return unused;
    if (m_lpBufCur != m_lpBufStart) {
        std::memmove(m_lpBufStart, m_lpBufCur, unused);
        m_lpBufCur = m_lpBufStart;
        m_lpBufMax = m_lpBufStart + unused;
    }
    // Read as much as fits, so that small reads that follow need no file call.
    UINT have = unused;
    while (have < nTotalNeeded) {
        UINT got = File()->Read(m_lpBufStart + have, static_cast<UINT>(m_nBufSize) - have);
        if (got == 0)
            break;
        have += got;
    }
    m_lpBufMax = m_lpBufStart + have;
    return have;
}

void CArchive::FillBuffer(UINT nBytesNeeded) {
    CheckLoading();
    UINT total = static_cast<UINT>(m_lpBufMax - m_lpBufCur) + nBytesNeeded;
    if (FillAvailable(total) < total) {
        m_lpBufCur = m_lpBufMax;
        AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
    }
}

template <class T> void CArchive::Put(T value) {
    CheckStoring();
    if (m_lpBufCur + sizeof(T) > m_lpBufMax)
        Flush();
    std::memcpy(m_lpBufCur, &value, sizeof(T));
    m_lpBufCur += sizeof(T);
}

template <class T> T CArchive::Get() {
    CheckLoading();
    if (m_lpBufCur + sizeof(T) > m_lpBufMax)
        FillBuffer(static_cast<UINT>(sizeof(T) - (m_lpBufMax - m_lpBufCur)));
    T value;
    std::memcpy(&value, m_lpBufCur, sizeof(T));
    m_lpBufCur += sizeof(T);
    return value;
}

CArchive& CArchive::operator<<(bool b) {
    Put<BYTE>(b ? 1 : 0);
    return *this;
}
CArchive& CArchive::operator<<(char ch) {
    Put<BYTE>(static_cast<BYTE>(ch));
    return *this;
}
CArchive& CArchive::operator<<(signed char ch) {
    Put<BYTE>(static_cast<BYTE>(ch));
    return *this;
}
CArchive& CArchive::operator<<(BYTE by) {
    Put<BYTE>(by);
    return *this;
}
CArchive& CArchive::operator<<(wchar_t ch) {
    Put<WORD>(static_cast<WORD>(ch));
    return *this;
}
CArchive& CArchive::operator<<(short w) {
    Put<WORD>(static_cast<WORD>(w));
    return *this;
}
CArchive& CArchive::operator<<(WORD w) {
    Put<WORD>(w);
    return *this;
}
CArchive& CArchive::operator<<(int i) {
    Put<int>(i);
    return *this;
}
CArchive& CArchive::operator<<(unsigned u) {
    Put<unsigned>(u);
    return *this;
}
CArchive& CArchive::operator<<(long l) {
    Put<long long>(l);
    return *this;
}
CArchive& CArchive::operator<<(unsigned long l) {
    Put<unsigned long long>(l);
    return *this;
}
CArchive& CArchive::operator<<(long long l) {
    Put<long long>(l);
    return *this;
}
CArchive& CArchive::operator<<(unsigned long long l) {
    Put<unsigned long long>(l);
    return *this;
}
CArchive& CArchive::operator<<(float f) {
    Put<float>(f);
    return *this;
}
CArchive& CArchive::operator<<(double d) {
    Put<double>(d);
    return *this;
}

CArchive& CArchive::operator>>(bool& b) {
    b = Get<BYTE>() != 0;
    return *this;
}
CArchive& CArchive::operator>>(char& ch) {
    ch = static_cast<char>(Get<BYTE>());
    return *this;
}
CArchive& CArchive::operator>>(signed char& ch) {
    ch = static_cast<signed char>(Get<BYTE>());
    return *this;
}
CArchive& CArchive::operator>>(BYTE& by) {
    by = Get<BYTE>();
    return *this;
}
CArchive& CArchive::operator>>(wchar_t& ch) {
    ch = static_cast<wchar_t>(Get<WORD>());
    return *this;
}
CArchive& CArchive::operator>>(short& w) {
    w = static_cast<short>(Get<WORD>());
    return *this;
}
CArchive& CArchive::operator>>(WORD& w) {
    w = Get<WORD>();
    return *this;
}
CArchive& CArchive::operator>>(int& i) {
    i = Get<int>();
    return *this;
}
CArchive& CArchive::operator>>(unsigned& u) {
    u = Get<unsigned>();
    return *this;
}
CArchive& CArchive::operator>>(long& l) {
    l = static_cast<long>(Get<long long>());
    return *this;
}
CArchive& CArchive::operator>>(unsigned long& l) {
    l = static_cast<unsigned long>(Get<unsigned long long>());
    return *this;
}
CArchive& CArchive::operator>>(long long& l) {
    l = Get<long long>();
    return *this;
}
CArchive& CArchive::operator>>(unsigned long long& l) {
    l = Get<unsigned long long>();
    return *this;
}
CArchive& CArchive::operator>>(float& f) {
    f = Get<float>();
    return *this;
}
CArchive& CArchive::operator>>(double& d) {
    d = Get<double>();
    return *this;
}

void CArchive::WriteString(LPCSTR lpsz) {
    if (lpsz == nullptr)
        AfxThrowInvalidArgException();
    Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
}

LPSTR CArchive::ReadString(LPSTR lpsz, UINT nMax) {
    if (lpsz == nullptr)
        return nullptr;
    CheckLoading();
    const bool keepNewline = static_cast<int>(nMax) < 0;
    const UINT stop = keepNewline ? static_cast<UINT>(-static_cast<int>(nMax)) : nMax;
    UINT count = 0;
    bool readAny = false;
    while (count < stop) {
        if (m_lpBufCur == m_lpBufMax && FillAvailable(1) == 0)
            break;
        readAny = true;
        char ch = static_cast<char>(*m_lpBufCur++);
        if (ch == '\n' || ch == '\r') {
            if (ch == '\r' && (m_lpBufCur != m_lpBufMax || FillAvailable(1) > 0) &&
                *m_lpBufCur == '\n') {
                ++m_lpBufCur;
                ch = '\n';
            }
            if (keepNewline)
                lpsz[count++] = ch;
            break;
        }
        lpsz[count++] = ch;
    }
    if (!readAny && stop > 0)
        return nullptr;
    lpsz[count] = '\0';
    return lpsz;
}

BOOL CArchive::ReadString(CString& rString) {
    CheckLoading();
    rString.Empty();
    bool readAny = false;
    for (;;) {
        if (m_lpBufCur == m_lpBufMax && FillAvailable(1) == 0)
            break;
        readAny = true;
        // Take the run up to the next line end at once.
        BYTE* start = m_lpBufCur;
        while (m_lpBufCur != m_lpBufMax && *m_lpBufCur != '\n' && *m_lpBufCur != '\r')
            ++m_lpBufCur;
        rString.Append(reinterpret_cast<LPCSTR>(start), static_cast<int>(m_lpBufCur - start));
        if (m_lpBufCur == m_lpBufMax)
            continue;
        char ch = static_cast<char>(*m_lpBufCur++);
        if (ch == '\r' && (m_lpBufCur != m_lpBufMax || FillAvailable(1) > 0) && *m_lpBufCur == '\n')
            ++m_lpBufCur;
        break;
    }
    return readAny ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------
// Strings

void AFXAPI AfxWriteStringLength(CArchive& ar, UINT_PTR nLength, BOOL bUnicode) {
    if (bUnicode) {
        ar << static_cast<BYTE>(0xFF);
        ar << static_cast<WORD>(0xFFFE);
    }
    if (nLength < 255) {
        ar << static_cast<BYTE>(nLength);
    } else if (nLength < 0xFFFE) {
        ar << static_cast<BYTE>(0xFF);
        ar << static_cast<WORD>(nLength);
    } else if (nLength < 0xFFFFFFFF) {
        ar << static_cast<BYTE>(0xFF);
        ar << static_cast<WORD>(0xFFFF);
        ar << static_cast<DWORD>(nLength);
    } else {
        ar << static_cast<BYTE>(0xFF);
        ar << static_cast<WORD>(0xFFFF);
        ar << static_cast<DWORD>(0xFFFFFFFF);
        ar << static_cast<ULONGLONG>(nLength);
    }
}

UINT_PTR AFXAPI AfxReadStringLength(CArchive& ar, int& nCharSize) {
    BYTE bLength;
    WORD wLength;
    DWORD dwLength;
    ULONGLONG qwLength;
    nCharSize = 1;
    ar >> bLength;
    if (bLength < 0xFF)
        return bLength;
    ar >> wLength;
    if (wLength == 0xFFFE) {
        nCharSize = 2;
        ar >> bLength;
        if (bLength < 0xFF)
            return bLength;
        ar >> wLength;
    }
    if (wLength < 0xFFFF)
        return wLength;
    ar >> dwLength;
    if (dwLength < 0xFFFFFFFF)
        return dwLength;
    ar >> qwLength;
    return static_cast<UINT_PTR>(qwLength);
}

CArchive& AFXAPI operator<<(CArchive& ar, const CString& str) {
    AfxWriteStringLength(ar, static_cast<UINT_PTR>(str.GetLength()), FALSE);
    ar.Write(str.GetString(), static_cast<UINT>(str.GetLength()));
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, CString& str) {
    int charSize = 1;
    UINT_PTR length = AfxReadStringLength(ar, charSize);
    if (length > 0x7FFFFFFE / static_cast<UINT_PTR>(charSize))
        AfxThrowArchiveException(CArchiveException::genericException);
    const UINT bytes = static_cast<UINT>(length) * static_cast<UINT>(charSize);
    if (charSize == 1) {
        CString text;
        char* buffer = text.GetBuffer(static_cast<int>(length));
        UINT got = ar.Read(buffer, bytes);
        text.ReleaseBuffer(static_cast<int>(got));
        if (got != bytes)
            AfxThrowArchiveException(CArchiveException::endOfFile);
        str = static_cast<CString&&>(text);
    } else {
        std::vector<WCHAR> wide(length + 1);
        UINT got = ar.Read(wide.data(), bytes);
        if (got != bytes)
            AfxThrowArchiveException(CArchiveException::endOfFile);
        str = CString(wide.data(), static_cast<int>(length));
    }
    return ar;
}

// ---------------------------------------------------------------------------
// CArchiveStream

HRESULT STDMETHODCALLTYPE CArchiveStream::QueryInterface(REFIID riid, void** ppvObject) {
    if (ppvObject == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IStream) ||
        IsEqualIID(riid, IID_ISequentialStream)) {
        *ppvObject = static_cast<IStream*>(this);
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE CArchiveStream::Read(void* pv, ULONG cb, ULONG* pcbRead) {
    UINT got = 0;
    try {
        got = m_pArchive->Read(pv, cb);
    } catch (CException* e) {
        e->Delete();
        return E_UNEXPECTED;
    }
    if (pcbRead != nullptr)
        *pcbRead = got;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CArchiveStream::Write(const void* pv, ULONG cb, ULONG* pcbWritten) {
    try {
        m_pArchive->Write(pv, cb);
    } catch (CException* e) {
        e->Delete();
        return E_UNEXPECTED;
    }
    if (pcbWritten != nullptr)
        *pcbWritten = cb;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CArchiveStream::Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin,
                                               ULARGE_INTEGER* plibNewPosition) {
    if (dlibMove.QuadPart < -0x80000000LL || dlibMove.QuadPart > 0x7FFFFFFFLL ||
        dwOrigin > STREAM_SEEK_END)
        return E_NOTIMPL;
    CFile* file = m_pArchive->GetFile();
    if (file == nullptr)
        return E_NOTIMPL;
    ULONGLONG position = 0;
    try {
        m_pArchive->Flush();
        position = file->Seek(dlibMove.QuadPart, dwOrigin);
    } catch (CException* e) {
        e->Delete();
        return E_UNEXPECTED;
    }
    if (plibNewPosition != nullptr)
        plibNewPosition->QuadPart = position;
    return S_OK;
}
