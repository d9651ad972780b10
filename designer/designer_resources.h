// Resource identifiers of the designer.
#pragma once

#define IDD_CONFIGURATION 2003
#define IDI_MORVANE 1
#define IDC_HELP_BUTTON 3001

// The user guide's window: its topic list and the text of the chosen topic.
#define IDD_USER_GUIDE 2010
#define IDC_GUIDE_TOPICS 1101
#define IDC_GUIDE_TEXT 1102

// Controls of the pages, in the blocks every page shares: check boxes from 1001, edits from
// 1011, value fields from 1025, buttons from 1031, sliders from 1050.
#define IDC_CHECK_FIRST 1001
#define IDC_EDIT_FIRST 1011
#define IDC_VALUE_FIRST 1025
#define IDC_BUTTON_FIRST 1031
#define IDC_TRACKBAR_FIRST 1050
// The Background page's colour swatch, made at run time beside the colour button.
#define IDC_COLOUR_SWATCH 1060

// String 1 is the name the display settings list the designer by; 3 and 4 are the ones the
// engine's start-up failure shows.
#define IDS_SAVER_NAME 1
#define IDS_NOT_ENOUGH_MEMORY 3
#define IDS_CAPTION 4
#define IDS_TAB_FIRST 100  // 23 tab texts, in tab order
#define IDS_PICTURE_FILTER 200  // frames and wallpaper: every picture, then each format
#define IDS_WALLPAPER_TITLE 201
#define IDS_SOUND_FILTER 202
#define IDS_SOUND_TITLE 203
#define IDS_FRAME_TITLE 204
#define IDS_SAVER_FILTER 205
#define IDS_SAVER_TITLE 206
#define IDS_OWN_TRANSPARENCY 207  // the character page's frames drawn with their own transparency
#define IDS_NO_NAME 300
#define IDS_OVERWRITE 301
#define IDS_BUILD_FAILED 302
#define IDS_BUILD_SUCCEEDED 303

// What Create says beyond the four messages above: the warning with the files left out, how
// each is named and why it is missing, and why an output could not be written.
#define IDS_BUILD_WARNING 310
#define IDS_INPUT_LINE 311
#define IDS_INPUT_MORE 312
#define IDS_INPUT_FRAME 313
#define IDS_INPUT_WALLPAPER 314
#define IDS_INPUT_SOUND 315
#define IDS_INPUT_OTHER 316
#define IDS_INPUT_NOT_FOUND 320
#define IDS_INPUT_NOT_OPENED 321
#define IDS_INPUT_NOT_TAKEN 322
#define IDS_INPUT_NAME_TOO_LONG 323
#define IDS_INPUT_AFTER_ENDED_RUN 324
#define IDS_INPUT_AFTER_EMPTY_SLOT 325
#define IDS_INPUT_NEVER_SHOWN 326
#define IDS_INPUT_OVER_LIMIT 327
#define IDS_INPUT_NO_ROOM 328
#define IDS_INPUT_NOT_A_KIND 329
#define IDS_INPUT_WALLPAPER_SCALED 337
#define IDS_INPUT_WALLPAPER_CUT 338
#define IDS_OUTPUT_FOLDER_MISSING 330
#define IDS_OUTPUT_NOT_WRITABLE 331
#define IDS_OUTPUT_FILE_READ_ONLY 332
#define IDS_OUTPUT_IN_USE 333
#define IDS_OUTPUT_IS_FOLDER 334
#define IDS_OUTPUT_DISK_FULL 335
#define IDS_OUTPUT_NAME_NOT_ALLOWED 336
#define IDS_INPUT_SOUND_FORM 340     // a sound of a known format that cannot be stored playable
#define IDS_INPUT_SOUND_UNKNOWN 341  // a file of no sound format taken
#define IDS_SOUND_FORMAT_FIRST 350   // the names of the sound formats, in the order of SoundFormat

// Scene files: the dialog's menu and its keys, the question before unsaved changes are lost,
// what opening or saving a scene file says, and the Module page's size line.
#define IDR_SCENE_MENU 2100
#define IDR_SCENE_KEYS 2101
#define IDD_SAVE_CHANGES 2102
#define IDM_SCENE_OPEN 1200
#define IDM_SCENE_SAVE 1201
#define IDM_SCENE_SAVE_AS 1202
#define IDM_SCENE_CLOSE 1203
#define IDC_SAVE_CHANGES_TEXT 1210
#define IDC_SAVER_SIZE 1220
#define IDS_SCENE_FILTER 400
#define IDS_SCENE_OPEN_TITLE 401
#define IDS_SCENE_SAVE_TITLE 402
#define IDS_SCENE_SAVE_CHANGES 403
#define IDS_SCENE_NOT_READ 404
#define IDS_SCENE_EMPTY 405
#define IDS_SCENE_TOO_LARGE 406
#define IDS_SCENE_NOT_TEXT 407
#define IDS_SCENE_FOREIGN_SECTION 408
#define IDS_SCENE_NOT_SAVED 409
#define IDS_SCENE_MISSING 410
#define IDS_SCENE_MISSING_LINE 411
#define IDS_SCENE_TITLE 412
#define IDS_SAVER_SIZE 413
#define IDS_SAVER_SIZE_UNKNOWN 414
#define IDS_SIZE_WARNING 415
// The live preview beside the pages, its status line, and the pictures shown with the pages:
// an Image page's ten frames, the Background page's wallpaper as laid out.
#define IDC_PREVIEW_PANE 1300
#define IDC_PREVIEW_STATUS 1301
#define IDC_THUMBNAIL_FIRST 1310  // ten, in frame order
#define IDC_WALLPAPER_VIEW 1320
#define IDS_PREVIEW_ALL_IN 500
#define IDS_PREVIEW_PAUSED 501
#define IDS_DROP_REFUSED 502  // before the list of files given that were not taken whole
