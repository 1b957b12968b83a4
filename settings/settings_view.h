// The settings view: its controls filled from a preferences record.
#pragma once

#include "settings/preferences.h"

// Sets every control of the settings view from the record; the lists' words are always in the
// current interface language.
void fill_settings_view(const Preferences* record);

// "Restore defaults": the view shows the default record; neither the current preferences nor the
// file change until the view is saved.
void restore_default_settings();
