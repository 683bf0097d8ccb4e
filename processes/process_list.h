#pragma once
// The process list: what the instrumentation reports about each process, how
// its values become the cells of a row, and the rebuild of the list.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "localization/read_ini.h"
#include "platform/processes.h"
#include "platform/shell.h"
#include "processes/process_columns.h"

namespace dravik {

// One process as the last query saw it; every field is text.
struct ProcessInfo {
  std::array<std::wstring, kProcessFieldCount> fields;
};

// The Win32_Process properties behind the fields, in field order.
const std::vector<std::wstring>& ProcessProperties();
inline constexpr const wchar_t* kProcessQueryText = L"SELECT * FROM Win32_Process";

// A value as plain decimal text, the text of a text value as it is; no value
// (or one that cannot be read) gives "".
std::wstring PropertyText(const platform::PropertyValue& value);

// Digits in groups of three joined by `groupSeparator`; 0 gives no digits at all.
std::wstring GroupDigits(std::uint64_t number, const std::wstring& groupSeparator);

// The working set as shown: kilobytes rounded down, grouped, then " KB".
// No value, or text that is not a whole number, gives "".
std::wstring WorkingSetText(const platform::PropertyValue& bytes, const std::wstring& groupSeparator);

// Every process the query reports, with all its fields; none when the
// instrumentation could not be reached.
std::vector<ProcessInfo> QueryProcesses(platform::ProcessQuery& query,
                                        const std::wstring& groupSeparator);

// The priority band texts of the language file, read once for a whole rebuild.
// Only the exact decimal texts of the bands match; anything else is the last band.
class PriorityBandTexts {
 public:
  explicit PriorityBandTexts(const Language& language);
  const std::wstring& forBasePriority(const std::wstring& basePriority) const;

 private:
  std::array<std::wstring, 7> texts_;
};

// Image positions in the process list's image list are counted from 1:
// image 1 is the "no icon" placeholder, 0 means no image at all.
inline constexpr int kNoImage = 0;
inline constexpr int kPlaceholderImage = 1;

// The image a row shows given the image AddFileIcon gave for its path.
int RowImage(const std::wstring& path, int addedImage);

// The list the rebuild writes into; the Processes tab's list view, or a double.
class ProcessListTarget {
 public:
  virtual ~ProcessListTarget() = default;
  // Removes every row and image, then adds the placeholder as image 1. Until
  // endRebuild the list need not draw itself.
  virtual void beginRebuild() = 0;
  // A file's icon, as the shell gave it, appended to the image list: its
  // position, or kNoImage when the shell gave none.
  virtual int addFileIcon(const platform::SystemIcon& icon) = 0;
  virtual void addRow(const std::array<std::wstring, kProcessFieldCount>& cells, int image) = 0;
  virtual void endRebuild() = 0;
  virtual std::size_t rowCount() const = 0;
};

// One read of the process list, made away from the window: every process the
// query reported and the shell's icon of each one's file, in the same order.
struct ProcessListing {
  std::vector<ProcessInfo> processes;
  std::vector<platform::SystemIcon> icons;
};
ProcessListing ReadProcessListing(platform::ProcessQuery& query, platform::ShellFiles& shell,
                                  const std::wstring& groupSeparator);

// Rebuilds the list from a listing and returns the number of rows, which the
// status bar shows.
std::size_t ShowProcessList(ProcessListTarget& list, const ProcessListing& listing, const Language& language);

// The figure of a decimal text as a 32-bit number; nothing for anything else.
std::optional<std::uint32_t> ParseProcessId(const std::wstring& text);

}  // namespace dravik
