// The extraction queue's list rows, status texts and summary line.
#pragma once

#include "operations/extraction_queue.h"

// The item's status in the current language.
const wchar_t* queue_status_text(const QueueItem* item);

// Rebuilds the queue list: one row per queued archive with its status in column 1.
void queue_refresh_list();

// Writes "Extracted: e   Errors: f   Waiting: w" into the status line.
void queue_show_summary();

// After archives were added one by one: the list is rebuilt, then the summary, or the queue-limit
// message when not every archive could be added.
void queue_after_adding(bool all_added);
