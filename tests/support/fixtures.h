// Small knowledge-base fixtures: a private temporary directory laid out like
// a knowledge base (BASES/, ADVICES/, GRAPHICS/, SOUNDS/, ABSTRACTS/).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace torv::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return root_; }
    /// Writes a file (creating its directories) and returns its full path.
    std::filesystem::path write(const std::filesystem::path& relative, std::string_view content) const;
    /// Creates a directory (and its parents) and returns its full path.
    std::filesystem::path mkdir(const std::filesystem::path& relative) const;

private:
    std::filesystem::path root_;
};

/// Reads a whole file.
std::string readFile(const std::filesystem::path& p);

}  // namespace torv::test
