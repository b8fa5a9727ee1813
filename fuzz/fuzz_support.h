#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QString>
#include <QStringList>

// A broken promise aborts, so that libFuzzer keeps the input that broke it.
#define FUZZ_REQUIRE(condition)                                                                                        \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);                               \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (0)

namespace tarvo::fuzz {

// The bytes as Qt reads a program argument or typed text: UTF-8, invalid sequences replaced.
inline QString textOf(const std::uint8_t* data, std::size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The bytes as a program's arguments: a NUL byte ends each one.
inline QStringList argumentsOf(const std::uint8_t* data, std::size_t size)
{
    return textOf(data, size).split(QChar(u'\0'));
}

inline bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace tarvo::fuzz
