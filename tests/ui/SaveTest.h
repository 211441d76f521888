#pragma once

#include <optional>
#include <string>

#include "FormTest.h"
#include "PatternFiles.h"

namespace trelvane::ui::testing {

// A movie of 100 s whose file holds 100000 pattern bytes, 1000 bytes a
// second, opened and playing.
class SaveTest : public FormTest {
protected:
    static constexpr std::int64_t kSourceBytes = 100'000;

    SaveTest();

    void mark(std::int32_t begin, std::int32_t end);
    // Chooses `target` in the save dialog (nothing: cancels it) and clicks Save.
    void saveTo(std::optional<std::string> target);
    std::string inDir(const std::string& name) const { return m_dir.path() + "/" + name; }
    Texts messagesFrom(std::size_t from) const;
    // What a copy of `passes` chunks from `position` on holds.
    clip::testing::Bytes clipFrom(std::int64_t position, int passes) const;
    void expectWindowRestored() const;
    void expectSourceIntact() const;

    std::string m_source;
};

Texts joined(Texts first, const Texts& second);
// The calls that switch what a save keeps out, in their order.
Texts switchedControls(bool enabled);
// A save's log up to its dialog, shown with `dialogName` filled in.
Texts preparedLog(const std::string& dialogName);
// The log of the common ending, from the caption on.
Texts commonEndingLog();

}  // namespace trelvane::ui::testing
