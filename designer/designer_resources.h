// Resource identifiers of the designer.
#pragma once

#define IDD_CONFIGURATION 2003
#define IDC_HELP_BUTTON 3001

// Controls of the pages, in the blocks every page shares: check boxes from 1001, edits from
// 1011, value fields from 1025, buttons from 1031, sliders from 1050.
#define IDC_CHECK_FIRST 1001
#define IDC_EDIT_FIRST 1011
#define IDC_VALUE_FIRST 1025
#define IDC_BUTTON_FIRST 1031
#define IDC_TRACKBAR_FIRST 1050

// Strings 1 and 2 are the ones the engine's start-up failure shows.
#define IDS_NOT_ENOUGH_MEMORY 1
#define IDS_CAPTION 2
#define IDS_TAB_FIRST 100  // 23 tab texts, in tab order
#define IDS_BITMAP_FILTER 200
#define IDS_WALLPAPER_TITLE 201
#define IDS_SOUND_FILTER 202
#define IDS_SOUND_TITLE 203
#define IDS_FRAME_TITLE 204
#define IDS_SAVER_FILTER 205
#define IDS_SAVER_TITLE 206
#define IDS_NO_NAME 300
#define IDS_OVERWRITE 301
#define IDS_BUILD_FAILED 302
#define IDS_BUILD_SUCCEEDED 303
