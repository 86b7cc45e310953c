// A process-launcher double: records each start and plays a scripted effect (write files, fail
// to start) instead of running a program.
#pragma once

#include "platform/ProcessLauncher.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace zelkova::testing {

class FakeProcessLauncher final : public platform::ProcessLauncher {
public:
    struct Start {
        std::string program;
        std::string workingFolder;
    };
    using Effect = std::function<platform::LaunchResult(const Start&)>;

    // What the next start does; without a script a start succeeds and does nothing.
    void onNext(Effect effect) { m_effects.push_back(std::move(effect)); }
    void failNextStart() {
        onNext([](const Start&) { return platform::LaunchResult{false, 0}; });
    }
    const std::vector<Start>& starts() const { return m_starts; }

    platform::LaunchResult runAndWait(const std::string& program, const std::string& workingFolder) override {
        m_starts.push_back({program, workingFolder});
        if (m_effects.empty())
            return {true, 0};
        Effect effect = std::move(m_effects.front());
        m_effects.pop_front();
        return effect(m_starts.back());
    }

private:
    std::deque<Effect> m_effects;
    std::vector<Start> m_starts;
};

} // namespace zelkova::testing
