#include "processes/process_list.h"

#include <algorithm>
#include <limits>

namespace dravik {

namespace {

std::optional<std::uint64_t> ParseUnsigned(const std::wstring& text) {
  if (text.empty()) return std::nullopt;
  std::uint64_t number = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    const std::uint64_t digit = static_cast<std::uint64_t>(c - L'0');
    if (number > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
    number = number * 10 + digit;
  }
  return number;
}

// Band keys in the order PriorityBandTexts keeps them.
constexpr std::array<TextKey, 7> kBandKeys = {
    text_key::kPriorityNone,   text_key::kPriorityIdle, text_key::kPriorityBelowNormal,
    text_key::kPriorityNormal, text_key::kPriorityAboveNormal, text_key::kPriorityHigh,
    text_key::kPriorityRealtime};

std::size_t BandIndex(const std::wstring& basePriority) {
  // Only the canonical decimal texts 0..23 name a band: "08", " 8" or "+8" do not.
  const bool canonical =
      basePriority == L"0" ||
      (!basePriority.empty() && basePriority.size() <= 2 && basePriority[0] >= L'1' &&
       basePriority[0] <= L'9' && (basePriority.size() == 1 || (basePriority[1] >= L'0' && basePriority[1] <= L'9')));
  if (!canonical) return 6;
  const int priority = static_cast<int>(*ParseUnsigned(basePriority));
  if (priority == 0) return 0;
  if (priority <= 4) return 1;
  if (priority <= 6) return 2;
  if (priority <= 9) return 3;
  if (priority <= 11) return 4;
  if (priority <= 23) return 5;
  return 6;
}

}  // namespace

const std::vector<std::wstring>& ProcessProperties() {
  static const std::vector<std::wstring> properties = [] {
    std::vector<std::wstring> names;
    for (const ProcessColumn& c : kProcessColumns) names.emplace_back(c.property);
    return names;
  }();
  return properties;
}

std::wstring PropertyText(const platform::PropertyValue& value) {
  using Kind = platform::PropertyValue::Kind;
  switch (value.kind) {
    case Kind::Text:
      return value.text;
    case Kind::Signed:
      return std::to_wstring(value.signedNumber);
    case Kind::Unsigned:
      return std::to_wstring(value.unsignedNumber);
    case Kind::Boolean:
      return value.boolean ? L"True" : L"False";
    case Kind::Empty:
    case Kind::Null:
      break;
  }
  return {};
}

std::wstring GroupDigits(std::uint64_t number, const std::wstring& groupSeparator) {
  if (number == 0) return {};
  const std::wstring digits = std::to_wstring(number);
  std::wstring grouped;
  grouped.reserve(digits.size() + (digits.size() / 3) * groupSeparator.size());
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += groupSeparator;
    grouped += digits[i];
  }
  return grouped;
}

std::wstring WorkingSetText(const platform::PropertyValue& bytes,
                            const std::wstring& groupSeparator) {
  using Kind = platform::PropertyValue::Kind;
  std::optional<std::uint64_t> number;
  switch (bytes.kind) {
    case Kind::Text:
      number = ParseUnsigned(bytes.text);
      break;
    case Kind::Unsigned:
      number = bytes.unsignedNumber;
      break;
    case Kind::Signed:
      if (bytes.signedNumber >= 0) number = static_cast<std::uint64_t>(bytes.signedNumber);
      break;
    default:
      break;
  }
  if (!number) return {};
  return GroupDigits(*number / 1024, groupSeparator) + L" KB";
}

std::vector<ProcessInfo> QueryProcesses(platform::ProcessQuery& query,
                                        const std::wstring& groupSeparator) {
  std::vector<ProcessInfo> processes;
  query.forEachObject(kProcessQueryText, ProcessProperties(),
                      [&](const std::vector<platform::PropertyValue>& values) {
                        ProcessInfo& info = processes.emplace_back();
                        const std::size_t count = std::min(values.size(), kProcessFieldCount);
                        for (std::size_t i = 0; i < count; ++i) {
                          info.fields[i] = i == process_field::kWorkingSet
                                               ? WorkingSetText(values[i], groupSeparator)
                                               : PropertyText(values[i]);
                        }
                      });
  return processes;
}

PriorityBandTexts::PriorityBandTexts(const Language& language) {
  for (std::size_t i = 0; i < kBandKeys.size(); ++i) texts_[i] = language.text(kBandKeys[i]);
}

const std::wstring& PriorityBandTexts::forBasePriority(const std::wstring& basePriority) const {
  return texts_[BandIndex(basePriority)];
}

int RowImage(const std::wstring& path, int addedImage) {
  if (addedImage == kNoImage) return kNoImage;
  // A process without a path still gets the shell's generic icon; it shows
  // the placeholder instead, so that it does not look like a real program.
  return path.empty() ? kPlaceholderImage : addedImage;
}

ProcessListing ReadProcessListing(platform::ProcessQuery& query, platform::ShellFiles& shell,
                                  const std::wstring& groupSeparator) {
  ProcessListing listing;
  listing.processes = QueryProcesses(query, groupSeparator);
  for (const ProcessInfo& process : listing.processes) {
    listing.icons.push_back(shell.smallIcon(process.fields[process_field::kPath]));
  }
  return listing;
}

std::size_t ShowProcessList(ProcessListTarget& list, const ProcessListing& listing, const Language& language) {
  // The list draws itself again however the rebuild ends.
  struct Rebuilding {
    explicit Rebuilding(ProcessListTarget& target) : list(target) { list.beginRebuild(); }
    ~Rebuilding() { list.endRebuild(); }
    ProcessListTarget& list;
  } rebuilding(list);
  const PriorityBandTexts bands(language);
  std::array<std::wstring, kProcessFieldCount> cells;
  for (std::size_t i = 0; i < listing.processes.size(); ++i) {
    const ProcessInfo& process = listing.processes[i];
    cells = process.fields;
    cells[process_field::kPriority] = bands.forBasePriority(process.fields[process_field::kPriority]);
    const int image = i < listing.icons.size() ? list.addFileIcon(listing.icons[i]) : kNoImage;
    list.addRow(cells, RowImage(process.fields[process_field::kPath], image));
  }
  return list.rowCount();
}

std::optional<std::uint32_t> ParseProcessId(const std::wstring& text) {
  const auto number = ParseUnsigned(text);
  if (!number || *number > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  return static_cast<std::uint32_t>(*number);
}

}  // namespace dravik
