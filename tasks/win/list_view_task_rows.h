#pragma once
// The Tasks list view behind the portable refresh: rows carry their key and
// tag beside the control, pictures are found by key in the list's image list.
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>

#include "tasks/task_rows.h"

namespace dravik {

class ListViewTaskRows final : public TaskRowsView {
 public:
  // Gives the list its small-image list with the blank picture "null" first;
  // the list owns the image list from then on.
  ListViewTaskRows(HWND list, HINSTANCE instance);

  int rowCount() override;
  std::wstring text(int row) override;
  std::wstring subItem(int row, int column) override;
  int findRow(const std::wstring& key) override;
  int addRow(const std::wstring& key, const std::wstring& text) override;
  void removeRow(int row) override;
  int selectedRow() override;
  void clearSelection() override;
  bool hasIcon(int row) override;
  void setIcon(int row, const std::wstring& imageKey) override;
  bool addImage(const std::wstring& key, platform::IconHandle icon) override;
  void setText(int row, const std::wstring& text) override;
  void setSubItem(int row, int column, const std::wstring& text) override;
  std::wstring tag(int row) override;
  void setTag(int row, const std::wstring& tag) override;

  HWND list() const { return list_; }
  HIMAGELIST images() const { return images_; }
  int imageIndex(const std::wstring& key) const;
  // Messages that changed the list or its pictures, for measuring how
  // quiet an unchanged refresh is.
  long writes() const { return writes_; }

 private:
  struct RowData {
    std::wstring key;
    std::wstring tag;
    bool hasIcon = false;
  };
  RowData* dataOf(int row);
  std::wstring cell(int row, int subItem);
  void addBlankPicture(HINSTANCE instance);

  HWND list_;
  HIMAGELIST images_ = nullptr;
  std::map<std::wstring, int> imageKeys_;
  // Keyed by the row's item data, which is a number handed out per row.
  std::map<LPARAM, RowData> rows_;
  std::map<std::wstring, LPARAM> keys_;
  LPARAM nextId_ = 1;
  long writes_ = 0;
};

}  // namespace dravik
