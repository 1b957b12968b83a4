// The program's arguments, acted on once the main window is shown.
#pragma once

// No argument: nothing. One argument: the Archive contents view and that path opened as an
// archive. "--profile" and a folder: the ZIP profiles view with that folder as the source folder.
// "--extract-here" (any letter case) and archives: the Extract queue view, the archives queued and,
// when every one was, extracted each beside itself. Two or more other arguments: all of them
// queued, the queue waiting. Every path is made absolute first. Without the engine every argument
// is ignored.
void act_on_command_line(const wchar_t* command_line);
