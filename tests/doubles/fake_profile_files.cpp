#include "doubles/fake_profile_files.h"

#ifdef _WIN32
#include "platform/win32/text.h"
#else
#include <iconv.h>
#endif

#include <fstream>
#include <iterator>

namespace fakes {

namespace {
std::string NarrowPath(const std::wstring& path) {
  std::string out;
  for (wchar_t c : path) out += c == L'\\' ? '/' : static_cast<char>(c);
  return out;
}
}  // namespace

std::string FakeProfileFiles::read(const std::wstring& file) {
  std::ifstream in(NarrowPath(file), std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (bytes.size() > platform::kProfileFileMaxBytes) bytes.resize(platform::kProfileFileMaxBytes);
  return bytes;
}

std::wstring FakeProfileFiles::decode(unsigned codePage, std::string_view bytes) {
#ifdef _WIN32
  return platform::win32::Widen(codePage, bytes);
#else
  const std::string from = codePage == 65001 ? "UTF-8" : "CP" + std::to_string(codePage);
  iconv_t cd = iconv_open("WCHAR_T", from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::wstring(bytes.begin(), bytes.end());
  std::wstring out(bytes.size() * 2 + 4, L'\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char* outPtr = reinterpret_cast<char*>(out.data());
  std::size_t outLeft = out.size() * sizeof(wchar_t);
  iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  out.resize(out.size() - outLeft / sizeof(wchar_t));
  return out;
#endif
}

}  // namespace fakes
