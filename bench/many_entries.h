// Shared by the listing and contents-view benchmarks: an archive of many tiny entries written with
// the engine, and a child run of the benchmark itself (so that writing the archive does not count
// in the measuring process's memory figures).
#pragma once

#include <windows.h>

#include <stdint.h>

// A ZIP (stored entries) or a restricted pax TAR of `count` entries "folderNNN/fileNNNNNNN.txt" of
// 11 bytes each; with `folders`, every thousandth entry is instead the folder "folderNNN/" itself,
// ahead of its files. The engine must be bound.
bool write_many_entries(const wchar_t* path, bool zip, bool folders, uint32_t count);

// Runs this program again with the arguments and waits; true when the child exits with 0.
bool run_self_child(const wchar_t* arguments);

double megabytes(SIZE_T bytes);
