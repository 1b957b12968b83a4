// The settings view's controls and the preferences record they show.
#pragma once

#include "settings/preferences.h"

// Sets every control of the settings view from the record; the lists' words are always in the
// current interface language.
void fill_settings_view(const Preferences* record);

// "Restore defaults": the view shows the default record; nothing is saved.
void restore_default_settings();
