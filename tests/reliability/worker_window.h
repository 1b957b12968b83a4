// The reliability worker's stand-in for the main window: what the operation runner needs of a
// window, and running one operation through the runner as the program's commands do.
#pragma once

#include <stdint.h>

#include <vector>

#include "operations/operation.h"

// Creates the message-only window that receives the operation messages; false when it cannot.
bool worker_window_create();

// Starts the kind with the inputs already in the slot (operation_start), pumps messages until its
// WM_APP_OPERATION_DONE, then releases the inputs as the completion does. The slot's result holds
// the outcome; the codes of the queue items finished during the run are in *queue_codes when given.
void run_operation(OperationKind kind, std::vector<int32_t>* queue_codes = nullptr);
