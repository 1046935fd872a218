// Tests of Exception.h: the exception classes, their messages and AfxThrow functions.
#include "native/gtest.h"

#include "framework/Exception.h"

#include <cerrno>
#include <cstring>
#include <string>

namespace {

// Throws through f and returns the caught exception (the caller deletes it).
template <class F> CException* Catch(F f) {
    try {
        f();
    } catch (CException* e) {
        return e;
    }
    return nullptr;
}

std::string Message(const CException& e) {
    char text[512];
    e.GetErrorMessage(text, sizeof text);
    return text;
}

// Counts destructions of a heap exception.
class CCountedException : public CException {
public:
    explicit CCountedException(int& deleted) : m_deleted(deleted) {}
    ~CCountedException() override { ++m_deleted; }
    int& m_deleted;
};

} // namespace

TEST(Exception, RuntimeClassesFormTheFrameworkTree) {
    EXPECT_TRUE(RUNTIME_CLASS(CMemoryException)->IsDerivedFrom(RUNTIME_CLASS(CSimpleException)));
    EXPECT_TRUE(RUNTIME_CLASS(CSimpleException)->IsDerivedFrom(RUNTIME_CLASS(CException)));
    EXPECT_TRUE(RUNTIME_CLASS(CFileException)->IsDerivedFrom(RUNTIME_CLASS(CException)));
    EXPECT_FALSE(RUNTIME_CLASS(CFileException)->IsDerivedFrom(RUNTIME_CLASS(CSimpleException)));
    EXPECT_TRUE(RUNTIME_CLASS(CException)->IsDerivedFrom(RUNTIME_CLASS(CObject)));
    EXPECT_STREQ("CArchiveException", RUNTIME_CLASS(CArchiveException)->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CInvalidArgException), CRuntimeClass::FromName("CInvalidArgException"));
}

TEST(Exception, EachAfxThrowThrowsItsClass) {
    struct Case {
        void (*thrower)();
        CRuntimeClass* cls;
        const char* text;
    } cases[] = {
        {AfxThrowMemoryException, RUNTIME_CLASS(CMemoryException), "Out of memory."},
        {AfxThrowNotSupportedException, RUNTIME_CLASS(CNotSupportedException),
         "An unsupported operation was attempted."},
        {AfxThrowResourceException, RUNTIME_CLASS(CResourceException),
         "A required resource was unavailable."},
        {AfxThrowUserException, RUNTIME_CLASS(CUserException), "An unknown error has occurred."},
        {AfxThrowInvalidArgException, RUNTIME_CLASS(CInvalidArgException),
         "Encountered an improper argument."},
    };
    for (const Case& c : cases) {
        CException* e = Catch(c.thrower);
        ASSERT_NE(nullptr, e);
        EXPECT_EQ(c.cls, e->GetRuntimeClass());
        EXPECT_EQ(c.text, Message(*e));
        e->Delete();
    }
}

TEST(Exception, MemoryExceptionIsStaticAndSurvivesDelete) {
    CException* first = Catch(AfxThrowMemoryException);
    ASSERT_NE(nullptr, first);
    EXPECT_FALSE(first->m_bAutoDelete);
    first->Delete();
    CException* second = Catch(AfxThrowMemoryException);
    EXPECT_EQ(first, second);
    EXPECT_EQ("Out of memory.", Message(*second));
    second->Delete();
}

TEST(Exception, DeleteFreesOnlyAutoDeletingExceptions) {
    int deleted = 0;
    CException* heap = new CCountedException(deleted);
    heap->Delete();
    EXPECT_EQ(1, deleted);
    {
        CCountedException onStack(deleted);
        onStack.m_bAutoDelete = FALSE;
        onStack.Delete();
        EXPECT_EQ(1, deleted);
    }
    EXPECT_EQ(2, deleted);
}

TEST(Exception, GetErrorMessageCutsAndTerminates) {
    CNotSupportedException e;
    char text[10];
    std::memset(text, '#', sizeof text);
    UINT help = 77;
    EXPECT_TRUE(e.GetErrorMessage(text, sizeof text, &help));
    EXPECT_STREQ("An unsupp", text);
    EXPECT_EQ(0u, help);
    EXPECT_FALSE(e.GetErrorMessage(nullptr, 10));
    EXPECT_FALSE(e.GetErrorMessage(text, 0));
    char one[1] = {'#'};
    EXPECT_TRUE(e.GetErrorMessage(one, 1));
    EXPECT_EQ('\0', one[0]);
    CException plain;
    EXPECT_FALSE(plain.GetErrorMessage(text, sizeof text));
    EXPECT_STREQ("", text);
}

