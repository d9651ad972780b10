// The folder of the designer's own file, where relative names of frames, wallpaper, sound and
// output files belong.
#pragma once
#include <windows.h>

// Drive and directory of the running program, with the trailing separator.
void DesignerFolder(char folder[MAX_PATH]);
// The running program's own file.
void DesignerFile(char path[MAX_PATH]);
