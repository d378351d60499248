#pragma once

#include <cstdint>

// 32-bit colour, one byte per channel.
struct KvColor
{
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;
    bool operator==(const KvColor&) const = default;
};

static_assert(sizeof(KvColor) == 4, "a colour is one 32-bit value");
