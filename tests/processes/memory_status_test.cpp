// Byte counts and memory figures as the status bar shows them.
#include "processes/memory_status.h"

#include <gtest/gtest.h>

#include "doubles/fake_tasks.h"
#include "processes/number_text.h"

namespace {

constexpr std::uint64_t KiB = 1024, MiB = KiB * KiB, GiB = MiB * KiB, TiB = GiB * KiB;

std::wstring Bytes(std::uint64_t b) { return dravik::FormatBytes(b, platform::NumberFormat{}); }

TEST(FormatBytes, ExamplesOfTheBytesRange) {
  EXPECT_EQ(Bytes(0), L"0 bytes");
  EXPECT_EQ(Bytes(1), L"1 byte");
  EXPECT_EQ(Bytes(2), L"2 bytes");
  EXPECT_EQ(Bytes(1023), L"1,023 bytes");
}

TEST(FormatBytes, ExamplesOfTheUnits) {
  EXPECT_EQ(Bytes(1024), L"1.00 KB");
  EXPECT_EQ(Bytes(1536), L"1.50 KB");
  EXPECT_EQ(Bytes(50 * MiB), L"50.0 MB");
  EXPECT_EQ(Bytes(2 * GiB), L"2.00 GB");
  EXPECT_EQ(Bytes(MiB - 1), L"1024 KB");
  EXPECT_EQ(Bytes(MiB), L"1.00 MB");
  EXPECT_EQ(Bytes(GiB - 1), L"1024 MB");
  EXPECT_EQ(Bytes(TiB), L"1.00 TB");
  EXPECT_EQ(Bytes(1536 * MiB), L"1.50 GB");
  // Just under ten rounds up and keeps four characters.
  EXPECT_EQ(Bytes(10 * KiB - 1), L"10.0 KB");
  EXPECT_EQ(Bytes(100 * KiB - 1), L"100.0 KB");
  EXPECT_EQ(Bytes(150 * KiB), L"150 KB");
  // Beyond a thousand terabytes there is no bigger unit and no digit grouping.
  EXPECT_EQ(Bytes(2048 * TiB), L"2048 TB");
  EXPECT_EQ(Bytes(UINT64_MAX), L"16777216 TB");
}

TEST(FormatBytes, NegativeSixteenAndThirtyTwoBitCountsWrapAround) {
  const platform::NumberFormat f;
  EXPECT_EQ(dravik::FormatBytes(std::int32_t{-1}, f), L"4.00 GB");
  EXPECT_EQ(dravik::FormatBytes(std::int32_t{-2147483647 - 1}, f), L"2.00 GB");
  EXPECT_EQ(dravik::FormatBytes(std::int16_t{-1}, f), L"64.0 KB");
  EXPECT_EQ(dravik::FormatBytes(std::int32_t{1023}, f), L"1,023 bytes");
  // A 64-bit count has no narrower reading: negative stays negative.
  EXPECT_EQ(dravik::FormatBytes(std::int64_t{-1500}, f), L"-1,500 bytes");
  EXPECT_EQ(dravik::FormatBytes(INT64_MIN, f), L"-9,223,372,036,854,775,808 bytes");
}

TEST(FormatBytes, UsesTheLocalesSeparators) {
  const platform::NumberFormat german{L",", L"."};
  EXPECT_EQ(dravik::FormatBytes(1023, german), L"1.023 bytes");
  EXPECT_EQ(dravik::FormatBytes(1536, german), L"1,50 KB");
  EXPECT_EQ(dravik::FormatBytes(50 * MiB, german), L"50,0 MB");
  const platform::NumberFormat spaced{L",", L"\u00A0"};
  EXPECT_EQ(dravik::GroupDigits(1234567, spaced), L"1\u00A0234\u00A0567");
}

TEST(NumberText, TwoDecimalsRoundsHalfUpAndSurvivesJunk) {
  const platform::NumberFormat f;
  EXPECT_EQ(dravik::TwoDecimals(0, f), L"0.00");
  EXPECT_EQ(dravik::TwoDecimals(62.5, f), L"62.50");
  EXPECT_EQ(dravik::TwoDecimals(12.345678, f), L"12.35");
  EXPECT_EQ(dravik::TwoDecimals(99.999, f), L"100.00");
  EXPECT_EQ(dravik::TwoDecimals(-3.5, f), L"-3.50");
  EXPECT_EQ(dravik::TwoDecimals(std::numeric_limits<double>::quiet_NaN(), f), L"0.00");
  EXPECT_EQ(dravik::TwoDecimals(std::numeric_limits<double>::infinity(), f), L"0.00");
  EXPECT_EQ(dravik::TwoDecimals(7.25, platform::NumberFormat{L",", L"."}), L"7,25");
}

TEST(MemoryStatus, FiguresByMemoryType) {
  fakes::FakeMemoryInfo memory;
  memory.sample.memoryLoad = 37;
  memory.sample.totalPhys = 16 * GiB;
  memory.sample.availPhys = 4 * GiB;
  memory.sample.totalPageFile = 20 * GiB;
  memory.sample.availPageFile = 9 * GiB;
  memory.sample.totalVirtual = 2 * GiB;
  memory.sample.availVirtual = 1 * GiB;
  const dravik::CMemoryStatus status(memory);
  EXPECT_EQ(memory.queries, 1);  // sampled once on creation
  EXPECT_EQ(status.load(), 37u);
  EXPECT_EQ(status.total(0), 16 * GiB);
  EXPECT_EQ(status.available(0), 4 * GiB);
  EXPECT_EQ(status.total(1), 20 * GiB);
  EXPECT_EQ(status.available(1), 9 * GiB);
  EXPECT_EQ(status.total(2), 2 * GiB);
  EXPECT_EQ(status.available(2), 1 * GiB);
  for (int bad : {3, -1, 99}) {
    EXPECT_FALSE(status.total(bad).has_value());
    EXPECT_FALSE(status.available(bad).has_value());
    EXPECT_FALSE(status.change(bad).has_value());
  }
}

TEST(MemoryStatus, ChangeNeedsAPreviousSample) {
  fakes::FakeMemoryInfo memory;
  memory.sample.availPhys = 4 * GiB;
  dravik::CMemoryStatus status(memory);
  EXPECT_FALSE(status.change(0).has_value());
  memory.sample.availPhys = 3 * GiB;
  EXPECT_TRUE(status.refresh());
  EXPECT_EQ(status.change(0), -static_cast<std::int64_t>(GiB));
  EXPECT_FALSE(status.change(1).has_value());  // no page-file figure in the first sample
}

TEST(MemoryStatus, AFailedQueryReadsZeroNotJunk) {
  fakes::FakeMemoryInfo memory;
  memory.fails = true;
  dravik::CMemoryStatus status(memory);
  EXPECT_EQ(status.total(0), 0u);
  EXPECT_EQ(status.available(0), 0u);
  EXPECT_FALSE(status.refresh());
}

}  // namespace
