#include "entry/key_filter.h"

namespace tarvo {

bool isAcceptedDurationChar(char32_t c)
{
    if (c >= U'!' && c <= U')')
        return false;
    if (c == U'\u00A7' || c == U'.' || c == U',' || c == U'=')
        return false;
    if ((c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z'))
        return false;
    return true;
}

QString acceptedDurationText(const QString& typed)
{
    // Copied as UTF-16 units: a round trip through UCS-4 would drop a leading U+FEFF as a byte
    // order mark.
    QString kept;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed.at(i);
        if (c.isHighSurrogate() && i + 1 < typed.size() && typed.at(i + 1).isLowSurrogate()) {
            if (isAcceptedDurationChar(QChar::surrogateToUcs4(c, typed.at(i + 1))))
                kept.append(typed.mid(i, 2));
            ++i;
        } else if (isAcceptedDurationChar(c.unicode())) {
            kept.append(c);
        }
    }
    return kept;
}

} // namespace tarvo
