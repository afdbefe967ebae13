#include "formula/model/errors.h"

#include "formula/model/messages.h"

namespace formula {

CMEException::CMEException(int code, int messageId)
    : m_code(code)
    , m_messageId(messageId)
    , m_message(GetMessageText(messageId))
{
}

}  // namespace formula
