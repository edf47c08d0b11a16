#pragma once
// Several companions beside the window's loop, as one: each hears every call,
// in the order given.

#include <initializer_list>
#include <vector>

#include "shell/WindowShell.h"

namespace shell {

class LoopCompanions final : public LoopCompanion {
public:
    // The companions are not owned.
    LoopCompanions(std::initializer_list<LoopCompanion*> companions) : companions_(companions) {}

    void windowPresented(std::function<void()> wake) override {
        for (LoopCompanion* companion : companions_) companion->windowPresented(wake);
    }
    void afterPass() override {
        for (LoopCompanion* companion : companions_) companion->afterPass();
    }
    void windowClosing() override {
        for (LoopCompanion* companion : companions_) companion->windowClosing();
    }

private:
    std::vector<LoopCompanion*> companions_;
};

}  // namespace shell
