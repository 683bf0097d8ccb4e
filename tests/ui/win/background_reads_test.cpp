// The worker the tabs read on, with a real thread and window under Wine: a
// read that throws is reported once in the "Warning" box and the worker goes
// on; the reader is made and destroyed on the worker's own thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "support/win/ui_test_support.h"
#include "ui/win/background_reads.h"

namespace {

struct Reader {
  DWORD thread = ::GetCurrentThreadId();  // the one it is made on
  int reads = 0;
};
struct Number final : dravik::Snapshot {
  int value = 0;
  DWORD readOn = 0;
};

TEST(BackgroundReads, AReadThatThrowsIsReportedOnceAndTheWorkerGoesOn) {
  std::vector<int> delivered;  // -1 for a read that gave nothing
  DWORD readerThread = 0;
  dravik::BackgroundReadsOf<Reader, Number> reads(
      ::GetModuleHandleW(nullptr), L"ReadNumbers", [] { return std::make_unique<Reader>(); },
      [&](std::unique_ptr<Number> number) {
        delivered.push_back(number ? number->value : -1);
        if (number) readerThread = number->readOn;
      });
  const auto failing = [](Reader&) -> std::unique_ptr<Number> { throw std::runtime_error("no table"); };
  const auto counting = [](Reader& reader) {
    auto number = std::make_unique<Number>();
    number->value = ++reader.reads;
    number->readOn = reader.thread;
    return number;
  };
  const auto readAndWait = [&](auto read) {
    reads.request(read);
    return testsupport::PumpUntil([&] { return !reads.busy(); });
  };

  testsupport::MessageBoxAnswerer box(IDOK);
  ASSERT_TRUE(readAndWait(failing));
  ASSERT_TRUE(box.finish()) << "no report of the exception";
  EXPECT_EQ(box.title(), L"Warning");
  EXPECT_EQ(box.text(), L"0:Error in ReadNumbers.  Error Message: no table");
  // Once only: a second box would hold the worker, and the next read with it.
  ASSERT_TRUE(readAndWait(failing));
  ASSERT_TRUE(readAndWait(counting));
  EXPECT_EQ(delivered, (std::vector<int>{-1, -1, 1}));
  EXPECT_NE(readerThread, ::GetCurrentThreadId()) << "the reader was made on the window's thread";

  // Dropped: the snapshot of a request made before never arrives.
  reads.request(counting);
  reads.drop();
  EXPECT_FALSE(reads.busy());
  testsupport::PumpFor(std::chrono::milliseconds(300));
  EXPECT_EQ(delivered.size(), 3u);
}

}  // namespace
