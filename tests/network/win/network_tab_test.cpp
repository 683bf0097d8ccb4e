// The Network tab's window code in a real list view, over a double of the
// IP helper. Wine gives almost every socket the owner pid 0 and its
// SetTcpEntry closes nothing, so process names, paths, Terminate Process and
// Close Connection are proved here with tables built in memory; the real
// tables are exercised in network_sockets_test.cpp.
#include <gtest/gtest.h>

#include "doubles/fake_network_tables.h"
#include "network/win/network_tab.h"
#include "support/win/network_window.h"

namespace {

using dravik::Command;
using fakes::Ipv4;
using fakes::Tcp;
using fakes::Udp;

enum Col { kProcess, kProtocol, kLocalAddress, kLocalPort, kRemoteAddress, kRemotePort, kStatus, kPath };

class NetworkTabTest : public ::testing::Test {
 protected:
  NetworkTabTest() {
    window.paths = {{1234, L"C:\\Apps\\app.exe"}, {900, L"C:\\Tools\\dns.exe"}};
    fake.tcp = {Tcp(2, 0, 135, 0, 0, 4), Tcp(5, Ipv4(10, 0, 0, 1), 1050, Ipv4(10, 0, 0, 2), 80, 1234),
                Tcp(5, Ipv4(10, 0, 0, 1), 1051, Ipv4(10, 0, 0, 200), 443, 1234)};
    fake.udp = {Udp(Ipv4(127, 0, 0, 1), 53, 900), Udp(0, 137, 0)};
  }
  void SetUp() override {
    // Without a display there is no list to test: fail, never skip.
    ASSERT_TRUE(::IsWindow(window.list())) << "the list view could not be created (no display?)";
  }
  dravik::NetworkTab& tab() {
    if (!tab_) tab_ = std::make_unique<dravik::NetworkTab>(window.context(), window.list(), fake, window.services());
    return *tab_;
  }
  int rowOfLocalPort(const std::wstring& port) { return window.find(kLocalPort, port); }

  nettest::NetworkWindow window;
  fakes::FakeNetworkTables fake;
  std::unique_ptr<dravik::NetworkTab> tab_;
};

TEST_F(NetworkTabTest, RebuildListsRowsWithTagsPicturesAndTheStatusPanel) {
  tab().refresh();
  ASSERT_EQ(window.rows(), 5);
  // Sorted by the remembered column 1, ascending as text.
  for (int row = 1; row < 5; ++row) {
    EXPECT_LE(::lstrcmpiW(window.text(row - 1, kProcess).c_str(), window.text(row, kProcess).c_str()), 0);
  }
  const int connected = rowOfLocalPort(L"1051");
  ASSERT_GE(connected, 0);
  EXPECT_EQ(window.text(connected, kProcess), L"app.exe");
  EXPECT_EQ(window.text(connected, kRemoteAddress), L"10.0.0.200");
  EXPECT_EQ(window.text(connected, kPath), L"C:\\Apps\\app.exe");
  // Tags index each protocol's own records.
  EXPECT_EQ(window.tag(connected), 2);
  EXPECT_EQ(window.tag(rowOfLocalPort(L"135")), 0);
  EXPECT_EQ(window.tag(rowOfLocalPort(L"53")), 0);
  EXPECT_EQ(window.tag(rowOfLocalPort(L"137")), 1);
  EXPECT_EQ(window.text(rowOfLocalPort(L"53"), kStatus), L"");

  // One picture per row, by position.
  HIMAGELIST images = ListView_GetImageList(window.list(), LVSIL_SMALL);
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(images), 5);
  for (int row = 0; row < 5; ++row) EXPECT_EQ(window.image(row), row);
  EXPECT_EQ(window.panel1.back(), L"(5) Network");

  // Selecting the tab writes the panel from the rows already listed.
  window.panel1.clear();
  fake.duringRead = [] { ADD_FAILURE() << "the panel needs no table read"; };
  fake.basicRows = 0;  // the watch looks, sees no change from its start, rebuilds nothing
  tab().selected();
  tab().deselected();
  EXPECT_EQ(window.panel1, std::vector<std::wstring>{L"(5) Network"});
}

// The colour at the centre of a row's picture, drawn on white.
COLORREF PictureColour(HWND list, int row) {
  HIMAGELIST images = ListView_GetImageList(list, LVSIL_SMALL);
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  ListView_GetItem(list, &item);
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 16, 16);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  RECT all{0, 0, 16, 16};
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ImageList_Draw(images, item.iImage, dc, 0, 0, ILD_TRANSPARENT);
  const COLORREF colour = ::GetPixel(dc, 8, 8);
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  return colour;
}

