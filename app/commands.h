// What the main window does with its commands, drops and finished operations.
#pragma once

#include <stdint.h>
#include <windows.h>

// Every command id of the window; while busy only the cancel command (115) is acted on.
void on_command(uint16_t id, uint16_t code, LPARAM lparam);

// The ZIP password field is enabled for ZIP, and when the format list has no selection.
bool password_allowed();

// Leaves the busy state and shows what the finished operation produced; a missing or wrong
// password on open, extract or test asks for it and runs the same operation again.
void on_operation_done();

// Dropped paths: one archive opened (Archive contents; several go to the queue view), sources
// added (New archive), archives queued (Extract queue), a source folder (ZIP profiles).
void on_drop_files(HDROP drop);

// Lists the archive at the path, or at the file chosen in the open dialog when there is none.
void open_archive_path(const wchar_t* path);

// The parent folder of a new extraction folder (PATH_CAPACITY units): the default extraction
// folder (silently or after a question), otherwise the folder browser. False when none was chosen.
bool choose_extract_parent(wchar_t* buffer);

void command_extract();
void command_test();

// A new archive's source, once (in any letter case), as a row of the sources list. Refusals are
// silent: the count shown afterwards tells.
void add_source(const wchar_t* path);

void command_add_files();
void command_add_folder();
void command_remove_sources();

// Appends the format's extension (".zip", ".7z", ".tar.gz") unless the name already ends in it,
// in any letter case. False when it does not fit.
bool archive_name_with_extension(wchar_t* name, uint32_t capacity, uint32_t format);

void command_create_archive();
void command_copy_support_details();

// The Extract queue view.
void command_add_archives();
void command_remove_queued();
void command_run_queue();
void command_open_preview();
void command_open_output_folder();

// Starts the queue run with every input in the slot: the queue, its output folder, and whether
// each archive is extracted beside itself instead.
void start_queue_run(bool beside_archives);
