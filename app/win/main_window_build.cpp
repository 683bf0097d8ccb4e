// Creating the main window's controls and menus from their tables.
#include "app/win/main_window.h"

#include <commctrl.h>

#include <cstdint>
#include <set>

#include "app/tab_descriptions.h"
#include "app/win/list_view_helpers.h"

namespace dravik {

namespace {

using platform::win32::SelectedObject;
using platform::win32::UniqueBitmap;
using platform::win32::UniqueMemoryDc;
using platform::win32::WindowDc;

constexpr int kToolbarId = 1;
constexpr int kTabStripId = 2;
constexpr int kStatusBarId = 3;
constexpr int kFirstListId = 10;
constexpr int kToolbarImageSize = 16;
constexpr COLORREF kToolbarMaskColour = RGB(192, 192, 192);
// Design widths of the status-bar panels, 1/100 mm.
constexpr int kPanelWidths[] = {2822, 2999, 3933, 4762};

HFONT GuiFont() { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

// A picture the art does not provide shows as a blank button face.
void AddBlankImage(HIMAGELIST images) {
  const WindowDc screen;
  const UniqueBitmap bitmap(
      ::CreateCompatibleBitmap(screen.get(), kToolbarImageSize, kToolbarImageSize));
  {
    const UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
    const SelectedObject drawn(dc.get(), bitmap.get());
    const RECT all{0, 0, kToolbarImageSize, kToolbarImageSize};
    const platform::win32::UniqueBrush mask(::CreateSolidBrush(kToolbarMaskColour));
    ::FillRect(dc.get(), &all, mask.get());
  }
  ::ImageList_AddMasked(images, bitmap.get(), kToolbarMaskColour);
}

// The picture of a disabled button: grey and faded. Not every common-controls
// version derives one from a 32-bit picture, so the toolbar gets its own.
void AddGreyedIcon(HIMAGELIST images, HICON icon) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kToolbarImageSize;
  info.bmiHeader.biHeight = -kToolbarImageSize;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const WindowDc screen;
  const UniqueBitmap colour(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  {
    const UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
    const SelectedObject drawn(dc.get(), colour.get());
    ::DrawIconEx(dc.get(), 0, 0, icon, kToolbarImageSize, kToolbarImageSize, 0, nullptr, DI_NORMAL);
    ::GdiFlush();
    auto* pixel = static_cast<std::uint8_t*>(bits);
    for (int i = 0; bits && i < kToolbarImageSize * kToolbarImageSize; ++i, pixel += 4) {
      // Premultiplied colour: grey keeps its share of the alpha, which is halved.
      const int grey = (pixel[0] * 29 + pixel[1] * 150 + pixel[2] * 77) >> 8;
      pixel[0] = pixel[1] = pixel[2] = static_cast<std::uint8_t>((grey + pixel[3]) / 4);
      pixel[3] = static_cast<std::uint8_t>(pixel[3] / 2);
    }
  }
  const UniqueBitmap mask(::CreateBitmap(kToolbarImageSize, kToolbarImageSize, 1, 1, nullptr));
  ICONINFO parts{TRUE, 0, 0, mask.get(), colour.get()};
  if (const platform::win32::UniqueIcon greyed{::CreateIconIndirect(&parts)}) {
    ::ImageList_ReplaceIcon(images, -1, greyed.get());
  } else {
    AddBlankImage(images);
  }
}

}  // namespace

void MainWindow::buildControls() {
  buildMenus();
  buildToolbar();
  buildTabStrip();
  buildLists();
  buildStatusBar();
}

void MainWindow::buildToolbar() {
  toolbar_ = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP,
                               0, 0, 0, 0, window_, reinterpret_cast<HMENU>(kToolbarId),
                               options_.instance, nullptr);
  ::SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  toolbarImages_.reset(::ImageList_Create(kToolbarImageSize, kToolbarImageSize,
                                          ILC_COLOR32 | ILC_MASK, 12, 0));
  disabledImages_.reset(::ImageList_Create(kToolbarImageSize, kToolbarImageSize,
                                           ILC_COLOR32 | ILC_MASK, 12, 0));
  std::vector<TBBUTTON> buttons;
  for (const ToolbarButtonDef& def : ToolbarButtons()) {
    TBBUTTON b{};
    b.idCommand = static_cast<int>(def.command);
    b.fsState = TBSTATE_ENABLED;
    if (def.command == Command::None) {
      b.fsStyle = BTNS_SEP;
    } else {
      b.fsStyle = BTNS_BUTTON;
      b.iBitmap = def.picture - 1;  // the pictures are added in position order
      auto icon = static_cast<HICON>(::LoadImageW(options_.instance, def.iconName, IMAGE_ICON,
                                                  kToolbarImageSize, kToolbarImageSize, 0));
      if (icon) {
        ::ImageList_ReplaceIcon(toolbarImages_.get(), -1, icon);
        AddGreyedIcon(disabledImages_.get(), icon);
        ::DestroyIcon(icon);
      } else {
        AddBlankImage(toolbarImages_.get());
        AddBlankImage(disabledImages_.get());
      }
      tips_[buttons.size()] = def.tip;
    }
    buttons.push_back(b);
  }
  ::SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolbarImages_.get()));
  ::SendMessageW(toolbar_, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabledImages_.get()));
  ::SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  ::SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
}

