// The body of a queue run: every archive that is not extracted yet goes into a new folder of its
// own, one after the other.
#pragma once

#include "common/operation_result.h"
#include "operations/extraction_queue.h"

// Extracts the waiting and failed items of the queue in order, each into a new folder named after
// it: in output_folder, or beside the archive itself when beside_archives is set. The window learns
// of each item by WM_APP_QUEUE_ITEM_STARTED and WM_APP_QUEUE_ITEM_DONE (with the item's code); a
// failing archive never stops the run. The result stays RESULT_OK unless the run was canceled: the
// archive being extracted then leaves nothing behind and gets no DONE message.
void run_extraction_queue(const ExtractionQueue* queue, const wchar_t* output_folder, bool beside_archives,
                          OperationResult* result);
