#include "support/temp_workdir.h"

namespace pordex::test {

TempWorkdir::TempWorkdir()
    : root_(dir_.path().toStdString()), previous_(std::filesystem::current_path()) {
    std::filesystem::create_directories(root_ / "DATA");
    std::filesystem::current_path(root_);
}

TempWorkdir::~TempWorkdir() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
}

}  // namespace pordex::test
