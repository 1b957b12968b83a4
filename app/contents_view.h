// The archive contents list: its three columns.
#pragma once

const int CONTENTS_NAME_WIDTH = 480;
const int CONTENTS_SIZE_WIDTH = 126;
const int CONTENTS_TYPE_WIDTH = 120;

// Titles in the current language and the table widths; inserts the columns (once, at creation) or
// re-titles them, which also resets widths the user dragged.
void set_contents_columns(bool insert);