TEST(FileException, CarriesCauseOsErrorAndFileName) {
    CException* e =
        Catch([] { AfxThrowFileException(CFileException::accessDenied, 5, "C:\\a.zel"); });
    ASSERT_NE(nullptr, e);
    CFileException* fe = DYNAMIC_DOWNCAST(CFileException, e);
    ASSERT_NE(nullptr, fe);
    EXPECT_EQ(CFileException::accessDenied, fe->m_cause);
    EXPECT_EQ(5, fe->m_lOsError);
    EXPECT_STREQ("C:\\a.zel", fe->m_strFileName);
    EXPECT_EQ("Access to C:\\a.zel was denied.", Message(*fe));
    e->Delete();

    CFileException defaults;
    EXPECT_EQ(CFileException::none, defaults.m_cause);
    EXPECT_EQ(-1, defaults.m_lOsError);
    EXPECT_TRUE(defaults.m_strFileName.IsEmpty());
    EXPECT_EQ("No error occurred.", Message(defaults));
    CFileException unnamed(CFileException::fileNotFound);
    EXPECT_EQ("an unnamed file was not found.", Message(unnamed));
    CFileException odd(99, 0, "f");
    EXPECT_EQ("An unknown error occurred while accessing f.", Message(odd));
}

TEST(FileException, OsErrorToException) {
    EXPECT_EQ(CFileException::none, CFileException::OsErrorToException(NO_ERROR));
    EXPECT_EQ(CFileException::fileNotFound,
              CFileException::OsErrorToException(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(CFileException::badPath, CFileException::OsErrorToException(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(CFileException::tooManyOpenFiles,
              CFileException::OsErrorToException(ERROR_TOO_MANY_OPEN_FILES));
    EXPECT_EQ(CFileException::accessDenied,
              CFileException::OsErrorToException(ERROR_ACCESS_DENIED));
    EXPECT_EQ(CFileException::sharingViolation,
              CFileException::OsErrorToException(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(CFileException::lockViolation,
              CFileException::OsErrorToException(ERROR_LOCK_VIOLATION));
    EXPECT_EQ(CFileException::diskFull, CFileException::OsErrorToException(ERROR_DISK_FULL));
    EXPECT_EQ(CFileException::endOfFile, CFileException::OsErrorToException(ERROR_HANDLE_EOF));
    EXPECT_EQ(CFileException::badSeek, CFileException::OsErrorToException(ERROR_NEGATIVE_SEEK));
    EXPECT_EQ(CFileException::hardIO, CFileException::OsErrorToException(ERROR_CRC));
    EXPECT_EQ(CFileException::genericException, CFileException::OsErrorToException(123456));
}

TEST(FileException, ThrowOsErrorAndErrno) {
    CException* e = Catch([] { CFileException::ThrowOsError(ERROR_FILE_NOT_FOUND, "x.txt"); });
    CFileException* fe = DYNAMIC_DOWNCAST(CFileException, e);
    ASSERT_NE(nullptr, fe);
    EXPECT_EQ(CFileException::fileNotFound, fe->m_cause);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, fe->m_lOsError);
    EXPECT_EQ("x.txt was not found.", Message(*fe));
    e->Delete();

    e = Catch([] { CFileException::ThrowErrno(ENOSPC); });
    fe = DYNAMIC_DOWNCAST(CFileException, e);
    ASSERT_NE(nullptr, fe);
    EXPECT_EQ(CFileException::diskFull, fe->m_cause);
    e->Delete();
    EXPECT_EQ(CFileException::accessDenied, CFileException::ErrnoToException(EACCES));
    EXPECT_EQ(CFileException::genericException, CFileException::ErrnoToException(EXDEV));
}

TEST(ArchiveException, CarriesCauseAndName) {
    CException* e = Catch([] { AfxThrowArchiveException(CArchiveException::endOfFile, "menu"); });
    CArchiveException* ae = DYNAMIC_DOWNCAST(CArchiveException, e);
    ASSERT_NE(nullptr, ae);
    EXPECT_EQ(CArchiveException::endOfFile, ae->m_cause);
    EXPECT_STREQ("menu", ae->m_strFileName);
    EXPECT_EQ("An attempt was made to access menu past its end.", Message(*ae));
    e->Delete();
    EXPECT_EQ(CArchiveException::bufferFull, 8);
}

TEST(ExceptionMacros, CatchDeletesAtTheEndOfTheHandler) {
    int deleted = 0;
    bool caught = false;
    TRY {
        throw new CCountedException(deleted);
    }
    CATCH(CCountedException, e) {
        caught = true;
        EXPECT_EQ(0, e->m_deleted);
    }
    END_CATCH
    EXPECT_TRUE(caught);
    EXPECT_EQ(1, deleted);
}

TEST(ExceptionMacros, AndCatchAndThrowLast) {
    int deleted = 0;
    CException* outer = nullptr;
    try {
        TRY {
            THROW(new CCountedException(deleted));
        }
        CATCH(CFileException, e) {
            ADD_FAILURE() << "wrong handler";
        }
        AND_CATCH_ALL(e) {
            THROW_LAST();
        }
        END_CATCH_ALL
    } catch (CException* e) {
        outer = e;
    }
    ASSERT_NE(nullptr, outer);
    EXPECT_EQ(0, deleted); // rethrown, not deleted
    outer->Delete();
    EXPECT_EQ(1, deleted);
}
