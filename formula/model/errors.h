#pragma once
// The one error the formula readers throw: a code (2 XML load failure,
// 3 syntax error, 4 COM error, 5 unsupported character) and a message text of
// the control's message table, in the current language.
#include <string>

namespace formula {

class CMEException {
public:
    CMEException(int code, int messageId);

    int Code() const { return m_code; }
    int MessageId() const { return m_messageId; }
    const std::string& Message() const { return m_message; }

private:
    int m_code;
    int m_messageId;
    std::string m_message;
};

}  // namespace formula
