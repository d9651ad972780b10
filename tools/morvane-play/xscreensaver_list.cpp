#include "xscreensaver_list.h"

#include <cstring>
#include <vector>

namespace {

// A settings file larger than this is not one XScreenSaver wrote.
const size_t kLargestSettingsFile = 1 << 20;

struct Line {
  size_t begin, end;  // the line's bytes without its '\n'
};

struct Entry {
  size_t first, last;  // its physical lines
  std::string key;     // empty for comments and blank lines
};

std::vector<Line> SplitLines(const std::string& text) {
  std::vector<Line> lines;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    lines.push_back(Line{begin, end});
    begin = end + 1;
  }
  return lines;
}

// As XScreenSaver reads the file: a "\" just before the line's end joins the next line to it.
bool Continues(const std::string& text, const Line& line) {
  return line.end > line.begin && text[line.end - 1] == '\\';
}

// The line's part of its entry's value with the escapes read ("\n" a line break, "\x" x).
std::string Decoded(const std::string& text, const Line& line, size_t from) {
  size_t end = Continues(text, line) ? line.end - 1 : line.end;
  std::string out;
  for (size_t i = from; i < end; ++i) {
    char c = text[i];
    if (c == '\\' && i + 1 < end) {
      c = text[++i];
      if (c == 'n') c = '\n';
      else if (c == 'r') c = '\r';
      else if (c == 't') c = '\t';
    }
    out += c;
  }
  return out;
}

std::string Trimmed(const std::string& s, const char* blanks = " \t") {
  size_t begin = s.find_first_not_of(blanks);
  if (begin == std::string::npos) return std::string();
  return s.substr(begin, s.find_last_not_of(blanks) - begin + 1);
}

// Where a new program may start: nothing but blanks so far, or a program just ended.
bool AtProgramStart(const std::string& decodedSoFar) {
  std::string t = Trimmed(decodedSoFar);
  return t.empty() || t.back() == '\n';
}

bool Parse(const std::string& text, std::vector<Line>* lines, std::vector<Entry>* entries, std::string* problem) {
  if (text.size() > kLargestSettingsFile) {
    *problem = "it is larger than 1 MiB, which no XScreenSaver settings file is";
    return false;
  }
  if (std::memchr(text.data(), '\0', text.size())) {
    *problem = "it holds a NUL byte: it is not a text file";
    return false;
  }
  *lines = SplitLines(text);
  for (size_t i = 0; i < lines->size(); ++i) {
    Entry entry = {i, i, std::string()};
    std::string logical = Decoded(text, (*lines)[i], (*lines)[i].begin);
    while (Continues(text, (*lines)[entry.last])) {
      if (++entry.last == lines->size()) {
        *problem = "its last line ends in \"\\\", as if the file were cut short";
        return false;
      }
      logical += Decoded(text, (*lines)[entry.last], (*lines)[entry.last].begin);
    }
    std::string start = Trimmed(logical, " \t\r\n");
    if (!start.empty() && !std::strchr("#!;", start[0])) {
      size_t colon = start.find(':');
      if (colon == std::string::npos) {
        *problem = "line " + std::to_string(i + 1) + " is neither a comment nor \"key: value\"";
        return false;
      }
      entry.key = Trimmed(start.substr(0, colon));
    }
    entries->push_back(entry);
    i = entry.last;
  }
  return true;
}

bool SameKey(const std::string& key, const char* name) {
  return key.size() == std::strlen(name) && strncasecmp(key.c_str(), name, key.size()) == 0;
}

// The programs entry: false with a problem when there are two; *found false when there is none.
bool FindPrograms(const std::vector<Entry>& entries, const char* key, Entry* programs, bool* found,
                  std::string* problem) {
  *found = false;
  for (const Entry& entry : entries) {
    if (!SameKey(entry.key, key)) continue;
    if (*found) {
      *problem = "it has two programs lists";
      return false;
    }
    *programs = entry;
    *found = true;
  }
  return true;
}

