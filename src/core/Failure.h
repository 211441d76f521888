#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "core/FailureNumber.h"

namespace trelvane {

// A failure of a handler step: an error number and its description. Handlers
// decide by their failure rule what a failure does; nothing below them shows
// or logs it.
class Failure : public std::runtime_error {
public:
    Failure(std::int32_t number, const std::string& description)
        : std::runtime_error(description), m_number(number) {}

    std::int32_t number() const noexcept { return m_number; }
    std::string description() const { return what(); }

    static Failure overflow() { return Failure(failureNumber::Overflow, "Overflow"); }

private:
    std::int32_t m_number;
};

}  // namespace trelvane
