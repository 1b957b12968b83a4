// Formats and compression strengths of new archives.
#pragma once

#include <stdint.h>

enum ArchiveFormat : uint32_t {
    FORMAT_ZIP = 0,
    FORMAT_7Z = 1,
    FORMAT_TAR_GZ = 2,  // and any other value
};

// The user's strength choice (Fast, Normal, Maximum) as the engine's compression level.
const int32_t COMPRESSION_LEVELS[3] = {1, 6, 9};

// An index outside 0..2 counts as Normal.
inline int32_t compression_level_for(uint32_t choice) {
    return choice <= 2 ? COMPRESSION_LEVELS[choice] : COMPRESSION_LEVELS[1];
}
