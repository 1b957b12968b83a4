// Turning untrusted entry names into paths below a folder we created, and work names for output
// that is built first and named last.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "common/operation_result.h"

const uint32_t MAX_COMPONENT_LENGTH = 259;
const uint32_t MAX_PATH_COMPONENTS = 125;
const uint32_t MAX_FILE_NAME_LENGTH = 255;
const uint32_t MAX_REMOVE_DEPTH = 130;
#define WORK_PREFIX L".lumarek-"

// One component: not empty, no trailing dot or space, no forbidden character, no device name.
bool is_safe_name_component(const wchar_t* name);

// A name the program makes up from user data: at most 255 units and a safe component.
bool is_safe_file_name(const wchar_t* name);

// out (PATH_CAPACITY units) := root, then the entry name component by component. Only when the
// whole name is safe and fits are the parents below the root created (and the folder itself for a
// directory entry), so a refused name creates nothing. On false the result holds
// RESULT_UNSAFE_PATH or RESULT_IO_ERROR and its detail.
bool make_output_path(wchar_t* out, const wchar_t* root, const wchar_t* name, bool is_directory,
                      OperationResult* result);

// Creates the folder, or accepts an existing folder that is not a reparse point.
bool ensure_directory(const wchar_t* path);

// out (PATH_CAPACITY units) := the target's folder, ".lumarek-", process id, "-", tick count.
bool make_work_path(wchar_t* out, const wchar_t* target);

// Removes a folder and everything below it; links inside are removed, never followed.
void remove_tree(const wchar_t* path, uint32_t depth);
