// The archive label of the contents view.
#pragma once

// Shows the path of the open archive, or "No archive open" in the current language.
void show_archive_label();