// Each physical line's decoded part of the programs value.
std::vector<std::string> ValueParts(const std::string& text, const std::vector<Line>& lines, const Entry& entry) {
  std::vector<std::string> parts;
  for (size_t i = entry.first; i <= entry.last; ++i) {
    size_t from = lines[i].begin;
    if (i == entry.first) from = text.find(':', from) + 1;
    parts.push_back(Decoded(text, lines[i], from));
  }
  return parts;
}

// The program of one whole line ("[-] [visual:] ["name"] command args"): its command line.
std::string ProgramCommand(std::string program) {
  program = Trimmed(program, " \t\r\n");
  if (!program.empty() && program[0] == '-') program = Trimmed(program.substr(1));
  size_t word = program.find_first_of(" \t");
  if (word != std::string::npos && word > 0 && program[word - 1] == ':') program = Trimmed(program.substr(word));
  else if (!program.empty() && program.back() == ':') program.clear();
  if (!program.empty() && program[0] == '"') {
    size_t close = program.find('"', 1);
    program = close == std::string::npos ? std::string() : Trimmed(program.substr(close + 1));
  }
  return program;
}

// The executable's own name: the command's first word, quoted or not, without its folder.
std::string ExecutableName(const std::string& command) {
  std::string word;
  if (!command.empty() && command[0] == '\'') {
    size_t close = command.find('\'', 1);
    word = command.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  } else {
    word = command.substr(0, command.find_first_of(" \t"));
  }
  size_t slash = word.rfind('/');
  return slash == std::string::npos ? word : word.substr(slash + 1);
}

