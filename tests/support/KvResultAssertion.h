#pragma once

#include "host/KvResult.h"

#include <gtest/gtest.h>

// For EXPECT_TRUE and ASSERT_TRUE: passes on success, shows the reason of a failure.
inline ::testing::AssertionResult Succeeded(const KvResult& result)
{
    if (result)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "failed: " << result.GetReason();
}
