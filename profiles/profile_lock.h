// The lock that serialises profile changes between running copies: holding
// "LumarekProfiles.lock" open (exclusively, delete on close) is the lock.
#pragma once

#include <windows.h>

// The open lock, or INVALID_HANDLE_VALUE at once when another copy holds it or the path cannot be
// made. There is no waiting.
HANDLE profile_lock_take();

// Closing the last handle removes the file, also when a process ends without releasing it.
void profile_lock_release(HANDLE lock);
