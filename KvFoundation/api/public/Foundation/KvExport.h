#pragma once

// Classes whose identity must be the same in every module (exceptions caught by a host,
// interfaces implemented in one module and called from another) carry this macro.
#define KV_EXPORT __attribute__((visibility("default")))