// Runs of blanks count as one, so that a line XScreenSaver's tools wrote again still matches.
std::string Normalised(const std::string& command) {
  std::string out;
  for (char c : Trimmed(command, " \t\r\n")) {
    if (c == ' ' || c == '\t') {
      if (out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

// As XScreenSaver's tools lay a program out: after four tabs, its end mark at the 76th column.
std::string ProgramLine(const std::string& command, bool continues) {
  std::string line = "\t\t\t\t";
  int column = 32;
  for (char c : command) {
    if (c == '\\') line += '\\';
    line += c;
    ++column;
  }
  while (column < 72) {
    line += '\t';
    column = (column / 8 + 1) * 8;
  }
  while (column < 75) {
    line += ' ';
    ++column;
  }
  return line + (continues ? " \\n\\" : " \\n");
}

// Adds the program line to a text of which `entry` is the programs entry.
bool InsertProgram(const std::string& text, const std::vector<Line>& lines, const Entry& entry,
                   const std::string& command, std::string* changed, std::string* problem) {
  std::vector<std::string> parts = ValueParts(text, lines, entry);
  const Line& last = lines[entry.last];
  const std::string lastPart = Trimmed(parts.back());
  if (entry.last > entry.first && lastPart.empty()) {
    // The list ends in a blank line, as XScreenSaver writes it: the program goes just before.
    *changed = text.substr(0, last.begin) + ProgramLine(command, true) + "\n" + text.substr(last.begin);
    return true;
  }
  if (!lastPart.empty() && lastPart.back() == '\n') {
    // The last program ends the list: the list goes on after it, to the new one.
    *changed = text.substr(0, last.end) + "\\\n" + ProgramLine(command, false) + text.substr(last.end);
    return true;
  }
  // The last program has no line break after it: the new one goes before it, on a line of its own.
  std::string soFar;
  size_t start = std::string::npos;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    soFar += parts[i];
    if (AtProgramStart(soFar) && Continues(text, lines[entry.first + i])) start = entry.first + i + 1;
  }
  if (start == std::string::npos) {
    *problem = "its programs list is on one line; XScreenSaver's settings tool writes it one program a line";
    return false;
  }
  *changed = text.substr(0, lines[start].begin) + ProgramLine(command, true) + "\n" + text.substr(lines[start].begin);
  return true;
}

bool Listed(const std::string& text, const std::vector<Line>& lines, const Entry& entry, const std::string& command) {
  std::string value;
  for (const std::string& part : ValueParts(text, lines, entry)) value += part;
  const std::string wanted = Normalised(command);
  size_t begin = 0;
  while (begin < value.size()) {
    size_t end = value.find('\n', begin);
    if (end == std::string::npos) end = value.size();
    if (Normalised(ProgramCommand(value.substr(begin, end - begin))) == wanted) return true;
    begin = end + 1;
  }
  return false;
}

}  // namespace

ListChange AddProgram(const std::string& text, const std::string& defaultPrograms, const std::string& name,
                      const std::string& command, std::string* changed, std::string* problem) {
  const std::string program = "\"" + name + "\"  " + command;
  std::vector<Line> lines;
  std::vector<Entry> entries;
  Entry programs;
  bool found = false;
  if (!Parse(text, &lines, &entries, problem) || !FindPrograms(entries, "programs", &programs, &found, problem))
    return ListRefused;
  if (found) {
    if (Listed(text, lines, programs, command)) return ListUnchanged;
    return InsertProgram(text, lines, programs, program, changed, problem) ? ListChanged : ListRefused;
  }
  // No list of its own: XScreenSaver plays the system's, which the file now holds with the program.
  std::vector<Line> defaultLines;
  std::vector<Entry> defaultEntries;
  if (!Parse(defaultPrograms, &defaultLines, &defaultEntries, problem) ||
      !FindPrograms(defaultEntries, "programs", &programs, &found, problem))
    return ListRefused;
  if (!found) {
    *problem = "the system's default programs list could not be read";
    return ListRefused;
  }
  std::string list;
  if (Listed(defaultPrograms, defaultLines, programs, command)) {
    list = defaultPrograms;
  } else if (!InsertProgram(defaultPrograms, defaultLines, programs, program, &list, problem)) {
    return ListRefused;
  }
  *changed = text;
  if (!changed->empty() && changed->back() != '\n') *changed += '\n';
  if (!changed->empty()) *changed += '\n';
  *changed += list;
  if (changed->back() != '\n') *changed += '\n';
  return ListChanged;
}

ListChange RemovePrograms(const std::string& text, const std::string& executable, std::string* changed,
                          int* removed, std::string* problem) {
  *removed = 0;
  std::vector<Line> lines;
  std::vector<Entry> entries;
  Entry programs;
  bool found = false;
  if (!Parse(text, &lines, &entries, problem) || !FindPrograms(entries, "programs", &programs, &found, problem))
    return ListRefused;
  if (!found) return ListUnchanged;
  std::vector<std::string> parts = ValueParts(text, lines, programs);
  std::vector<bool> drop(lines.size(), false);
  bool unjoinBefore = false;  // the list's new last line gives up its "\"
  std::string soFar = parts[0];
  for (size_t i = 1; i < parts.size(); ++i) {
    const size_t line = programs.first + i;
    const std::string program = Trimmed(parts[i]);
    const bool whole = AtProgramStart(soFar) && !program.empty() && program.back() == '\n' &&
                       program.find('\n') == program.size() - 1;
    soFar += parts[i];
    if (!whole || ExecutableName(ProgramCommand(program)) != executable) continue;
    if (line == programs.last) {
      // Only when the line before ends a program, so that the list still ends whole.
      if (!AtProgramStart(Trimmed(parts[i - 1])) || Trimmed(parts[i - 1]).empty() || drop[line - 1]) continue;
      unjoinBefore = true;
    }
    drop[line] = true;
    ++*removed;
  }
  if (*removed == 0) return ListUnchanged;
  changed->clear();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (drop[i]) continue;
    size_t end = lines[i].end;
    if (unjoinBefore && i + 1 == programs.last) --end;
    changed->append(text, lines[i].begin, end - lines[i].begin);
    if (lines[i].end < text.size()) *changed += '\n';
  }
  return ListChanged;
}

bool DefaultProgramsEntry(const std::string& appDefaults, std::string* entry) {
  std::vector<Line> lines;
  std::vector<Entry> entries;
  std::string problem;
  Entry programs;
  bool found = false;
  if (!Parse(appDefaults, &lines, &entries, &problem) ||
      !FindPrograms(entries, "*programs", &programs, &found, &problem) || !found)
    return false;
  const size_t begin = lines[programs.first].begin, end = lines[programs.last].end;
  std::string text = appDefaults.substr(begin, end - begin) + "\n";
  *entry = text.substr(text.find('*') + 1);
  return true;
}
