#include "ui/FailureRules.h"

#include "core/Int32.h"
#include "ui/Form1Texts.h"

namespace trelvane::ui::rules {

void noRule(Toolkit& toolkit, const std::function<void()>& steps) {
    try {
        steps();
        return;
    } catch (const Failure& failure) {
        try {
            toolkit.showMessage(unhandledFailureText(failure), MessageButtons::Ok,
                                std::string(texts::kTitle));
        } catch (const Failure&) {
            // The box could not be shown; the program ends all the same.
        }
    }
    toolkit.endProgram();
}

bool endHandlerOnFailure(const std::function<void()>& steps) {
    try {
        steps();
        return true;
    } catch (const Failure&) {
        return false;
    }
}

std::optional<Failure> goToEndingOnFailure(const std::function<void()>& steps) {
    try {
        steps();
        return std::nullopt;
    } catch (const Failure& failure) {
        return failure;
    }
}

void skipOnFailure(const std::function<void()>& step) {
    try {
        step();
    } catch (const Failure&) {
        // Skipped on purpose: the next step runs as if this one had not been there.
    }
}

std::string unhandledFailureText(const Failure& failure) {
    return "Error " + int32::decimalText(failure.number()) + ": " + failure.description();
}

}  // namespace trelvane::ui::rules
