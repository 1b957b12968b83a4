// The window side of a benchmark child: what the operation runner needs of a window (a hidden one
// that receives the progress and the completion message), an operation run through the runner as
// the window runs it, and the one-line report of the child.
#pragma once

#include <stdint.h>
#include <windows.h>

#include "operations/operation.h"

// Binds the engine and creates the hidden window; false (with a message) when either fails.
bool open_bench_window();

// operation_start with the slot's inputs in place, then the messages until the completion
// message: the seconds from the start to the completion.
double run_operation_timed(OperationKind kind);

// The item-count messages the window received so far.
uint32_t items_messages_received();

// The report line: the result code, the seconds, the process's peak working set in bytes, a count
// (entries listed or files found) and a second number (here the item-count messages).
bool write_report(const wchar_t* path, int32_t code, double seconds, uint32_t count, uint32_t messages = 0);
