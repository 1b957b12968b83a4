#include "operations/operation.h"
#include "operations/window_seams.h"

bool progress_items_hook(void*, uint32_t count) {
    if (count == g_slot.last_items_posted) return true;
    if (count >= 16 && count % 16 != 0) return true;
    uint64_t now = GetTickCount64();
    if (count >= 16 && now - g_slot.last_items_time < ITEMS_POST_INTERVAL_MS) return true;
    g_slot.last_items_posted = count;
    g_slot.last_items_time = now;
    PostMessageW(operation_window(), WM_APP_PROGRESS_ITEMS, count, 0);
    return true;
}

void progress_percent_hook(void*, uint64_t done, uint64_t total) {
    int32_t percent;
    if (total == 0)
        percent = -1;
    else if (done >= total)
        percent = 100;
    else
        percent = (int32_t)((double)done * 100.0 / (double)total);
    if (percent == g_slot.last_percent_posted) return;

    uint64_t now = GetTickCount64();
    if (g_slot.last_percent_posted >= 0 && now - g_slot.last_percent_time < PERCENT_POST_INTERVAL_MS) return;
    g_slot.last_percent_posted = percent;
    g_slot.last_percent_time = now;
    PostMessageW(operation_window(), WM_APP_PROGRESS_PERCENT, (WPARAM)(INT_PTR)percent, 0);
}

void progress_restart() {
    g_slot.last_items_posted = 0;
    g_slot.last_percent_posted = -2;
}
