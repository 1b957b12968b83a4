// Placeholder until the profile store lands: the window starts with no saved profiles. Replaced as
// a whole by the store's own loader.
#include "profiles/profile_store.h"

bool profile_store_load(ProfileStore* store) {
    store->count = 0;
    return true;
}
