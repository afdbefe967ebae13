#include "exercise/zip/zip_exception.h"

#include <cstring>

namespace exercise {

namespace {

std::string describe(int cause, const std::string& fileName)
{
    return "archive error " + std::to_string(cause) + " in \"" + fileName + "\"";
}

}  // namespace

CZipException::CZipException(int cause, std::string fileName)
    : std::runtime_error(describe(cause, fileName)), m_iCause(cause), m_szFileName(std::move(fileName))
{
}

int CZipException::causeFromCode(int code)
{
    switch (code) {
    case 1: return streamEnd;
    case 2: return needDict;
    case -1: return errNo;
    case -2: return streamError;
    case -3: return dataError;
    case -4: return memError;
    case -5: return bufError;
    case -6: return versionError;
    case codeBadZipFile: return badZipFile;
    case codeBadCrc: return badCrc;
    case codeNoCallback: return noCallback;
    case codeAborted: return aborted;
    case codeNonRemovable: return nonRemovable;
    case codeTooManyVolumes: return tooManyVolumes;
    case codeTooLongFileName: return tooLongFileName;
    default: return generic;
    }
}

void CZipException::Throw(int code, const std::string& fileName)
{
    throw CZipException(causeFromCode(code), fileName);
}

CZipFileException::CZipFileException(int osError, std::string fileName, const std::string& what)
    : std::runtime_error(what + " \"" + fileName + "\": " + std::strerror(osError)),
      m_iOsError(osError),
      m_szFileName(std::move(fileName))
{
}

}  // namespace exercise