TEST_F(NetworkTabTest, EachRowShowsThePictureOfItsOwnFileAfterSorting) {
  // Rows of one program interleaved with others, then sorted by local port.
  for (std::uint16_t i = 0; i < 6; ++i) {
    fake.tcp.push_back(Tcp(5, Ipv4(127, 0, 0, 1), 7000 + i, Ipv4(127, 0, 0, 1), 80, i % 2 ? 1234 : 4));
  }
  window.sort.indexSort = 4;
  tab().refresh();
  ASSERT_EQ(window.rows(), 11);
  for (int row = 0; row < window.rows(); ++row) {
    // The stand-in shell draws C:\Apps files red; other rows have no red.
    const bool red = PictureColour(window.list(), row) == RGB(255, 0, 0);
    EXPECT_EQ(red, window.text(row, kPath) == L"C:\\Apps\\app.exe") << "row " << row;
  }
  EXPECT_EQ(window.iconAsks.size(), 2u) << "one shell question per path";
}

TEST_F(NetworkTabTest, NoRowIsDrawnWhileTheListFills) {
  struct Watch {
    bool redrawOff = false;
    int insertsWhileOff = 0, insertsWhileOn = 0, redrawOffs = 0;
  } watch;
  auto spy = [](HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) -> LRESULT {
    auto* seen = reinterpret_cast<Watch*>(data);
    if (m == WM_SETREDRAW) {
      seen->redrawOff = wp == FALSE;
      if (wp == FALSE) ++seen->redrawOffs;
    }
    if (m == LVM_INSERTITEMW || m == LVM_DELETEALLITEMS) ++(seen->redrawOff ? seen->insertsWhileOff : seen->insertsWhileOn);
    return ::DefSubclassProc(w, m, wp, lp);
  };
  tab();
  ::SetWindowSubclass(window.list(), spy, 77, reinterpret_cast<DWORD_PTR>(&watch));
  tab().refresh();
  ::RemoveWindowSubclass(window.list(), spy, 77);
  EXPECT_EQ(watch.redrawOffs, 1);
  EXPECT_EQ(watch.insertsWhileOff, 6);  // the clear and five rows
  EXPECT_EQ(watch.insertsWhileOn, 0);
  EXPECT_FALSE(watch.redrawOff) << "drawing must be back on after the rebuild";
}

TEST_F(NetworkTabTest, CloseConnectionHandsTheExactWordsBackAndRebuilds) {
  tab().refresh();
  const int row = rowOfLocalPort(L"1051");
  window.select(row);
  EXPECT_TRUE(tab().command(Command::CloseConnection));
  ASSERT_EQ(fake.setTcpEntryCalls.size(), 1u);
  const platform::BasicTcpRow& sent = fake.setTcpEntryCalls[0];
  EXPECT_EQ(sent.state, 12u);
  EXPECT_EQ(sent.localAddress, Ipv4(10, 0, 0, 1));
  EXPECT_EQ(sent.localPort, fakes::PortWord(1051));
  EXPECT_EQ(sent.remoteAddress, Ipv4(10, 0, 0, 200));
  EXPECT_EQ(sent.remotePort, fakes::PortWord(443));
  // The double drops the row as Windows would; the count moved, so the list follows.
  EXPECT_EQ(window.rows(), 4);
  EXPECT_EQ(rowOfLocalPort(L"1051"), -1);
  EXPECT_TRUE(window.ui.boxes.empty());
}

TEST_F(NetworkTabTest, RefusedCloseSaysSoAndLeavesTheList) {
  tab().refresh();
  fake.setTcpEntryResult = 5;
  const int readsBefore = fake.tcpCalls;
  window.select(rowOfLocalPort(L"1050"));
  tab().command(Command::CloseConnection);
  ASSERT_EQ(window.ui.boxes.size(), 1u);
  EXPECT_EQ(window.ui.boxes[0].text, L"Unable to close selected connection: \r\napp.exe [1050:10.0.0.2:80]");
  EXPECT_EQ(window.ui.boxes[0].title, L"Close Connection");
  EXPECT_EQ(window.ui.boxes[0].flags, 48u);
  EXPECT_EQ(fake.tcpCalls, readsBefore) << "no rebuild after a failed close";
  EXPECT_EQ(window.rows(), 5);

  // A UDP endpoint cannot be closed: the same message, nothing asked of the system.
  window.select(rowOfLocalPort(L"53"));
  tab().command(Command::CloseConnection);
  ASSERT_EQ(window.ui.boxes.size(), 2u);
  EXPECT_EQ(window.ui.boxes[1].text, L"Unable to close selected connection: \r\ndns.exe [53::]");
  EXPECT_EQ(fake.setTcpEntryCalls.size(), 1u);

  // Nothing selected: nothing happens.
  window.select(-1);
  EXPECT_TRUE(tab().command(Command::CloseConnection));
  EXPECT_TRUE(tab().command(Command::TerminateNetworkProcess));
  EXPECT_TRUE(tab().command(Command::NetworkFileProperties));
  EXPECT_EQ(window.ui.boxes.size(), 2u);
  EXPECT_EQ(fake.setTcpEntryCalls.size(), 1u);
  EXPECT_FALSE(tab().command(Command::EndTask)) << "another tab's command";
}

