// A message-box double: records every box shown and answers from a script, never blocking.
#pragma once

#include "platform/MessageBoxes.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace zelkova::testing {

class ScriptedMessageBoxes final : public platform::MessageBoxes {
public:
    void answerNext(platform::Reply reply) { m_answers.push_back(reply); }
    const std::vector<platform::Message>& shown() const { return m_shown; }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : m_shown)
            out.push_back(m.text);
        return out;
    }
    void clear() {
        m_shown.clear();
        m_answers.clear();
    }
    // Plain and error boxes have only OK; they need no script. A confirmation without a scripted
    // answer fails the test and takes the default.
    platform::Reply show(const platform::Message& message) override {
        m_shown.push_back(message);
        if (message.buttons.size() <= 1 && m_answers.empty())
            return message.buttons.empty() ? platform::Reply::Ok : message.buttons.front();
        if (m_answers.empty()) {
            ADD_FAILURE() << "unscripted question: " << message.text;
            return message.defaultReply;
        }
        const platform::Reply reply = m_answers.front();
        m_answers.pop_front();
        return reply;
    }
    std::size_t unusedAnswers() const { return m_answers.size(); }

private:
    std::deque<platform::Reply> m_answers;
    std::vector<platform::Message> m_shown;
};

} // namespace zelkova::testing
