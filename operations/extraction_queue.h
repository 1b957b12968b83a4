// The extraction queue: up to QUEUE_LIMIT archives, each extracted into a new folder of its own.
// Written by the user-interface thread only; a running queue worker reads it.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "common/text.h"

const uint32_t QUEUE_LIMIT = 4096;
const uint32_t QUEUE_INITIAL_CAPACITY = 32;

enum QueueStatus : int32_t {
    QUEUE_WAITING = 0,
    QUEUE_EXTRACTED = 1,
    QUEUE_FAILED = 2,
};

struct QueueItem {
    wchar_t* path;   // owned heap copy
    int32_t status;  // QueueStatus
    int32_t result;  // ResultCode of the last failed extraction, RESULT_OK otherwise
};

struct ExtractionQueue {
    QueueItem* items;
    uint32_t count;
    uint32_t capacity;
};

extern ExtractionQueue g_queue;

// The parent folder of the last run's output folders; empty until a run was prepared.
extern wchar_t g_queue_output_folder[PATH_CAPACITY];

// Adds the archive as waiting. A folder, or an archive already queued (in any letter case), is
// ignored and counts as added; false when the queue is full (QUEUE_LIMIT) or memory runs out.
bool queue_add(const wchar_t* path);

// Removes the item at the index (its path freed); the later items move one place up with their
// status and result.
void queue_remove_at(uint32_t index);

// The item-finished rule: the posted code becomes the item's result and decides its status.
void queue_item_finished(QueueItem* item, int32_t code);

// Frees every queued path and the array (at the end of the program).
void queue_free();
