#include "mci/AnswerBuffer.h"

#include <cstring>

namespace trelvane::mci {

void AnswerBuffer::clear() {
    if (hasRoom()) {
        m_buffer[0] = '\0';
    }
}

Status AnswerBuffer::deliver(std::string_view answer) {
    if (!hasRoom()) {
        return status::Ok;
    }
    if (answer.size() >= m_capacity) {
        return status::ParamOverflow;
    }
    std::memcpy(m_buffer, answer.data(), answer.size());
    m_buffer[answer.size()] = '\0';
    return status::Ok;
}

}  // namespace trelvane::mci
