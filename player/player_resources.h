// Resource identifiers of the player.
#pragma once

#define IDD_PLAYER_INFO 2003
#define IDC_MEMO_LINE1 1011

#define IDS_NOT_ENOUGH_MEMORY 1
#define IDS_SCREEN_SAVER_CAPTION 2
