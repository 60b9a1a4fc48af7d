// FindWindow across the processes of one device image, and raising a window of another
// process (see internal/remote_windows.h for the calls that accept a remote handle).
//
// Each process that starts the device listens on a Unix-domain socket registered in
// <image>/instances: "<pid>.sock" is the socket itself; when that path would not fit a socket
// address, the process listens on an abstract socket named from a hash of the folder and its
// pid instead, and "<pid>.abstract" only marks it. A thread of the process answers one request
// per connection from the list of visible top-level windows that the UI thread published when
// it last ran out of messages or created a top-level window (the server thread never touches
// the windows themselves):
//     FIND <class> <title>\n   ->  HWND <hex>\n | NONE\n     (a text is "-" for null, else
//     RAISE <hex>\n            ->  OK\n | NONE\n              "=" and UTF-16 units in hex)
// A raise is posted into the owner's queue and carried out by its UI thread. Every exchange
// has a short send/receive timeout, and a registration whose socket refuses connections (its
// process died) is removed by whoever finds it. Not implemented: hidden or child windows of
// other processes, any other call on a remote handle, and changes (shown, hidden, renamed,
// destroyed) since the owner last went idle or created a top-level window.
#include "internal/remote_windows.h"

#include <device/files.h>

#include "internal/backend.h"
#include "internal/window_state.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace device::internal {
namespace {

static_assert(sizeof(std::uintptr_t) == 8, "remote handles use the top byte of a 64-bit handle");
// Local handles count up from 0x10000, so a handle with this top byte is never one of them.
constexpr std::uintptr_t kRemoteTag = std::uintptr_t{0x52} << 56;
constexpr std::uintptr_t kTagMask = std::uintptr_t{0xFF} << 56;
constexpr int kTimeoutMs = 500;
constexpr std::size_t kMaxLine = 4096;

struct Address {
  sockaddr_un addr{};
  socklen_t length = 0;
};

struct PublishedWindow {
  std::uint64_t handle;
  std::u16string classKey;
  std::u16string title;
};

struct RemoteWindow {
  Address address;
  std::uint64_t handle;  // in the owning process
};

std::mutex publishedLock;
std::vector<PublishedWindow>& Published() {
  static auto* list = new std::vector<PublishedWindow>;  // outlives the server thread at exit
  return *list;
}

std::mutex remoteLock;
std::vector<RemoteWindow>& Remotes() {
  static auto* list = new std::vector<RemoteWindow>;
  return *list;
}

fs::path InstancesFolder() {
  std::error_code ignored;
  return fs::weakly_canonical(DeviceImageRoot(), ignored) / "instances";
}

std::uint64_t Fnv1a(const std::string& text) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : text) hash = (hash ^ c) * 0x100000001b3ull;
  return hash;
}

Address PathAddress(const fs::path& path) {
  Address a;
  a.addr.sun_family = AF_UNIX;
  std::memcpy(a.addr.sun_path, path.c_str(), path.native().size());
  a.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.native().size() + 1);
  return a;
}

// Abstract names start with a zero byte and are not files, so they have no length trouble.
Address AbstractAddress(const fs::path& folder, long pid) {
  char name[64];
  int n = std::snprintf(name, sizeof name, "device-%016llx-%ld",
                        static_cast<unsigned long long>(Fnv1a(folder.native())), pid);
  Address a;
  a.addr.sun_family = AF_UNIX;
  std::memcpy(a.addr.sun_path + 1, name, static_cast<std::size_t>(n));
  a.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + static_cast<std::size_t>(n));
  return a;
}

bool FitsSocketPath(const fs::path& path) { return path.native().size() < sizeof(sockaddr_un{}.sun_path); }

void SetTimeouts(int fd) {
  timeval t{kTimeoutMs / 1000, (kTimeoutMs % 1000) * 1000};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &t, sizeof t);
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &t, sizeof t);
}

