// The settings view's commands that act on what it shows: saving it and choosing its folder.
#pragma once

// Save settings: the record the view shows is written to the preferences file, and only a
// successful write makes it the current preferences, switches the interface language at once and
// returns to the view the settings were entered from. A folder that is not an existing one (or
// whose text is too long for the record) and a failed write are reported; nothing changes then.
void save_settings();

// Browse…: a folder chosen in the folder browser becomes the text of the default-folder field.
void command_browse_default_folder();
