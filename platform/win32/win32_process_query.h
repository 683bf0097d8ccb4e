#pragma once
#include <windows.h>
#include <oaidl.h>
#include <wbemidl.h>

#include "platform/processes.h"
#include "platform/win32/handles.h"

namespace platform::win32 {

// A property value as the instrumentation hands it over. `cimType` tells the
// property's declared type: unsigned 32-bit properties arrive in a signed
// VARIANT and are read back as unsigned here.
PropertyValue FromVariant(const VARIANT& value, CIMTYPE cimType);

// The local "root\cimv2" namespace through COM, queried with WQL. The
// connection is kept between queries and dropped when a query fails, so the
// next query connects again. Use it on the thread that created it.
class Win32ProcessQuery final : public ProcessQuery {
 public:
  bool forEachObject(const std::wstring& wql, const std::vector<std::wstring>& properties,
                     const std::function<void(const std::vector<PropertyValue>&)>& visit) override;

 private:
  enum class Outcome { Complete, NotStarted, Broken };
  bool connect();
  Outcome run(const std::wstring& wql, const std::vector<std::wstring>& properties,
          const std::function<void(const std::vector<PropertyValue>&)>& visit);

  ComApartment apartment_;
  ComPtr<IWbemServices> services_;
};

// The user's digit-group separator ("," in English).
std::wstring UserGroupSeparator();

}  // namespace platform::win32
