// Command handlers whose work comes with the profiles and queue changes. Until then each
// does nothing.
#include "app/commands.h"

void command_browse_source_folder() {}
void command_browse_destination_folder() {}
void save_or_delete_profile(bool) {}
void command_preview_files() {}
void command_create_zip() {}
void command_add_archives() {}
void command_remove_queued() {}
void command_run_queue() {}
void command_open_preview() {}
void command_open_output_folder() {}
