#pragma once

#include <QTemporaryDir>
#include <filesystem>

namespace pordex::test {

// A fresh working folder with an empty DATA subfolder; the process's current folder is moved
// into it for the fixture's lifetime and restored afterwards, so no test touches user files.
class TempWorkdir {
  public:
    TempWorkdir();
    ~TempWorkdir();
    TempWorkdir(const TempWorkdir&) = delete;
    TempWorkdir& operator=(const TempWorkdir&) = delete;

    std::filesystem::path path() const { return root_; }
    std::filesystem::path data() const { return root_ / "DATA"; }
    // The INI file the settings store is pointed at in tests.
    std::filesystem::path ini() const { return root_ / "pordex.INI"; }

  private:
    QTemporaryDir dir_;
    std::filesystem::path root_;
    std::filesystem::path previous_;
};

}  // namespace pordex::test