bool SendAll(int fd, const std::string& text) {
  std::size_t sent = 0;
  while (sent < text.size()) {
    ssize_t n = ::send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

std::optional<std::string> ReadLine(int fd) {
  std::string line;
  char c;
  while (line.size() < kMaxLine) {
    ssize_t n = ::recv(fd, &c, 1, 0);
    if (n <= 0) return std::nullopt;
    if (c == '\n') return line;
    line += c;
  }
  return std::nullopt;
}

std::string EncodeText(LPCWSTR text) {
  if (!text) return "-";
  std::string out = "=";
  char unit[8];
  for (const char16_t* p = text; *p; ++p) {
    std::snprintf(unit, sizeof unit, "%04x", static_cast<unsigned>(*p));
    out += unit;
  }
  return out;
}

std::optional<std::u16string> DecodeText(const std::string& field, bool& isNull) {
  isNull = field == "-";
  if (isNull) return std::u16string();
  if (field.empty() || field[0] != '=' || (field.size() - 1) % 4 != 0) return std::nullopt;
  std::u16string text;
  for (std::size_t i = 1; i < field.size(); i += 4) {
    char* end = nullptr;
    std::string unit = field.substr(i, 4);
    unsigned long value = std::strtoul(unit.c_str(), &end, 16);
    if (*end) return std::nullopt;
    text += static_cast<char16_t>(value);
  }
  return text;
}

std::vector<std::string> SplitWords(const std::string& line) {
  std::vector<std::string> words;
  std::size_t start = 0;
  while (start <= line.size()) {
    std::size_t space = line.find(' ', start);
    if (space == std::string::npos) space = line.size();
    words.push_back(line.substr(start, space - start));
    start = space + 1;
  }
  return words;
}

std::optional<std::uint64_t> ParseHandle(const std::string& hex) {
  if (hex.empty()) return std::nullopt;
  char* end = nullptr;
  unsigned long long value = std::strtoull(hex.c_str(), &end, 16);
  return *end ? std::nullopt : std::optional<std::uint64_t>(value);
}

// ---- Server side: runs on its own thread, reads only the published list. ----

std::string AnswerFind(const std::vector<std::string>& words) {
  bool classNull = false, titleNull = false;
  std::optional<std::u16string> cls = words.size() == 3 ? DecodeText(words[1], classNull) : std::nullopt;
  std::optional<std::u16string> title = words.size() == 3 ? DecodeText(words[2], titleNull) : std::nullopt;
  if (!cls || !title) return "NONE\n";
  std::u16string key = ClassKey(cls->c_str());
  std::lock_guard<std::mutex> guard(publishedLock);
  for (const PublishedWindow& w : Published()) {
    if ((classNull || w.classKey == key) && (titleNull || w.title == *title)) {
      char reply[32];
      std::snprintf(reply, sizeof reply, "HWND %llx\n", static_cast<unsigned long long>(w.handle));
      return reply;
    }
  }
  return "NONE\n";
}

std::string AnswerRaise(const std::vector<std::string>& words) {
  std::optional<std::uint64_t> handle = words.size() == 2 ? ParseHandle(words[1]) : std::nullopt;
  if (!handle) return "NONE\n";
  {
    std::lock_guard<std::mutex> guard(publishedLock);
    bool known = false;
    for (const PublishedWindow& w : Published()) known = known || w.handle == *handle;
    if (!known) return "NONE\n";
  }
  HWND hwnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(*handle));
  return PostMessage(hwnd, kRaiseRequestMessage, 0, 0) ? "OK\n" : "NONE\n";
}

void AnswerConnection(int fd) {
  SetTimeouts(fd);
  std::optional<std::string> line = ReadLine(fd);
  if (!line) return;
  std::vector<std::string> words = SplitWords(*line);
  if (words[0] == "FIND") SendAll(fd, AnswerFind(words));
  else if (words[0] == "RAISE") SendAll(fd, AnswerRaise(words));
  else SendAll(fd, "NONE\n");
}

class Server {
 public:
  // Listens for the device image now in use, leaving a previous one first.
  void Start(const fs::path& folder) {
    std::lock_guard<std::mutex> guard(lock_);
    std::error_code error;
    // The registration may have gone with a removed image whose name came round again.
    if (fd_ >= 0 && folder == folder_ && fs::exists(registration_, error)) return;
    StopLocked();
    fs::create_directories(folder, error);
    long pid = static_cast<long>(::getpid());
    // The socket is bound under a name finders ignore and renamed once it listens, so that
    // nobody takes a registration for stale between bind and listen.
    fs::path socketPath = folder / (std::to_string(pid) + ".sock");
    fs::path boundPath = folder / (std::to_string(pid) + ".sock.new");
    bool abstract = !FitsSocketPath(boundPath);
    registration_ = abstract ? folder / (std::to_string(pid) + ".abstract") : socketPath;
    Address address = abstract ? AbstractAddress(folder, pid) : PathAddress(boundPath);
    fs::remove(registration_, error);  // left by an earlier process with our pid
    if (!abstract) fs::remove(boundPath, error);
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address.addr), address.length) != 0 || ::listen(fd, 16) != 0) {
      ::close(fd);
      return;
    }
    if (abstract) {
      if (std::FILE* marker = std::fopen(registration_.c_str(), "w")) std::fclose(marker);
    } else {
      fs::rename(boundPath, socketPath, error);
    }
    fd_ = fd;
    folder_ = folder;
    thread_ = std::thread([fd] { Serve(fd); });
  }

  // At process exit: the registration goes, so nobody needs to find it stale.
  void Unregister() {
    std::lock_guard<std::mutex> guard(lock_);
    if (fd_ >= 0) ::unlink(registration_.c_str());
  }

 private:
  static void Serve(int listening) {
    for (;;) {
      int fd = ::accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) {
        if (errno == EINTR || errno == ECONNABORTED) continue;
        return;  // shut down (Stop) or broken
      }
      AnswerConnection(fd);
      ::close(fd);
    }
  }

  void StopLocked() {
    if (fd_ < 0) return;
    ::shutdown(fd_, SHUT_RDWR);  // wakes the blocked accept
    thread_.join();
    ::close(fd_);
    ::unlink(registration_.c_str());
    fd_ = -1;
  }

  std::mutex lock_;
  int fd_ = -1;
  fs::path folder_;
  fs::path registration_;
  std::thread thread_;
};

