// Device scripts (device/script.h): the whole text is checked first, so that a malformed line
// plays nothing; then each line is played through the driver, and an expectation that does not
// hold ends the script with a message naming its line.
//
// Words are separated by spaces or tabs; a word that starts with '#' starts a comment, except in
// the TEXT of expect-text and the PATH of expect-file, which are the rest of the line as written
// (they may hold spaces and '#'; quote a text, "like this ", to keep spaces at its ends).
#include <device/script.h>

#include <device/files.h>
#include <device/message_box_probe.h>

#include "internal/wide_text.h"
#include "internal/window_state.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace device {
namespace {

using internal::Utf16ToUtf8;
using internal::Utf8ToUtf16;

enum class Command {
  Tap, Stroke, Press, Wait, Shot, ExpectWindow, ExpectNoWindow, ExpectText, ExpectFile, ExpectNoFile, Answer
};

// What follows the command word.
enum class Operands { Numbers, Key, Name, NameAndText, Path, Button };

struct CommandRow {
  std::string_view word;
  Command command;
  Operands operands;
  int numbers;  // how many, for Operands::Numbers
};

constexpr CommandRow kCommands[] = {
    // word              command                   operands                 numbers
    {"tap",              Command::Tap,             Operands::Numbers,       2},
    {"stroke",           Command::Stroke,          Operands::Numbers,       4},
    {"press",            Command::Press,           Operands::Key,           0},
    {"wait",             Command::Wait,            Operands::Numbers,       1},
    {"shot",             Command::Shot,            Operands::Name,          0},
    {"expect-window",    Command::ExpectWindow,    Operands::Name,          0},
    {"expect-no-window", Command::ExpectNoWindow,  Operands::Name,          0},
    {"expect-text",      Command::ExpectText,      Operands::NameAndText,   0},
    {"expect-file",      Command::ExpectFile,      Operands::Path,          0},
    {"expect-no-file",   Command::ExpectNoFile,    Operands::Path,          0},
    {"answer",           Command::Answer,          Operands::Button,        0},
};

struct KeyRow {
  std::string_view name;
  UINT key;
};

constexpr KeyRow kKeys[] = {
    {"APP1", VK_APP1}, {"APP2", VK_APP2}, {"APP3", VK_APP3}, {"APP4", VK_APP4},   {"UP", VK_UP},
    {"DOWN", VK_DOWN}, {"LEFT", VK_LEFT}, {"RIGHT", VK_RIGHT}, {"RETURN", VK_RETURN},
};

struct ButtonRow {
  std::string_view name;
  int id;
};

constexpr ButtonRow kButtons[] = {{"Yes", IDYES}, {"No", IDNO}, {"OK", IDOK}, {"Cancel", IDCANCEL}};

constexpr int kMaxCoordinate = 10000;
constexpr int kMaxWaitMs = 3600000;

struct Step {
  int line = 0;
  std::string source;  // the line as written, for the echo
  Command command = Command::Tap;
  int numbers[4] = {};
  UINT key = 0;
  int button = 0;
  std::string name;     // window name, shot name or device path (UTF-8)
  std::u16string text;  // expect-text
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Reads the words of one line.
class Words {
 public:
  explicit Words(std::string_view line) : rest_(line) {}

  // The next word; a quoted word loses its quotes. Nothing at the end or at a comment.
  std::optional<std::string> Next(bool& malformed) {
    SkipBlanks();
    if (rest_.empty() || rest_.front() == '#') return std::nullopt;
    if (rest_.front() == '"') {
      std::size_t close = rest_.find('"', 1);
      if (close == std::string_view::npos) {
        malformed = true;
        return std::nullopt;
      }
      std::string word(rest_.substr(1, close - 1));
      rest_.remove_prefix(close + 1);
      if (!rest_.empty() && !IsBlank(rest_.front())) malformed = true;
      return word;
    }
    std::size_t end = 0;
    while (end < rest_.size() && !IsBlank(rest_[end])) ++end;
    std::string word(rest_.substr(0, end));
    rest_.remove_prefix(end);
    return word;
  }

  // The rest of the line as written, without the blanks around it; a text quoted whole loses
  // its quotes and keeps its inner spaces.
  std::string Rest() {
    SkipBlanks();
    std::string_view text = rest_;
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    rest_ = {};
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    return std::string(text);
  }

  bool AtEnd(bool& malformed) { return !Next(malformed).has_value(); }

