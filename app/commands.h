// What the main window does with its commands, drops and finished operations.
#pragma once

#include <stdint.h>
#include <windows.h>

// Every command id of the window; while busy only the cancel command (115) is acted on.
void on_command(uint16_t id, uint16_t code, LPARAM lparam);

// The ZIP password field is enabled for ZIP, and when the format list has no selection.
bool password_allowed();

// Handlers filled by the commands, profiles, queue and settings work (see commands_pending.cpp).
void on_operation_done();
void on_drop_files(HDROP drop);
void open_archive_path(const wchar_t* path);  // none: the open dialog
void command_extract();
void command_test();
void command_add_files();
void command_add_folder();
void command_remove_sources();
void command_create_archive();
void save_settings();
void command_browse_default_folder();
void command_browse_source_folder();
void command_browse_destination_folder();
void save_or_delete_profile(bool delete_profile);
void command_preview_files();
void command_create_zip();
void command_add_archives();
void command_remove_queued();
void command_run_queue();
void command_open_preview();
void command_open_output_folder();
void command_copy_support_details();
