#pragma once

#include <cstdint>
#include <string_view>

#include "mci/Status.h"

namespace trelvane::mci {

// The caller's answer buffer. Nothing is ever written at or past `capacity`;
// an answer that does not fit in full is not written at all, so the caller
// never reads a truncated number as if it were whole.
class AnswerBuffer {
public:
    AnswerBuffer(char* buffer, std::uint32_t capacity) : m_buffer(buffer), m_capacity(capacity) {}

    // Leaves an empty text, so that a failed command never shows a stale answer.
    void clear();
    // Called after clear(), so an answer that does not fit leaves the empty
    // text behind. An answer nobody asked room for (no buffer, capacity 0) is
    // dropped quietly.
    Status deliver(std::string_view answer);

private:
    bool hasRoom() const { return m_buffer != nullptr && m_capacity > 0; }

    char* m_buffer;
    std::uint32_t m_capacity;
};

}  // namespace trelvane::mci
