#pragma once

// Extended values in data-driven tests: a column type, and a failure message that shows
// every digit of the two values compared.

#include <QTest>
#include <cstdio>

#include "core/real48.h"

Q_DECLARE_METATYPE(Extended)

namespace QTest {
template <>
inline char* toString(const Extended& value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.21Lg", value);
    return qstrdup(text);
}
}  // namespace QTest
