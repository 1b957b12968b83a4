// The data files as the reliability suite drives them: numbered versions of the preferences and
// of one profile, the save loops that a kill interrupts, and the many-copies loop.
#pragma once

#include <stdint.h>

#include <string>

#include "profiles/profile_store.h"
#include "settings/preferences.h"

// Version n of copy k: every field follows from the two numbers (the suite rebuilds the same bytes
// to tell a whole file from a torn one). The folder text is "C:\copy<k>\save<n>".
void preferences_version(Preferences* record, uint32_t k, uint32_t n);

// An all-zero record with the texts filled in, as the profile fields give it.
void profile_record(Profile* record, const std::wstring& name, const std::wstring& source,
                    const std::wstring& skip_folders);

// Saves preferences version (k, n) for n = from, from + 1, ... until the process is killed; prints
// "begun" first.
void preferences_save_loop(uint32_t k, uint32_t from);

// Saves the profile "kill" with source "C:\kill\<n>" over the store (the store is read anew
// when the update does not succeed).
ProfileUpdateResult profile_save_once(ProfileStore* store, uint32_t n);

// profile_save_once for n = from, from + 1, ... until the process is killed; prints "begun" first.
void profile_save_loop(uint32_t from);

// One copy of the program among several, for the given time: each round adds and changes a
// profile of its own and deletes the one of three rounds before, saves the shared profile "shared" on top of
// the version it last saw, saves its preferences version and reads both files back. Prints a
// "chain <previous> <new>" line for every successful save of the shared profile, an "own" line
// with name=source of every own profile as its updates left them, then the figures:
// "done rounds=.. own_updates=.. retries=.. refused=.. lost=.. shared_saves=.. conflicts=.. busy=..
// prefs_saves=.. prefs_refused=.. torn=.. unreadable=..".
void many_copies_loop(uint32_t k, uint32_t seconds);
