// The language both programs start in when nothing else says otherwise.
#pragma once

// The user's default interface language is Polish: its primary language (low 10 bits) is 0x15.
bool user_language_is_polish();
