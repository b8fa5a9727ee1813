#pragma once

#include <chrono>

#include <QDateTime>

#include "base/services.h"

namespace tarvo::test {

// The wall clock and the boot clock. pass() moves both, as time does; setting `time` alone is the
// wall clock being set, moving `boot` alone is time the wall clock did not see.
struct FakeClock final : Clock {
    QDateTime time{QDate(2026, 12, 6), QTime(14, 7, 30)};
    std::chrono::milliseconds boot{3'600'000};
    QDateTime now() const override { return time; }
    std::chrono::milliseconds sinceBoot() const override { return boot; }
    void pass(std::chrono::milliseconds ms) { boot += ms, time = time.addMSecs(ms.count()); }
};

} // namespace tarvo::test
