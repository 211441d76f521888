#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/Failure.h"
#include "ui/Toolkit.h"

// The three ways a stretch of handler steps treats a trelvane::Failure. They
// catch nothing else: in particular the unwinding of a program that has been
// ended passes through all of them untouched.
namespace trelvane::ui::rules {

// No rule: a failure is reported with its number and description and ends
// the program. Every window event runs inside this one, so no failure ever
// gets back to the toolkit's event loop.
void noRule(Toolkit& toolkit, const std::function<void()>& steps);

// End the handler: a failure stops the steps silently, keeping what was done
// before it. Returns false when that happened, so the caller ends too.
[[nodiscard]] bool endHandlerOnFailure(const std::function<void()>& steps);

// Go to an ending: a failure stops the steps like the rule above, and is
// handed back so that the caller can run the ending it names and say there
// what went wrong. Returns nothing when the steps ran to their end.
[[nodiscard]] std::optional<Failure> goToEndingOnFailure(const std::function<void()>& steps);

// Skip: a failing step is dropped and the caller goes on with the next.
void skipOnFailure(const std::function<void()>& step);

// "Error 6: Overflow": what the unhandled-failure box says.
std::string unhandledFailureText(const Failure& failure);

}  // namespace trelvane::ui::rules
