#pragma once

#include <QString>

namespace tarvo {

// Whether a character typed into one of the duration fields goes in. Refused are "!" up to ")",
// the ASCII letters, "§", ".", "," and "="; everything else passes (digits, signs, blanks, control
// characters, umlauts ...), so the fields stay forgiving and the leave-validation decides.
bool isAcceptedDurationChar(char32_t codePoint);

// The typed text without its refused characters.
QString acceptedDurationText(const QString& typed);

} // namespace tarvo
