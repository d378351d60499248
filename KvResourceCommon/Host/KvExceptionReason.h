#pragma once

#include "KvResourceCommonExport.h"

#include <string>

// The reason to report for the exception being handled, for a failure of one file rather than
// of the whole run: the fatal routine's message, "out of memory", a size beyond the limits, a
// file-system error with its paths, any other exception's text. Call only inside a catch block.
KV_RESOURCECOMMON_API std::string KvDescribeCurrentException();
