#pragma once
// Command identifiers: every user command reaches the main window as WM_COMMAND with
// one of these, from the menu bar, the context menu, the accelerators or the panel.
// Plain #defines, so that the resource script can use them too.
#define CM_EXIT 100
#define CM_LOAD 101
#define CM_PROPERTIES 102
#define CM_PLAY 110
#define CM_PAUSE 111
#define CM_STOP 112
#define CM_SEGMENTS 113
#define CM_PREVIOUS 114
#define CM_NEXT 115
#define CM_CONTROL_PANEL 120
#define CM_FULL_SCREEN 121
#define CM_HELP 130
#define CM_ABOUT 131
// Seeking: 5 seconds back and forward, a frame back and forward (paused), the start
// and end of the current segment, and saving the picture shown as PNG.
#define CM_SEEK_BACK 140
#define CM_SEEK_FORWARD 141
#define CM_PREVIOUS_FRAME 142
#define CM_NEXT_FRAME 143
#define CM_SEGMENT_START 144
#define CM_SEGMENT_END 145
#define CM_SAVE_PICTURE 146
// Going back to where the film was left when it last closed.
#define CM_RESUME 147
// View > Zoom: the film at the screen's scale, in its original pixels, or fitted to the
// window.
#define CM_ZOOM_SCREEN_SCALE 150
#define CM_ZOOM_ORIGINAL_PIXELS 151
#define CM_ZOOM_FIT_WINDOW 152
// View > Skip idle stretches: on or off.
#define CM_SKIP_IDLE 155
// File > Export video: the film, a segment or the rest of one as a video file.
#define CM_EXPORT_VIDEO 148
// Ctrl+Shift+E while the saved video's note shows: its folder, with the file selected.
#define CM_SHOW_SAVED_VIDEO 149
// The export box's controls, and the progress box's.
#define IDC_EXPORT_FORMAT_LABEL 1201
#define IDC_EXPORT_FORMAT 1202
#define IDC_EXPORT_RANGE 1203
#define IDC_EXPORT_WHOLE 1204
#define IDC_EXPORT_SEGMENT 1205
#define IDC_EXPORT_FROM_HERE 1206
#define IDC_EXPORT_SIZE 1207
#define IDC_EXPORT_FILM_SIZE 1208
#define IDC_EXPORT_HALF 1209
#define IDC_EXPORT_WIDTH 1210
#define IDC_EXPORT_WIDTH_VALUE 1211
#define IDC_EXPORT_PROGRESS_TEXT 1212
// Actions > Find on screen: the search of the film's text index; F3 and Shift+F3 go to
// its next and previous hit.
#define CM_FIND_ON_SCREEN 156
#define CM_FIND_NEXT 157
#define CM_FIND_PREVIOUS 158
// View > Language: the built-in texts the player shows.
#define CM_LANGUAGE_RUSSIAN 160
#define CM_LANGUAGE_ENGLISH 161