TEST_F(NetworkTabTest, TerminateAsksWithThePidOfTheRowsRecord) {
  tab().refresh();
  window.select(rowOfLocalPort(L"1050"));
  window.ui.answer = platform::mb::kAnswerNo;
  tab().command(Command::TerminateNetworkProcess);
  ASSERT_EQ(window.ui.boxes.size(), 1u);
  EXPECT_EQ(window.ui.boxes[0].text, L"Are you sure you want to terminate this process?");
  EXPECT_EQ(window.ui.boxes[0].title, L"Process: app.exe (PID: 1234)");
  EXPECT_EQ(window.ui.boxes[0].flags, 52u);
  EXPECT_TRUE(window.kills.empty());

  window.ui.answer = platform::mb::kAnswerYes;
  tab().command(Command::TerminateNetworkProcess);
  EXPECT_EQ(window.kills, std::vector<std::uint32_t>{1234});

  // A UDP row's tag indexes the UDP records.
  window.select(rowOfLocalPort(L"53"));
  const int readsBefore = fake.tcpCalls;
  tab().command(Command::TerminateNetworkProcess);
  EXPECT_EQ(window.ui.boxes.back().title, L"Process: dns.exe (PID: 900)");
  EXPECT_EQ(window.kills, (std::vector<std::uint32_t>{1234, 900}));
  EXPECT_EQ(fake.tcpCalls, readsBefore) << "the count watch, not the command, rebuilds";
}

TEST_F(NetworkTabTest, FilePropertiesOpensThePathOrSaysThereIsNone) {
  tab().refresh();
  window.select(rowOfLocalPort(L"1050"));
  tab().command(Command::NetworkFileProperties);
  EXPECT_EQ(window.propertySheets, std::vector<std::wstring>{L"C:\\Apps\\app.exe"});
  EXPECT_TRUE(window.ui.boxes.empty());

  window.select(rowOfLocalPort(L"135"));
  tab().command(Command::NetworkFileProperties);
  ASSERT_EQ(window.ui.boxes.size(), 1u);
  EXPECT_EQ(window.ui.boxes[0].text, L"Process path not found!");
  EXPECT_EQ(window.ui.boxes[0].title, L"Process: (System)");
  EXPECT_EQ(window.ui.boxes[0].flags, 16u);
  EXPECT_EQ(window.propertySheets.size(), 1u);
}

TEST_F(NetworkTabTest, RequestsArrivingDuringARebuildRunAfterItNeverInsideIt) {
  tab().refresh();
  window.select(rowOfLocalPort(L"1050"));
  const int readsBefore = fake.tcpCalls;
  const int countReadsBefore = fake.basicCalls;
  int hooks = 0;
  // As if the user pressed Refresh, chose Close Connection and the timer
  // ticked while the table was being read.
  fake.duringRead = [&] {
    if (hooks++ > 0) return;
    EXPECT_TRUE(tab().busy());
    tab().refresh();
    tab().command(Command::CloseConnection);
    tab().tick();
  };
  tab().refresh();
  EXPECT_FALSE(tab().busy());
  EXPECT_EQ(fake.deepestRead, 1) << "a rebuild ran inside another";
  // The close ran once the rebuild was over, on the same connection.
  ASSERT_EQ(fake.setTcpEntryCalls.size(), 1u);
  EXPECT_EQ(fake.setTcpEntryCalls[0].localPort, fakes::PortWord(1050));
  EXPECT_EQ(rowOfLocalPort(L"1050"), -1);
  // Rebuilds: the one asked for, then the one after the close, which also
  // serves the Refresh that waited (two table calls each).
  EXPECT_EQ(fake.tcpCalls - readsBefore, 2 * 2);
  // The tick did not look at the count while the rebuild ran (the close did, once).
  EXPECT_EQ(fake.basicCalls - countReadsBefore, 2);
}

