// Places every control of every view by fixed rules from the client size and the busy state.
#pragma once

const int MIN_TRACK_WIDTH = 690;
const int MIN_TRACK_HEIGHT = 630;

void layout_main_window();
