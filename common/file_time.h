// File-system times (FILETIME: 100-nanosecond units since 1601-01-01) and archive times (seconds
// since 1970-01-01, UTC).
#pragma once

#include <stdint.h>

const uint64_t UNIX_EPOCH_IN_FILETIME_SECONDS = 11644473600ull;
const uint64_t FILETIME_UNITS_PER_SECOND = 10000000ull;
// The last second of 9999-12-31, counted from 1601.
const uint64_t LAST_FILETIME_SECOND = 265046774399ull;
