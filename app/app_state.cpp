#include "app/app_state.h"

AppState g_app;
ProfileStore g_profile_store;
