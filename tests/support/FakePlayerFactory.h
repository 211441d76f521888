#pragma once

#include <memory>
#include <vector>

#include "FakePlayer.h"
#include "mci/PlayerFactory.h"

namespace trelvane::mci::testing {

// Hands out fake players, each prepared from `next`, and keeps every script.
class FakePlayerFactory : public PlayerFactory {
public:
    std::unique_ptr<PlayerDevice> createPlayer() override {
        if (failCreation) {
            return nullptr;
        }
        scripts.push_back(std::make_shared<FakePlayerScript>(next));
        return std::make_unique<FakePlayer>(scripts.back());
    }

    FakePlayerScript& last() { return *scripts.back(); }

    FakePlayerScript next;
    bool failCreation = false;
    std::vector<std::shared_ptr<FakePlayerScript>> scripts;
};

}  // namespace trelvane::mci::testing