TEST_F(NetworkTabTest, WatchRebuildsOnlyWhenTheCountMovesAndStopsOffTheTab) {
  tab().selected();  // the first look fills the list
  EXPECT_EQ(window.rows(), 5);
  EXPECT_TRUE(tab().watching());
  const int reads = fake.tcpCalls;
  const int udpReads = fake.udpCalls;

  window.select(rowOfLocalPort(L"1050"));
  fake.tcp[1] = Tcp(5, Ipv4(10, 0, 0, 1), 3000, Ipv4(10, 0, 0, 9), 80, 1234);  // one replaced by another
  fake.udp.pop_back();                                                         // UDP changes alone
  for (int i = 0; i < 3; ++i) tab().tick();
  EXPECT_EQ(fake.tcpCalls, reads);
  EXPECT_EQ(fake.udpCalls, udpReads);
  EXPECT_GE(window.selected(), 0) << "the selection stays while nothing is rebuilt";

  fake.tcp.push_back(Tcp(2, 0, 445, 0, 0, 4));
  tab().tick();
  EXPECT_EQ(fake.tcpCalls, reads + 2);
  EXPECT_EQ(window.rows(), 5);
  EXPECT_EQ(window.selected(), -1);

  // The real timer ticks while the tab is shown...
  int countReads = fake.basicCalls;
  nettest::PumpFor(2500);
  EXPECT_GT(fake.basicCalls, countReads);
  // ...and not once it is left.
  tab().deselected();
  EXPECT_FALSE(tab().watching());
  fake.tcp.pop_back();
  countReads = fake.basicCalls;
  nettest::PumpFor(1600);
  EXPECT_EQ(fake.basicCalls, countReads);
  EXPECT_EQ(window.find(kLocalPort, L"445") >= 0, true) << "the list keeps its state off the tab";

  // Coming back looks once and rebuilds because the count moved meanwhile.
  const std::size_t panels = window.panel1.size();
  tab().selected();
  EXPECT_EQ(window.find(kLocalPort, L"445"), -1);
  EXPECT_GE(window.panel1.size(), panels + 1);
  EXPECT_EQ(window.panel1.back(), L"(4) Network");
  tab().deselected();
}

TEST_F(NetworkTabTest, LeavingTheTabDuringTheFirstLooksRebuildStopsTheWatch) {
  fake.duringRead = [&] { tab().deselected(); };  // a tab switch handled inside the rebuild
  tab().selected();
  EXPECT_EQ(window.rows(), 5);
  EXPECT_FALSE(tab().watching());
  fake.duringRead = nullptr;
  const int countReads = fake.basicCalls;
  nettest::PumpFor(1600);
  EXPECT_EQ(fake.basicCalls, countReads) << "the watch went on off the tab";
}

TEST_F(NetworkTabTest, PopupMenuOnlyOverAListWithRows) {
  tab();
  NMHDR click{window.list(), 1, static_cast<UINT>(NM_RCLICK)};
  LRESULT result = 1;
  EXPECT_TRUE(tab().listNotify(click, result));
  EXPECT_EQ(window.popups, 0);
  tab().refresh();
  EXPECT_TRUE(tab().listNotify(click, result));
  EXPECT_EQ(window.popups, 1);
  NMHDR other{window.list(), 1, static_cast<UINT>(NM_DBLCLK)};
  EXPECT_FALSE(tab().listNotify(other, result));
}

TEST_F(NetworkTabTest, TheListGoingFirstLeavesTheTabsPicturesToTheTab) {
  tab().refresh();
  HIMAGELIST images = ListView_GetImageList(window.list(), LVSIL_SMALL);
  ASSERT_NE(images, nullptr);
  ::DestroyWindow(window.list());
  // The list must not have destroyed the image list the tab still owns.
  EXPECT_EQ(ImageList_GetImageCount(images), 5);
  tab_.reset();
}

TEST_F(NetworkTabTest, UnreadableTablesKeepTheListAndTheWindowAlive) {
  tab().refresh();
  fake.tcpError = 31;
  fake.udpError = 31;
  fake.tcp.clear();
  tab().refresh();
  // The counts and records of the last good read stay in force.
  EXPECT_EQ(window.rows(), 5);
  EXPECT_GE(rowOfLocalPort(L"1050"), 0);
  fake.basicSizeQueryResult = platform::iphlp::kNotSupported;
  tab().selected();
  tab().deselected();
  ASSERT_EQ(window.ui.boxes.size(), 1u);
  EXPECT_EQ(window.ui.boxes[0].text, L"IP Helper not supported!");
}

}  // namespace
