// Whole writes and atomic replacement of the program's small data files.
#pragma once

#include <stdint.h>
#include <wchar.h>
#include <windows.h>

// One WriteFile call; true only when it reports exactly the requested number of bytes.
bool write_all(HANDLE file, const void* buffer, uint32_t bytes);

struct ByteBlock {
    const void* data;
    uint32_t size;
};

// temporary (PATH_CAPACITY units) := "<target>.<process id>", the name under which a data file's
// replacement is written before it is moved over the target.
bool temporary_name_for(wchar_t* temporary, const wchar_t* target);

// Writes the blocks to "<target>.<process id>" (created new), flushes when asked, then moves it
// over the target. The previous target is untouched on every failure.
bool replace_file_atomically(const wchar_t* target, const ByteBlock* blocks, uint32_t block_count, bool flush);
