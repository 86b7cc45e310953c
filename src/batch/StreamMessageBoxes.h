// Message boxes of zelkova-batch: each text goes to a stream (standard error) in UTF-8, exactly as
// a window would show it, followed by a line feed; every question takes its default answer.
#pragma once

#include "platform/MessageBoxes.h"

#include <ostream>

namespace zelkova::batch {

class StreamMessageBoxes final : public platform::MessageBoxes {
public:
    explicit StreamMessageBoxes(std::ostream& stream) : m_stream(stream) {}
    platform::Reply show(const platform::Message& message) override {
        m_stream << message.text << '\n';
        m_stream.flush();
        ++m_count;
        return message.defaultReply;
    }
    int shownCount() const { return m_count; }

private:
    std::ostream& m_stream;
    int m_count = 0;
};

} // namespace zelkova::batch
