// What the shell control tests share: a command runner that records what would be started.
#pragma once

#include <vector>

#include "platform/shell/Runner.h"

namespace shelltest {

// Records every program it is asked to start (and starts none).
struct TRecordingRunner : TCommandRunner {
    std::vector<std::vector<String>>* Seen;
    explicit TRecordingRunner(std::vector<std::vector<String>>* A) : Seen(A) {}
    bool Start(const std::vector<String>& A) override
    {
        Seen->push_back(A);
        return true;
    }
    int Run(const std::vector<String>& A) override
    {
        Seen->push_back(A);
        return 0;
    }
};

}  // namespace shelltest
