// Command handlers whose work comes with the settings and queue changes. Until then each
// does nothing.
#include "app/commands.h"

void save_settings() {}
void command_browse_default_folder() {}
void command_add_archives() {}
void command_remove_queued() {}
void command_run_queue() {}
void command_open_preview() {}
void command_open_output_folder() {}
