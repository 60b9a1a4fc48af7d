// tavrel-contacts: brings people's contacts into the device image's contact store from vCard
// files, writes them back out, and lists them. The device image is $TAVREL_DEVICE, else
// $XDG_DATA_HOME/tavrel, else ~/.local/share/tavrel, as for tavrel itself.
//
// Exit status: 0 success; 1 bad input or a store that cannot be used (with a message on
// standard error naming the file and line, or the store's problem); 2 wrong use.
#include "contacts/contact_exchange.h"

#include <device/files.h>
#include <device/pim.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

constexpr int kBadInput = 1;
constexpr int kWrongUse = 2;
constexpr std::uintmax_t kMaxFileBytes = 1u << 30;

const char kUsage[] =
    "usage: tavrel-contacts import FILE.vcf   add the contacts of a vCard file (2.1, 3.0, 4.0)\n"
    "       tavrel-contacts export FILE.vcf   write every contact as vCard 3.0\n"
    "       tavrel-contacts list              one contact a line: file-as name, phones, e-mails\n"
    "The contact store is pim.sqlite in the device image ($TAVREL_DEVICE, default\n"
    "~/.local/share/tavrel). Contacts already in the store are not imported again.\n";

const char kVersion[] = "tavrel-contacts 1.0\n";

void PrintReport(std::u16string_view text, std::u16string_view caption) {
  std::fprintf(stderr, "tavrel-contacts: %s: %s\n", ToUtf8(caption).c_str(), ToUtf8(text).c_str());
}

// Connects to the store; false, with a message, when it cannot be used.
bool ConnectStore() {
  if (!device::EnsureDeviceImage()) {
    std::fprintf(stderr, "tavrel-contacts: %s: cannot make the device image\n", device::DeviceImageRoot().c_str());
    return false;
  }
  SetPoomMessageSink(PrintReport);
  PoomConnect();
  std::vector<ContactRecord> probe;
  if (PoomLoadContacts(probe) == kPoomOk) return true;
  std::string problem = device::PimStoreProblem();
  std::fprintf(stderr, "tavrel-contacts: %s: %s\n", (device::DeviceImageRoot() / "pim.sqlite").c_str(),
               problem.empty() ? "the contact store cannot be opened" : problem.c_str());
  return false;
}

bool ReadWholeFile(const std::string& path, std::string& text) {
  std::error_code error;
  std::uintmax_t size = std::filesystem::file_size(path, error);
  if (!error && size > kMaxFileBytes) {
    std::fprintf(stderr, "tavrel-contacts: %s: larger than 1 GB\n", path.c_str());
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in || std::filesystem::is_directory(path, error)) {
    std::fprintf(stderr, "tavrel-contacts: %s: cannot read: %s\n", path.c_str(), std::strerror(errno ? errno : ENOENT));
    return false;
  }
  text.assign(std::istreambuf_iterator<char>(in), {});
  return true;
}

// Writes beside the file and renames, so that a failed export never leaves half a file.
bool WriteWholeFile(const std::string& path, const std::string& text) {
  std::string temporary = path + ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) {
      std::fprintf(stderr, "tavrel-contacts: %s: cannot write: %s\n", path.c_str(), std::strerror(errno ? errno : EIO));
      std::remove(temporary.c_str());
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::fprintf(stderr, "tavrel-contacts: %s: cannot write: %s\n", path.c_str(), error.message().c_str());
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

int RunImport(const std::string& path) {
  std::string text;
  if (!ReadWholeFile(path, text) || !ConnectStore()) return kBadInput;
  ImportSummary summary = ImportVCardText(text);
  for (const VCardProblem& problem : summary.problems)
    std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), problem.line, problem.message.c_str());
  if (!summary.opened || !summary.stored) {
    std::fprintf(stderr, "tavrel-contacts: %s: nothing imported: the contact store refused the changes\n", path.c_str());
    return kBadInput;
  }
  std::printf("%s: %d contacts imported, %d already in the store\n", path.c_str(), summary.imported,
              summary.duplicates);
  return summary.problems.empty() ? 0 : kBadInput;
}

int RunExport(const std::string& path) {
  if (!ConnectStore()) return kBadInput;
  std::string text;
  int count = 0;
  if (!ExportVCardText(text, &count)) {
    std::fprintf(stderr, "tavrel-contacts: the contact store cannot be read\n");
    return kBadInput;
  }
  if (!WriteWholeFile(path, text)) return kBadInput;
  std::printf("%s: %d contacts exported\n", path.c_str(), count);
  return 0;
}

int RunList() {
  if (!ConnectStore()) return kBadInput;
  std::vector<std::string> lines;
  if (!ListContactLines(lines)) {
    std::fprintf(stderr, "tavrel-contacts: the contact store cannot be read\n");
    return kBadInput;
  }
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  return 0;
}

int WrongUse(const char* why) {
  std::fprintf(stderr, "tavrel-contacts: %s\n%s", why, kUsage);
  return kWrongUse;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--version") {
      std::fputs(kVersion, stdout);
      return 0;
    }
    if (arg.size() > 1 && arg[0] == '-') return WrongUse(("unknown option " + arg).c_str());
  }
  if (args.empty()) return WrongUse("no command");
  const std::string& command = args[0];
  if (command == "list") return args.size() == 1 ? RunList() : WrongUse("list takes no file");
  if (command != "import" && command != "export") return WrongUse(("unknown command " + command).c_str());
  if (args.size() != 2) return WrongUse((command + " takes one file").c_str());
  return command == "import" ? RunImport(args[1]) : RunExport(args[1]);
}
