// The in-memory contact list, its sort order, and the thread that loads it.
//
// The list has no lock: the loader writes the records and then publishes the ready flag with
// release semantics; the user-interface thread reads the list only after it has read the flag
// set with acquire semantics. A reload waits for a running load first, so that two loads, or a
// clear and a load, never touch the list at once.
#include "contacts/poom/poom_interface.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace poom_internal {
void MarkLoaderThread();  // poom_interface.cpp
}

namespace {

constexpr DWORD kContactsPollMs = 10;

// Loads that have started and not yet finished.
struct LoaderState {
  std::mutex mutex;
  std::condition_variable finished;
  int running = 0;
};

LoaderState& Loaders() {
  static LoaderState* state = new LoaderState;  // never destroyed: a loader may outlive main
  return *state;
}

// Walks LastName then FirstName as one key, folded to lower case, without building it.
class SortKey {
 public:
  explicit SortKey(const ContactRecord& record)
      : parts_{ContactString(record, kLastNameId), ContactString(record, kFirstNameId)} {}
  // The next folded code unit, or -1 at the end of the key.
  int Next() {
    while (part_ < 2) {
      const WCHAR* text = parts_[part_];
      if (text && text[index_]) return static_cast<int>(u_tolower(text[index_++])) & 0xFFFF;
      ++part_;
      index_ = 0;
    }
    return -1;
  }

 private:
  const WCHAR* parts_[2];
  int part_ = 0;
  std::size_t index_ = 0;
};

DWORD WINAPI LoaderThread(LPVOID) {
  DWORD result = ContactLoader(nullptr);
  LoaderState& state = Loaders();
  {
    std::lock_guard lock(state.mutex);
    --state.running;
  }
  state.finished.notify_all();
  return result;
}

void WaitForRunningLoad() {
  LoaderState& state = Loaders();
  std::unique_lock lock(state.mutex);
  state.finished.wait(lock, [&] { return state.running == 0; });
}

}  // namespace

ContactList& TheContactList() {
  static ContactList* list = new ContactList;  // process-wide, lives until exit
  return *list;
}

int CompareContacts(const ContactRecord& a, const ContactRecord& b) {
  SortKey left(a), right(b);
  for (;;) {
    int x = left.Next();
    int y = right.Next();
    if (x != y) return x < y ? -1 : 1;
    if (x < 0) return 0;
  }
}

void ContactListRemove(LONG oid) {
  std::vector<ContactRecord>& records = TheContactList().records;
  auto found = std::find_if(records.begin(), records.end(), [&](const ContactRecord& r) { return r.Oid == oid; });
  if (found == records.end()) return;
  records.erase(found);
  records.shrink_to_fit();
}

void ContactListInsert(ContactRecord record) {
  std::vector<ContactRecord>& records = TheContactList().records;
  records.push_back(std::move(record));
  std::sort(records.begin(), records.end(),
            [](const ContactRecord& a, const ContactRecord& b) { return CompareContacts(a, b) < 0; });
}

void ContactListClear() {
  ContactList& list = TheContactList();
  list.ready.store(0, std::memory_order_release);
  std::vector<ContactRecord>().swap(list.records);
}

DWORD ContactLoader(LPVOID) {
  poom_internal::MarkLoaderThread();
  ContactList& list = TheContactList();
  PoomConnect();
  PoomLoadContacts(list.records);
  std::sort(list.records.begin(), list.records.end(),
            [](const ContactRecord& a, const ContactRecord& b) { return CompareContacts(a, b) < 0; });
  list.ready.store(1, std::memory_order_release);
  return 0;
}

HANDLE StartContactLoader() {
  LoaderState& state = Loaders();
  {
    std::lock_guard lock(state.mutex);
    ++state.running;
  }
  HANDLE thread = CreateThread(nullptr, 0, LoaderThread, nullptr, 0, nullptr);
  if (!thread) {
    {
      std::lock_guard lock(state.mutex);
      --state.running;
    }
    state.finished.notify_all();
  }
  return thread;
}

HANDLE ReloadContacts() {
  WaitForRunningLoad();
  ContactListClear();
  return StartContactLoader();
}

void WaitForContacts() {
  LoaderState& state = Loaders();
  for (;;) {
    if (TheContactList().ready.load(std::memory_order_acquire) != 0) break;
    {
      std::lock_guard lock(state.mutex);
      // Without a load under way the flag would never come.
      if (state.running == 0) break;
    }
    Sleep(kContactsPollMs);
  }
  ShowPendingPoomReports();
}
