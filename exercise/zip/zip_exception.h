#pragma once
// Errors of the archive reader. A fault of the archive itself is a
// CZipException with a cause number; the operating system's refusal of a file
// operation and a caller's bad argument are exceptions of their own, so the
// caller decides what each means.
#include <stdexcept>
#include <string>

namespace exercise {

class CZipException : public std::runtime_error {
public:
    // Cause numbers; the internal codes of the reader and of zlib map to them
    // through causeFromCode().
    enum Cause {
        generic = 1,
        streamEnd = 2,
        needDict = 3,
        errNo = 4,
        streamError = 5,
        dataError = 6,
        memError = 7,
        bufError = 8,
        versionError = 9,
        badZipFile = 10,
        badCrc = 11,
        noCallback = 12,
        aborted = 13,
        nonRemovable = 14,
        tooManyVolumes = 15,
        tooLongFileName = 16,
    };

    // Internal codes of the reader itself (zlib's own results are the rest).
    enum Code {
        codeBadZipFile = -101,
        codeBadCrc = -102,
        codeNoCallback = -103,
        codeAborted = -104,
        codeNonRemovable = -105,
        codeTooManyVolumes = -106,
        codeTooLongFileName = -107,
    };

    CZipException(int cause, std::string fileName);

    static int causeFromCode(int code);
    // Throws the exception of an internal code.
    [[noreturn]] static void Throw(int code, const std::string& fileName);

    int m_iCause;
    std::string m_szFileName;
};

// The operating system refused a file operation on `fileName`.
class CZipFileException : public std::runtime_error {
public:
    CZipFileException(int osError, std::string fileName, const std::string& what);
    int m_iOsError;
    std::string m_szFileName;
};

// A bad argument or an index out of range.
class CZipArgumentException : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

}  // namespace exercise
