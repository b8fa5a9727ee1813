#pragma once

#include <cstdint>

#include <QString>

#include "desktop/countdown_view.h"

namespace tarvo {

// When the countdown's notification goes up, is refreshed or comes down. It warns once per
// countdown, 5 minutes before the action (at once if less is left), and only while the window is
// hidden in the tray or minimised; pushing the end back above 5 minutes arms it again.
class WarningPolicy {
public:
    static constexpr std::int64_t LeadSeconds = std::int64_t{5} * 60;

    struct Moment {
        CountdownView::State state;
        bool windowHidden;
        std::int64_t remainingSeconds;
        std::int64_t endKey; // any value that changes with the end time, e.g. its msecs since epoch
    };
    enum class Step { Nothing, Show, Close };

    Step next(const Moment& now);

private:
    bool m_armed = true;
    bool m_shown = false;
    std::int64_t m_shownEnd = 0;
};

} // namespace tarvo

namespace tarvo {

// The warning's words: summary "Ausschalten um 22:15 Uhr", body "Noch 5 Minuten." (minutes rounded up).
struct WarningText {
    QString summary;
    QString body;
};
WarningText warningText(const QString& actionWord, const QDateTime& endTime, std::int64_t remainingSeconds);

} // namespace tarvo
