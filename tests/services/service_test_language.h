#pragma once
// A language file on disk for the native service tests: the state texts of
// keys 101 to 106 and 77, the error title 89 and the tab name 99.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "doubles/fake_profile_files.h"
#include "localization/read_ini.h"

namespace servicetests {

class LanguageFile {
 public:
  explicit LanguageFile(const std::string& mainSection = kEnglishMain) {
    dir_ = std::filesystem::temp_directory_path() /
           ("dravik-services-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + std::to_string(++counter_));
    std::filesystem::create_directories(dir_);
    const auto path = dir_ / "Test.lng";
    std::ofstream(path, std::ios::binary) << "[LANGUAGE]\r\nCharacterSet=0\r\n[Main]\r\n" << mainSection;
    language_ = std::make_unique<dravik::Language>(profiles_, fakes::WidePath(path.string()));
  }
  ~LanguageFile() { std::filesystem::remove_all(dir_); }
  const dravik::Language& language() const { return *language_; }
  int reads() const { return profiles_.reads; }

  static inline const std::string kEnglishMain =
      "77=Running\r\n89=Service Error\r\n99=Services\r\n101=Stopped\r\n102=Start Pending\r\n"
      "103=Stop Pending\r\n104=Continue Pending\r\n105=Pause Pending\r\n106=Paused\r\n";

 private:
  static inline int counter_ = 0;
  std::filesystem::path dir_;
  fakes::FakeProfileFiles profiles_;
  std::unique_ptr<dravik::Language> language_;
};

}  // namespace servicetests
