// The programs list of an XScreenSaver settings file (~/.xscreensaver) as text: one program
// added at its end or every morvane-play program taken out, every other byte kept. The file
// holds "key: value" entries; a line ending in "\" goes on in the next, and in the programs
// value "\n" ends one program. XScreenSaver's own tools write one program a line.
#pragma once
#include <string>

enum ListChange {
  ListChanged,
  ListUnchanged,  // added: the program was listed already; removed: none was listed
  ListRefused,    // the text is not a settings file this can change safely: *problem says why
};

// Adds `command` (a program's command line, unescaped) as the last program of the list, under
// the name `name` that XScreenSaver's settings tool shows. Text without a programs entry gets one
// made of `defaultPrograms` (the system's list, as returned by DefaultProgramsEntry) and the
// command. A list that runs the command already is left as it is.
ListChange AddProgram(const std::string& text, const std::string& defaultPrograms, const std::string& name,
                      const std::string& command, std::string* changed, std::string* problem);

// Takes out every line that is one whole program run by an executable named `executable`.
ListChange RemovePrograms(const std::string& text, const std::string& executable, std::string* changed,
                          int* removed, std::string* problem);

// The "programs:" entry of XScreenSaver's system defaults (its app-defaults file, where the key
// is "*programs:"), as lines of a settings file. False when the text holds no such entry.
bool DefaultProgramsEntry(const std::string& appDefaults, std::string* entry);
