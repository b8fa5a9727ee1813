#include "entry/key_filter.h"

#include <QList>

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
    QString kept;
    for (const uint c : typed.toUcs4()) {
        const char32_t codePoint = c;
        if (isAcceptedDurationChar(codePoint))
            kept += QString::fromUcs4(&codePoint, 1);
    }
    return kept;
}

} // namespace tarvo
