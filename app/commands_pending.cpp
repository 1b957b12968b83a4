// Command handlers whose work comes with the profiles changes. Until then each
// does nothing.
#include "app/commands.h"

void command_browse_source_folder() {}
void command_browse_destination_folder() {}
void save_or_delete_profile(bool) {}
void command_preview_files() {}
void command_create_zip() {}
