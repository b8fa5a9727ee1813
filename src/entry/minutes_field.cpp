#include "entry/minutes_field.h"

#include "countdown/duration.h"

namespace tarvo {

MinutesFieldResult validateMinutesText(const QString& text)
{
    const QString cap = QString::number(kMaxEntryMinutes);
    QString t = text;
    const bool startsWithDigit = !t.isEmpty() && t.at(0).isDigit() && t.at(0).unicode() < 128;
    // Five digits from 30000 up are beyond the cap whatever follows.
    if (!startsWithDigit || (t.size() == 5 && t.at(0) >= QLatin1Char('3')))
        t = cap;
    bool ok = false;
    const qlonglong value = t.trimmed().toLongLong(&ok);
    if (!ok || value > kMaxEntryMinutes)
        t = cap;
    const qlonglong minutes = t.trimmed().toLongLong(&ok);
    if (!ok)
        return {t, std::nullopt};
    return {t, static_cast<std::int16_t>(minutes)};
}

bool needsDefaultMinutes(const QString& text)
{
    bool ok = false;
    const short minutes = text.trimmed().toShort(&ok);
    return !ok || minutes == 0;
}

} // namespace tarvo
