// Resource identifiers of the player.
#pragma once

#define IDD_PLAYER_INFO 2003
#define IDC_MEMO_LINE1 1011

// The start-up failure's text and caption (the engine's strings 3 and 4). No string 1: the
// display settings would list every packaged saver by it instead of by its file name.
#define IDS_NOT_ENOUGH_MEMORY 3
#define IDS_SCREEN_SAVER_CAPTION 4
