#pragma once

#include <cstdint>

// The numbers a Failure carries, one list for the whole program. They follow
// the error numbers users of such tools already know, so that the number in
// an unhandled-failure box means what they expect.
namespace trelvane::failureNumber {

inline constexpr std::int32_t InvalidProcedureCall = 5;
inline constexpr std::int32_t Overflow = 6;
inline constexpr std::int32_t DivisionByZero = 11;
inline constexpr std::int32_t FileNotFound = 53;
inline constexpr std::int32_t DeviceIoError = 57;
inline constexpr std::int32_t DiskFull = 61;
inline constexpr std::int32_t BadFilePosition = 63;
inline constexpr std::int32_t TooManyFiles = 67;
inline constexpr std::int32_t PermissionDenied = 70;
inline constexpr std::int32_t PathFileAccessError = 75;
inline constexpr std::int32_t InvalidPropertyValue = 380;
inline constexpr std::int32_t CancelSelected = 32755;

}  // namespace trelvane::failureNumber
