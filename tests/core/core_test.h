#pragma once

// The fixture of the core tests: the program's global state that a test may change (the
// network store and the regional separators) is put back to its start state after each test.

#include <gtest/gtest.h>

#include "core/network/network_store.h"
#include "core/numbers/separators.h"

class CoreTest : public ::testing::Test {
  protected:
    void TearDown() override {
        ResetNetworkStore();
        SetFormatSeparators({});
    }
};