void MainWindow::buildTabStrip() {
  const TwipsScale x = scaleX(), y = scaleY();
  tabStrip_ = ::CreateWindowExW(0, WC_TABCONTROLW, nullptr,
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                                x.toPixels(kTabStripLeft), y.toPixels(kTabStripTop), 100, 100,
                                window_, reinterpret_cast<HMENU>(kTabStripId), options_.instance,
                                nullptr);
  ::SendMessageW(tabStrip_, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
  static constexpr const wchar_t* kCaptions[] = {L"Tasks", L"Processes", L"Services", L"Network"};
  for (int i = 0; i < 4; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(kCaptions[i]);
    ::SendMessageW(tabStrip_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  ::SendMessageW(tabStrip_, TCM_SETCURSEL, 0, 0);
}

void MainWindow::buildLists() {
  for (int i = 0; i < kTabCount; ++i) {
    // Each page lies over the tab strip and holds one list.
    pages_[i] = ::CreateWindowExW(0, L"DravikTaskManagerPage", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                  0, 0, 100, 100, window_, nullptr, options_.instance, nullptr);
    ::SetWindowPos(pages_[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    lists_[i] = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr,
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 0,
        100, 100, pages_[i], reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstListId + i)),
        options_.instance, nullptr);
    const TwipsScale x = scaleX();
    int index = 0;
    for (const ListColumn& c : ListColumns(kTabs[i])) {
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
      column.fmt = c.rightAligned && index > 0 ? LVCFMT_RIGHT : LVCFMT_LEFT;
      column.cx = x.hundredthMmToPixels(c.widthHundredthMm);
      column.pszText = const_cast<wchar_t*>(c.header);
      column.iSubItem = index;
      ::SendMessageW(lists_[i], LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
      ++index;
    }
    KeepListSorted(lists_[i]);
  }
  placePages(Tab::Tasks);
  enableToolbar(Tab::Tasks);
}

void MainWindow::buildStatusBar() {
  statusBar_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr,
                                 WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | SBARS_TOOLTIPS, 0, 0, 0,
                                 0, window_, reinterpret_cast<HMENU>(kStatusBarId),
                                 options_.instance, nullptr);
  const TwipsScale x = scaleX();
  int edges[4];
  int right = 0;
  for (int i = 0; i < 4; ++i) {
    right += x.hundredthMmToPixels(kPanelWidths[i]);
    edges[i] = right;
  }
  ::SendMessageW(statusBar_, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
  ::SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"Processes: 0"));
  static constexpr const wchar_t* kTips[] = {L"CPU Usage", L"Used Physical Memory",
                                             L"Available Physical Memory"};
  for (int i = 0; i < 3; ++i) {
    ::SendMessageW(statusBar_, SB_SETTIPTEXTW, i + 1, reinterpret_cast<LPARAM>(kTips[i]));
  }
}

HMENU MainWindow::menuOf(Menu menu) const {
  switch (menu) {
    case Menu::Bar: return ::GetMenu(window_);
    case Menu::PopupTasks: return popups_[0];
    case Menu::PopupProcesses: return popups_[1];
    case Menu::PopupServices: return popups_[2];
    case Menu::PopupNetwork: return popups_[3];
    default: {
      auto found = submenus_.find(menu);
      return found != submenus_.end() ? found->second : nullptr;
    }
  }
}

void MainWindow::buildMenus() {
  HMENU bar = ::CreateMenu();
  for (int i = 0; i < 4; ++i) {
    popupOwners_[i].reset(::CreatePopupMenu());
    popups_[i] = popupOwners_[i].get();
  }
  std::map<HMENU, int> counts;
  menuPlaces_.clear();
  for (const MenuItemDef& item : MenuItems()) {
    HMENU parent = item.parent == Menu::Bar ? bar : menuOf(item.parent);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    std::wstring text;
    if (!item.text) {
      info.fMask = MIIM_FTYPE;
      info.fType = MFT_SEPARATOR;
    } else {
      text = item.text;
      if (item.shortcut) text += std::wstring(L"\t") + item.shortcut;
      info.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE;
      info.wID = static_cast<UINT>(item.command);
      info.dwTypeData = text.data();
      info.fState = item.checkedAtStart ? MFS_CHECKED : 0;
      if (item.opens != Menu::Bar) {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = ::CreatePopupMenu();
        submenus_[item.opens] = info.hSubMenu;
      }
    }
    const int position = parent ? counts[parent]++ : -1;
    if (parent) ::InsertMenuItemW(parent, position, TRUE, &info);
    menuPlaces_.emplace_back(parent, position);
  }
  // The window owns and destroys its menu bar.
  ::SetMenu(window_, bar);
}

}  // namespace dravik
