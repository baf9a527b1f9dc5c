#pragma once

// Extended values compared exactly, with a failure message that shows every digit of the two
// values (the printer of the test framework shows six).

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/numbers/real48.h"

inline std::string ExtendedDigits(Extended value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.21Lg", value);
    return text;
}

inline ::testing::AssertionResult SameExtended(const char* actualText, const char* expectedText,
                                               Extended actual, Extended expected) {
    if (actual == expected) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << actualText << " is " << ExtendedDigits(actual) << ", "
                                         << expectedText << " is " << ExtendedDigits(expected);
}

#define EXPECT_EXTENDED_EQ(actual, expected) EXPECT_PRED_FORMAT2(SameExtended, actual, expected)
