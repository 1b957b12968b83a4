// The two filters of a profile: which files its extensions field takes, and which folders its
// skip-folders field keeps the scan out of. Both fields are read once into a ProfileRules record.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "profiles/profile_store.h"

// A piece of one of the fields: its first unit and its length.
struct RulePiece {
    uint16_t start;
    uint16_t length;
};

// At most one piece per two units of a field (a unit and a separator).
const uint32_t MAX_RULE_PIECES = PROFILE_EXTENSIONS_CAPACITY / 2;

struct ProfileRules {
    const wchar_t* extensions;    // the profile's field the extension pieces point into
    const wchar_t* skip_folders;  // the same for the skip-folder pieces
    bool every_file;              // no extension rule, or a "*" among them
    uint32_t extension_count;     // the extensions to compare (without "*." or "."), none empty
    RulePiece extension_pieces[MAX_RULE_PIECES];
    uint32_t skip_count;  // the folder names, trimmed of spaces and tabs, none empty
    RulePiece skip_pieces[MAX_RULE_PIECES];
};

// Splits the extensions field at tabs, spaces, commas and semicolons and the skip-folders field at
// semicolons. The rules point into the profile, which must outlive them.
void read_profile_rules(const Profile* profile, ProfileRules* rules);

// A file name (without its folder) that the extension rules let through: every file when the
// field has no rule or a "*"; otherwise a name that ends in "." and one of the extensions,
// ignoring case. A rule "." or "*." takes nothing.
bool rules_take_file(const ProfileRules* rules, const wchar_t* name, uint32_t length);

// A folder name that one of the skip-folder names equals, ignoring case.
bool rules_skip_folder(const ProfileRules* rules, const wchar_t* name, uint32_t length);
