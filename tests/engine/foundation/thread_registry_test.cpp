// The thread registry with real threads: names, removal and the usage table.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <cstring>
#include <vector>

#include "testkit.h"
#include "zv_memory.h"
#include "win32/owners.h"

namespace {

std::string nameOf(uint32_t id) {
  char out[260];
  debugGetThreadName(id, out);
  return out;
}

std::string threadList() {
  std::vector<char> out(4096, '#');
  debugGetThreadList(out.data());
  return out.data();
}

struct Line {
  bool marked = false;
  std::string id, name, priority;
  double kernel = -1, user = -1;
};

// Splits the table into its lines; the header comes first.
std::vector<Line> parseTable(const std::string& table, std::string& header) {
  std::vector<Line> lines;
  size_t start = 0;
  bool first = true;
  while (start < table.size()) {
    size_t end = table.find('\n', start);
    if (end == std::string::npos) break;
    std::string text = table.substr(start, end - start);
    start = end + 1;
    if (first) {
      header = text;
      first = false;
      continue;
    }
    Line l;
    if (!text.empty() && text[0] == '\x02') {
      l.marked = true;
      text.erase(0, 1);
    }
    std::vector<std::string> f;
    size_t p = 0;
    for (;;) {
      size_t tab = text.find('\t', p);
      f.push_back(text.substr(p, tab == std::string::npos ? std::string::npos : tab - p));
      if (tab == std::string::npos) break;
      p = tab + 1;
    }
    if (f.size() != 5) {
      ADD_FAILURE() << "line with " << f.size() << " fields: " << text;
      continue;
    }
    l.id = f[0];
    l.name = f[1];
    l.priority = f[2];
    // "12.34%"
    EXPECT_EQ(f[3].back(), '%') << text;
    EXPECT_EQ(f[4].back(), '%') << text;
    l.kernel = std::atof(f[3].c_str());
    l.user = std::atof(f[4].c_str());
    lines.push_back(l);
  }
  EXPECT_EQ(start, table.size()) << "table must end with a line feed";
  return lines;
}

const Line* find(const std::vector<Line>& lines, const std::string& name) {
  for (const Line& l : lines)
    if (l.name == name) return &l;
  return nullptr;
}

// A thread that spins or waits until told to end.
class Worker {
 public:
  explicit Worker(bool busy) : busy_(busy) {
    thread_.reset(CreateThread(nullptr, 0, &Worker::entry, this, 0, &id_));
  }
  ~Worker() {
    stop_ = true;
    SetEvent(wake_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
  }
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;
  uint32_t id() const { return id_; }
  HANDLE handle() const { return thread_.get(); }

 private:
  static DWORD WINAPI entry(void* self) {
    auto* w = static_cast<Worker*>(self);
    if (w->busy_) {
      volatile uint64_t x = 0;
      while (!w->stop_) x = x + 1;
    } else {
      WaitForSingleObject(w->wake_.get(), INFINITE);
    }
    return 0;
  }
  bool busy_;
  std::atomic<bool> stop_{false};
  zv::UniqueKernelHandle wake_{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  DWORD id_ = 0;
  zv::UniqueKernelHandle thread_;
};

}  // namespace

TEST(ThreadRegistry, namesAddAndRemove) {
  uint32_t id = 0x7ffff001;  // no real thread needed for names
  EXPECT_EQ(nameOf(id), std::to_string(id));
  debugAddThread("zvtest first", id, nullptr);
  debugAddThread("zvtest second", id, nullptr);
  EXPECT_EQ(nameOf(id), "zvtest first");
  debugDelThread(id);  // removes the first entry only
  EXPECT_EQ(nameOf(id), "zvtest second");
  debugDelThread(id);
  EXPECT_EQ(nameOf(id), std::to_string(id));
  debugDelThread(id);  // nothing left: no harm
  EXPECT_EQ(nameOf(4000000000u), "4000000000");

  // Long names are cut to the caller's 260 bytes.
  std::string longName(400, 'n');
  debugAddThread(longName.c_str(), id, nullptr);
  char out[260 + 16];
  std::memset(out, '#', sizeof(out));
  debugGetThreadName(id, out);
  EXPECT_EQ(std::strlen(out), 259u);
  EXPECT_EQ(out[260], '#');
  debugDelThread(id);
}

TEST(ThreadRegistry, usageTableShowsBusyAboveIdle) {
  Worker busy(true), idle(false);
  SetThreadPriority(idle.handle(), THREAD_PRIORITY_BELOW_NORMAL);
  debugAddThread("zvtest busy", busy.id(), busy.handle());
  debugAddThread("zvtest idle", idle.id(), idle.handle());

  std::string header;
  std::vector<Line> lines;
  // Every call adds a sample; a line appears once two samples span time,
  // and the busy thread pulls ahead as its samples accumulate.
  // CPU times advance in scheduler ticks, so samples are taken some tens of
  // milliseconds apart (pacing only; nothing is asserted about durations).
  bool seen = zvtest::waitFor(
      [&] {
        Sleep(40);
        lines = parseTable(threadList(), header);
        const Line* b = find(lines, "zvtest busy");
        const Line* i = find(lines, "zvtest idle");
        const Line* t = find(lines, "Total");
        return b && i && t && b->kernel + b->user > i->kernel + i->user + 10 && b->marked &&
               t->kernel + t->user > 10;
      },
      10000);
  ASSERT_TRUE(seen) << threadList();
  EXPECT_EQ(header, "\x01" "ID\tName\tPr\tKrn\tUsr");

  const Line* b = find(lines, "zvtest busy");
  const Line* i = find(lines, "zvtest idle");
  const Line* total = find(lines, "Total");
  ASSERT_TRUE(b && i && total);
  EXPECT_EQ(b->id, std::to_string(busy.id()));
  EXPECT_EQ(i->id, std::to_string(idle.id()));
  EXPECT_EQ(b->priority, "N");
  EXPECT_EQ(i->priority, "B");
  EXPECT_FALSE(i->marked);
  EXPECT_EQ(total->id, "\x01");
  EXPECT_EQ(total->priority, "");
  // Last registered first; "Total", inserted at the front, comes last.
  EXPECT_LT(i - lines.data(), b - lines.data());
  EXPECT_EQ(&lines.back(), total);

  debugDelThread(busy.id());
  debugDelThread(idle.id());
  lines = parseTable(threadList(), header);
  EXPECT_EQ(find(lines, "zvtest busy"), nullptr);
  EXPECT_EQ(find(lines, "zvtest idle"), nullptr);
}

TEST(ThreadRegistry, priorityLetters) {
  Worker w(false);
  debugAddThread("zvtest prio", w.id(), w.handle());
  struct Row {
    int priority;
    const char* letter;
  } rows[] = {{THREAD_PRIORITY_IDLE, "I"},         {THREAD_PRIORITY_LOWEST, "L"},
              {THREAD_PRIORITY_BELOW_NORMAL, "B"}, {THREAD_PRIORITY_NORMAL, "N"},
              {THREAD_PRIORITY_ABOVE_NORMAL, "A"}, {THREAD_PRIORITY_HIGHEST, "H"},
              {THREAD_PRIORITY_TIME_CRITICAL, "T"}};
  for (const Row& r : rows) {
    ASSERT_TRUE(SetThreadPriority(w.handle(), r.priority)) << r.priority;
    std::string header;
    const Line* l = nullptr;
    std::vector<Line> lines;
    zvtest::waitFor(
        [&] {
          lines = parseTable(threadList(), header);
          l = find(lines, "zvtest prio");
          return l != nullptr;
        },
        5000);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->priority, r.letter) << r.priority;
  }
  debugDelThread(w.id());
}
