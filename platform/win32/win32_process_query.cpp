#include "platform/win32/win32_process_query.h"

#include <oleauto.h>

namespace platform::win32 {

namespace {

// Clears a VARIANT when it goes out of scope, whatever Get left in it.
struct ScopedVariant {
  VARIANT value;
  ScopedVariant() { ::VariantInit(&value); }
  ~ScopedVariant() { ::VariantClear(&value); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
};

// A BSTR owned for the duration of a call.
struct ScopedBstr {
  BSTR value;
  explicit ScopedBstr(const std::wstring& text)
      : value(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~ScopedBstr() { ::SysFreeString(value); }
  ScopedBstr(const ScopedBstr&) = delete;
  ScopedBstr& operator=(const ScopedBstr&) = delete;
};

bool IsUnsignedCim(CIMTYPE type) {
  return type == CIM_UINT8 || type == CIM_UINT16 || type == CIM_UINT32 || type == CIM_UINT64;
}

// A signed VARIANT number of a property the instrumentation declares
// unsigned: read as its unsigned type so that large values do not turn negative.
template <typename Unsigned, typename Signed>
PropertyValue WholeNumber(Signed number, bool isUnsigned) {
  return isUnsigned ? PropertyValue::Unsigned(static_cast<Unsigned>(number))
                    : PropertyValue::Signed(number);
}

// The instrumentation checks the caller's identity on every call: without
// impersonation rights on the proxies it refuses them on Windows.
void AllowImpersonation(IUnknown* proxy) {
  ::CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

// Objects fetched per round trip; each still reaches the caller as soon as
// its batch arrives.
constexpr ULONG kBatch = 16;
// A service that stops answering must not hold the window for ever: a batch
// that takes longer ends the query with the processes read so far.
constexpr LONG kBatchTimeoutMs = 10000;

}  // namespace

PropertyValue FromVariant(const VARIANT& value, CIMTYPE cimType) {
  const bool isUnsigned = IsUnsignedCim(cimType & ~CIM_FLAG_ARRAY);
  switch (V_VT(&value)) {
    case VT_EMPTY:
      return PropertyValue{};
    case VT_NULL:
      return PropertyValue::Null();
    case VT_BSTR:
      return PropertyValue::Text(V_BSTR(&value) ? std::wstring(V_BSTR(&value), ::SysStringLen(V_BSTR(&value)))
                                                : std::wstring());
    case VT_BOOL: {
      PropertyValue v;
      v.kind = PropertyValue::Kind::Boolean;
      v.boolean = V_BOOL(&value) != VARIANT_FALSE;
      return v;
    }
    case VT_I1:
      return PropertyValue::Signed(V_I1(&value));
    case VT_UI1:
      return PropertyValue::Unsigned(V_UI1(&value));
    case VT_I2:
      return WholeNumber<std::uint16_t>(V_I2(&value), isUnsigned);
    case VT_UI2:
      return PropertyValue::Unsigned(V_UI2(&value));
    case VT_I4:
    case VT_INT:
      return WholeNumber<std::uint32_t>(V_I4(&value), isUnsigned);
    case VT_UI4:
    case VT_UINT:
      return PropertyValue::Unsigned(V_UI4(&value));
    case VT_I8:
      return WholeNumber<std::uint64_t>(V_I8(&value), isUnsigned);
    case VT_UI8:
      return PropertyValue::Unsigned(V_UI8(&value));
    default: {
      // Dates, reals and the like: whatever text the system makes of them.
      ScopedVariant text;
      if (SUCCEEDED(::VariantChangeType(&text.value, const_cast<VARIANT*>(&value), 0, VT_BSTR))) {
        return FromVariant(text.value, CIM_STRING);
      }
      return PropertyValue{};
    }
  }
}

bool Win32ProcessQuery::connect() {
  if (services_) return true;
  ComPtr<IWbemLocator> locator;
  if (FAILED(::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                reinterpret_cast<void**>(locator.put())))) {
    return false;
  }
  ScopedBstr space(L"root\\cimv2");
  // Bounded, like the query: an unreachable service gives an empty list, not a hung window.
  if (FAILED(locator->ConnectServer(space.value, nullptr, nullptr, nullptr,
                                    WBEM_FLAG_CONNECT_USE_MAX_WAIT, nullptr, nullptr,
                                    services_.put()))) {
    services_.reset();
    return false;
  }
  AllowImpersonation(services_.get());
  return true;
}

Win32ProcessQuery::Outcome Win32ProcessQuery::run(const std::wstring& wql, const std::vector<std::wstring>& properties,
                           const std::function<void(const std::vector<PropertyValue>&)>& visit) {
  ScopedBstr language(L"WQL");
  ScopedBstr query(wql);
  ComPtr<IEnumWbemClassObject> objects;
  if (FAILED(services_->ExecQuery(language.value, query.value,
                                  WBEM_FLAG_RETURN_IMMEDIATELY | WBEM_FLAG_FORWARD_ONLY, nullptr,
                                  objects.put()))) {
    return Outcome::NotStarted;
  }
  AllowImpersonation(objects.get());
  std::vector<PropertyValue> values(properties.size());
  IWbemClassObject* batch[kBatch] = {};
  for (;;) {
    ULONG returned = 0;
    const HRESULT hr = objects->Next(kBatchTimeoutMs, kBatch, batch, &returned);
    for (ULONG i = 0; i < returned; ++i) {
      ComPtr<IWbemClassObject> object;
      *object.put() = batch[i];
      for (std::size_t p = 0; p < properties.size(); ++p) {
        ScopedVariant value;
        CIMTYPE type = CIM_EMPTY;
        // A property the provider lacks fails here; it leaves an empty field.
        values[p] = SUCCEEDED(object->Get(properties[p].c_str(), 0, &value.value, &type, nullptr))
                        ? FromVariant(value.value, type)
                        : PropertyValue{};
      }
      visit(values);
    }
    if (hr == WBEM_S_TIMEDOUT || FAILED(hr)) return Outcome::Broken;
    if (hr != WBEM_S_NO_ERROR) return Outcome::Complete;  // WBEM_S_FALSE: no more objects
  }
}

bool Win32ProcessQuery::forEachObject(
    const std::wstring& wql, const std::vector<std::wstring>& properties,
    const std::function<void(const std::vector<PropertyValue>&)>& visit) {
  // A kept connection may have gone stale (the service restarted): one fresh
  // connection is tried before giving up.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!connect()) return false;
    const Outcome outcome = run(wql, properties, visit);
    if (outcome == Outcome::Complete) return true;
    services_.reset();
    // The objects that came are kept; the next query connects anew.
    if (outcome == Outcome::Broken) return true;
  }
  return false;
}

std::wstring UserGroupSeparator() {
  wchar_t separator[8] = {};
  const int length = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8);
  return length > 1 ? std::wstring(separator, static_cast<std::size_t>(length - 1)) : std::wstring();
}

}  // namespace platform::win32
