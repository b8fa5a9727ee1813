#pragma once

#include <cstdint>

#include <QDateTime>

namespace tarvo {

// What the desktop companion needs of the countdown: its state, the time left, the end time, and
// the "+10 Minuten" extension. The states are the countdown model's, in its order.
class CountdownView {
public:
    enum class State { Idle, Running, Paused, Firing };

    virtual ~CountdownView() = default;
    virtual State state() const = 0;
    virtual std::int64_t remainingSeconds() const = 0;
    virtual QDateTime endTime() const = 0;
    virtual void extend(std::int32_t minutes) = 0;
};

} // namespace tarvo
