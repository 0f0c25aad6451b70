// Temporary knowledge-base directories for tests.
#include "support/fixtures.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace torv::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    root_ = std::filesystem::temp_directory_path() /
            ("torvae-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(root_, ec);
}

std::filesystem::path TempDir::write(const std::filesystem::path& relative, std::string_view content) const {
    auto p = root_ / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return p;
}

std::filesystem::path TempDir::mkdir(const std::filesystem::path& relative) const {
    auto p = root_ / relative;
    std::filesystem::create_directories(p);
    return p;
}

std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace torv::test