Server& TheServer() {
  static Server* server = new Server;  // never destroyed: its thread may still be serving at exit
  return *server;
}

// ---- Client side. ----

struct Registration {
  fs::path file;
  Address address;
};

std::vector<Registration> OtherRegistrations() {
  std::vector<Registration> found;
  fs::path folder = InstancesFolder();
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::string name = it->path().filename().string();
    char* rest = nullptr;
    long pid = std::strtol(name.c_str(), &rest, 10);
    if (rest == name.c_str() || pid == static_cast<long>(::getpid())) continue;
    std::string kind(rest);
    if (kind == ".sock" && FitsSocketPath(it->path())) found.push_back({it->path(), PathAddress(it->path())});
    if (kind == ".abstract") found.push_back({it->path(), AbstractAddress(folder, pid)});
  }
  return found;
}

// One request, one reply line. `stale` tells that nobody listens there any more.
std::optional<std::string> Exchange(const Address& address, const std::string& request, bool& stale) {
  stale = false;
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return std::nullopt;
  SetTimeouts(fd);
  std::optional<std::string> reply;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address.addr), address.length) != 0) {
    stale = errno == ECONNREFUSED || errno == ENOENT;
  } else if (SendAll(fd, request)) {
    reply = ReadLine(fd);
  }
  ::close(fd);
  return reply;
}

HWND Remember(const Address& address, std::uint64_t handle) {
  std::lock_guard<std::mutex> guard(remoteLock);
  std::vector<RemoteWindow>& list = Remotes();
  std::size_t index = 0;
  while (index < list.size() && !(list[index].handle == handle &&
                                  list[index].address.length == address.length &&
                                  std::memcmp(&list[index].address.addr, &address.addr, address.length) == 0)) {
    ++index;
  }
  if (index == list.size()) list.push_back({address, handle});
  return reinterpret_cast<HWND>(kRemoteTag | (index << 2));
}

}  // namespace

void StartRemoteWindowServer() {
  static std::once_flag atExit;
  std::call_once(atExit, [] { std::atexit([] { TheServer().Unregister(); }); });
  TheServer().Start(InstancesFolder());
}

void PublishTopLevelWindows() {
  std::vector<PublishedWindow> now;
  for (const Window* w : Wm().topLevels) {
    if (!(w->style & WS_VISIBLE) || w->destroying) continue;
    now.push_back({reinterpret_cast<std::uintptr_t>(w->handle), ClassKey(w->cls->name.c_str()), w->text});
  }
  std::lock_guard<std::mutex> guard(publishedLock);
  Published().swap(now);
}

HWND FindRemoteWindow(LPCWSTR className, LPCWSTR windowName) {
  if (!className && !windowName) return nullptr;
  std::string request = "FIND " + EncodeText(className) + " " + EncodeText(windowName) + "\n";
  for (const Registration& r : OtherRegistrations()) {
    bool stale = false;
    std::optional<std::string> reply = Exchange(r.address, request, stale);
    if (stale) {
      std::error_code ignored;
      fs::remove(r.file, ignored);
    }
    if (!reply || reply->rfind("HWND ", 0) != 0) continue;
    if (std::optional<std::uint64_t> handle = ParseHandle(reply->substr(5))) return Remember(r.address, *handle);
  }
  return nullptr;
}

bool IsRemoteWindow(HWND hwnd) {
  return (reinterpret_cast<std::uintptr_t>(hwnd) & kTagMask) == kRemoteTag;
}

BOOL RaiseRemoteWindow(HWND hwnd) {
  std::size_t index = (reinterpret_cast<std::uintptr_t>(hwnd) & ~kTagMask) >> 2;
  RemoteWindow target;
  {
    std::lock_guard<std::mutex> guard(remoteLock);
    if (!IsRemoteWindow(hwnd) || index >= Remotes().size()) return FALSE;
    target = Remotes()[index];
  }
  char request[40];
  std::snprintf(request, sizeof request, "RAISE %llx\n", static_cast<unsigned long long>(target.handle));
  bool stale = false;
  std::optional<std::string> reply = Exchange(target.address, request, stale);
  return reply && *reply == "OK" ? TRUE : FALSE;
}

void HandleRaiseRequest(HWND hwnd) {
  if (!IsWindow(hwnd)) return;
  SetForegroundWindow(hwnd);
  CurrentBackend()->BringToFront();  // the device of this process comes before the other's
}

}  // namespace device::internal
