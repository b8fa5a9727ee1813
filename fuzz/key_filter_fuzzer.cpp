// Any text typed into the duration fields: the filter drops exactly the refused characters and
// keeps the others unchanged and in their order.
#include "entry/key_filter.h"
#include "fuzz_support.h"

namespace {

// Every UTF-16 unit of part occurs in whole, in the same order.
bool isSubsequence(const QString& part, const QString& whole)
{
    qsizetype next = 0;
    for (const QChar c : whole) {
        if (next < part.size() && part.at(next) == c)
            ++next;
    }
    return next == part.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Well-formed text: exactly the accepted characters are kept.
    const QString typed = tarvo::fuzz::textOf(data, size);
    const QString kept = tarvo::acceptedDurationText(typed);
    QList<uint> expected;
    for (const uint c : typed.toUcs4()) {
        if (tarvo::isAcceptedDurationChar(c))
            expected.append(c);
    }
    FUZZ_REQUIRE(kept.toUcs4() == expected);

    // Raw UTF-16, lone surrogates and all: nothing added, and a second pass changes nothing.
    const QString raw(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2));
    const QString rawKept = tarvo::acceptedDurationText(raw);
    FUZZ_REQUIRE(isSubsequence(rawKept, raw));
    FUZZ_REQUIRE(tarvo::acceptedDurationText(rawKept) == rawKept);
    return 0;
}
