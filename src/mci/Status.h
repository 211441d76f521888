#pragma once

#include <cstdint>

namespace trelvane::mci {

using Status = std::uint32_t;

// Status codes numbered as media command services have always numbered
// them (a base of 256 plus an offset), so that callers and users who know
// those numbers can read ours.
namespace status {
inline constexpr Status Ok = 0;
inline constexpr Status Base = 256;
inline constexpr Status UnrecognizedKeyword = Base + 3;    // 259
inline constexpr Status UnrecognizedCommand = Base + 5;    // 261
inline constexpr Status InvalidDeviceName = Base + 7;      // 263
inline constexpr Status OutOfMemory = Base + 8;            // 264
inline constexpr Status CannotLoadDriver = Base + 10;      // 266
inline constexpr Status MissingCommandString = Base + 11;  // 267
inline constexpr Status ParamOverflow = Base + 12;         // 268
inline constexpr Status BadInteger = Base + 14;            // 270
inline constexpr Status DriverInternal = Base + 16;        // 272
inline constexpr Status MissingParameter = Base + 17;      // 273
inline constexpr Status FileNotFound = Base + 19;          // 275
inline constexpr Status OutOfRange = Base + 26;            // 282
inline constexpr Status DuplicateAlias = Base + 33;        // 289
inline constexpr Status BadConstant = Base + 34;           // 290
inline constexpr Status NoClosingQuote = Base + 38;        // 294
inline constexpr Status DuplicateFlags = Base + 39;        // 295
inline constexpr Status InvalidFile = Base + 40;           // 296
inline constexpr Status NoWindow = Base + 90;              // 346
}  // namespace status

}  // namespace trelvane::mci