 private:
  void SkipBlanks() {
    while (!rest_.empty() && IsBlank(rest_.front())) rest_.remove_prefix(1);
  }
  std::string_view rest_;
};

std::optional<int> ParseNumber(const std::string& word, int low, int high) {
  int value = 0;
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size() || value < low || value > high) return std::nullopt;
  return value;
}

const CommandRow* FindCommand(std::string_view word) {
  for (const CommandRow& row : kCommands) {
    if (row.word == word) return &row;
  }
  return nullptr;
}

// A screenshot name is a plain file name: it may not climb out of the shots folder.
bool IsPlainName(const std::string& name) {
  return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

bool ParseOperands(const CommandRow& row, Words& words, Step& step, std::string& error) {
  bool malformed = false;
  switch (row.operands) {
    case Operands::Numbers:
      for (int i = 0; i < row.numbers; ++i) {
        std::optional<std::string> word = words.Next(malformed);
        const bool isTime = row.command == Command::Wait;
        const int low = isTime ? 0 : -kMaxCoordinate, high = isTime ? kMaxWaitMs : kMaxCoordinate;
        std::optional<int> value = word ? ParseNumber(*word, low, high) : std::nullopt;
        if (!value) {
          error = std::string(row.word) + (isTime ? " takes milliseconds (0 to 3600000)" : " takes whole numbers");
          return false;
        }
        step.numbers[i] = *value;
      }
      break;
    case Operands::Key: {
      std::optional<std::string> word = words.Next(malformed);
      for (const KeyRow& key : kKeys) {
        if (word && *word == key.name) step.key = key.key;
      }
      if (step.key == 0) {
        error = "press takes APP1, APP2, APP3, APP4, UP, DOWN, LEFT, RIGHT or RETURN";
        return false;
      }
      break;
    }
    case Operands::Button: {
      std::optional<std::string> word = words.Next(malformed);
      for (const ButtonRow& button : kButtons) {
        if (word && *word == button.name) step.button = button.id;
      }
      if (step.button == 0) {
        error = "answer takes Yes, No, OK or Cancel";
        return false;
      }
      break;
    }
    case Operands::Path:
      step.name = words.Rest();
      if (step.name.empty()) {
        error = std::string(row.word) + " takes a device path";
        return false;
      }
      break;
    case Operands::Name:
    case Operands::NameAndText: {
      std::optional<std::string> word = words.Next(malformed);
      if (!word || word->empty() || malformed || (row.command == Command::Shot && !IsPlainName(*word))) {
        error = std::string(row.word) + " takes a name";
        return false;
      }
      step.name = *word;
      if (row.operands == Operands::NameAndText) step.text = Utf8ToUtf16(words.Rest());
      break;
    }
  }
  if (malformed || !words.AtEnd(malformed) || malformed) {
    error = std::string(row.word) + ": unexpected words at the end of the line";
    return false;
  }
  return true;
}

// One line: nothing for a blank or comment line, a step, or an error.
std::optional<Step> ParseLine(std::string_view line, int number, std::string& error) {
  Words words(line);
  bool malformed = false;
  std::optional<std::string> word = words.Next(malformed);
  if (!word) {
    if (malformed) error = "an unclosed quote";
    return std::nullopt;
  }
  const CommandRow* row = FindCommand(*word);
  if (!row) {
    error = "no command \"" + *word + "\"";
    return std::nullopt;
  }
  Step step;
  step.line = number;
  step.source = std::string(line);
  while (!step.source.empty() && IsBlank(step.source.back())) step.source.pop_back();
  step.command = row->command;
  if (!ParseOperands(*row, words, step, error)) return std::nullopt;
  return step;
}

// ---- Playing ----

std::string Utf8(std::u16string_view text) {
  std::string out;
  return Utf16ToUtf8(text, out) ? out : std::string("?");
}

bool IsNamed(const internal::Window* w, const std::u16string& name) {
  return w->text == name || internal::ClassKey(w->cls->name.c_str()) == internal::ClassKey(name.c_str());
}

// The first visible window, topmost first and parents before children, of that class or title.
HWND FindVisible(const std::vector<internal::Window*>& list, const std::u16string& name) {
  for (const internal::Window* w : list) {
    if (!(w->style & WS_VISIBLE) || w->destroying) continue;
    if (IsNamed(w, name)) return w->handle;
    if (HWND found = FindVisible(w->children, name)) return found;
  }
  return nullptr;
}

HWND FindVisible(const std::string& name) { return FindVisible(internal::Wm().topLevels, Utf8ToUtf16(name)); }

bool DeviceFileExists(const std::string& path) {
  const std::u16string devicePath = Utf8ToUtf16(path);
  if (devicePath.find_first_of(u"*?") == std::u16string::npos) {
    return GetFileAttributes(devicePath.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFile(devicePath.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  return true;
}

std::string_view ButtonName(int id) {
  for (const ButtonRow& button : kButtons) {
    if (button.id == id) return button.name;
  }
  return {};
}

// Each check returns an empty text when it holds, else what was expected and what was found.
std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string CheckShot(Driver& driver, const Step& step) {
  if (!driver.Screenshot(step.name).empty()) return {};
  return "expected to write " + step.name + ".png, found it could not be written";
}

std::string CheckWindow(const Step& step, bool wanted) {
  const bool found = FindVisible(step.name) != nullptr;
  if (found == wanted) return {};
  return wanted ? "expected a visible window " + Quoted(step.name) + ", found none"
                : "expected no visible window " + Quoted(step.name) + ", found one";
}

std::string CheckText(Driver& driver, const Step& step) {
  HWND window = FindVisible(step.name);
  const std::string expected = Quoted(Utf8(step.text));
  if (!window) return "expected a visible window " + Quoted(step.name) + " holding " + expected + ", found none";
  const std::u16string text = driver.WindowText(window);
  if (text == step.text) return {};
  return "expected " + Quoted(step.name) + " to hold " + expected + ", found " + Quoted(Utf8(text));
}

std::string CheckFile(const Step& step, bool wanted) {
  if (DeviceFileExists(step.name) == wanted) return {};
  return wanted ? "expected a file " + step.name + ", found none" : "expected no file " + step.name + ", found one";
}

std::string Answer(Driver& driver, const Step& step) {
  const std::string button(ButtonName(step.button));
  HWND box = FindMessageBox();
  if (!box) return "expected a message box to answer " + button + ", found none";
  if (!PressMessageBoxButton(box, step.button))
    return "expected a " + button + " button in the message box " + Quoted(Utf8(MessageBoxText(box))) + ", found none";
  driver.RunUntilIdle();
  return {};
}

// Plays one step; an empty result means it passed.
std::string Play(Driver& driver, const Step& step) {
  const int* n = step.numbers;
  switch (step.command) {
    case Command::Tap: driver.Tap(n[0], n[1]); return {};
    case Command::Stroke: driver.Stroke(n[0], n[1], n[2], n[3]); return {};
    case Command::Press: driver.PressKey(step.key); return {};
    case Command::Wait: driver.AdvanceTime(static_cast<std::uint32_t>(n[0])); return {};
    case Command::Shot: return CheckShot(driver, step);
    case Command::ExpectWindow: return CheckWindow(step, true);
    case Command::ExpectNoWindow: return CheckWindow(step, false);
    case Command::ExpectText: return CheckText(driver, step);
    case Command::ExpectFile: return CheckFile(step, true);
    case Command::ExpectNoFile: return CheckFile(step, false);
    case Command::Answer: return Answer(driver, step);
  }
  return {};
}

}  // namespace

namespace {

// Every step of the script, or nothing (with the first bad line reported) when one is malformed.
std::optional<std::vector<Step>> ParseScript(const std::string& file, std::string_view text, std::FILE* errors) {
  std::vector<Step> script;
  int number = 0;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string error;
    std::optional<Step> step = ParseLine(text.substr(start, end - start), ++number, error);
    if (!error.empty()) {
      if (errors) std::fprintf(errors, "%s:%d: %s\n", file.c_str(), number, error.c_str());
      return std::nullopt;
    }
    if (step) script.push_back(std::move(*step));
    start = end + 1;
  }
  return script;
}

}  // namespace

ScriptStatus CheckScript(std::string_view fileName, std::string_view text, std::FILE* errors) {
  return ParseScript(std::string(fileName), text, errors) ? kScriptPassed : kScriptMalformed;
}

ScriptStatus PlayScript(Driver& driver, std::string_view fileName, std::string_view text, std::FILE* steps,
                        std::FILE* errors) {
  const std::string file(fileName);
  std::optional<std::vector<Step>> script = ParseScript(file, text, errors);
  if (!script) return kScriptMalformed;
  driver.RunUntilIdle();
  for (const Step& step : *script) {
    if (steps) {
      std::fprintf(steps, "%s:%d: %s\n", file.c_str(), step.line, step.source.c_str());
      std::fflush(steps);
    }
    const std::string failure = Play(driver, step);
    if (!failure.empty()) {
      if (errors) std::fprintf(errors, "%s:%d: %s\n", file.c_str(), step.line, failure.c_str());
      return kScriptFailed;
    }
  }
  return kScriptPassed;
}

bool ReadScriptFile(const std::string& path, std::string& text, std::FILE* errors) {
  std::ifstream in(path, std::ios::binary);
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad() || !in.is_open()) {
    if (errors) std::fprintf(errors, "%s: cannot be read\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace device
