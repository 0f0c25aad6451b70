// Finding the knowledge bases under the paths given to the unattended
// commands, and where each record of a base file stands.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace torv::lint {

/// The six base files of one knowledge base, by prefix order RU MO CO AD GR SO;
/// an empty path where that base has no file.
struct KnowledgeBase {
    std::filesystem::path directory;
    std::string name;                                  // as written after the prefix
    std::array<std::filesystem::path, 6> files;
    const std::filesystem::path& rules() const { return files[0]; }
};

/// The two-letter prefixes, in load order.
inline constexpr std::array<const char*, 6> kPrefixes{"RU", "MO", "CO", "AD", "GR", "SO"};

/// Which base a file name belongs to (index into kPrefixes), and its
/// knowledge-base name; nullopt when it is no base file name.
std::optional<std::pair<std::size_t, std::string>> classifyBaseFile(const std::string& fileName);

struct Discovery {
    std::vector<KnowledgeBase> bases;
    /// Paths that could not be read, each with why.
    std::vector<std::pair<std::string, std::string>> unreadable;
};

/// Every knowledge base named by the paths: a base file stands for its
/// knowledge base, a folder for every knowledge base below it (symbolic
/// links to folders are not followed). Each knowledge base once, in path order.
Discovery discover(const std::vector<std::string>& paths);

/// Where the records of one base file stand: record name and first field
/// (number or name, unquoted) to 1-based line; the first occurrence wins.
class LineIndex {
public:
    /// Indexes a file; an unreadable file gives an empty index.
    explicit LineIndex(const std::filesystem::path& file);
    /// 0 when no such record is in the file.
    int line(const std::string& record, const std::string& key) const;
    /// The line of the first record whose kind is one of `records`.
    int lineOfAny(std::initializer_list<const char*> records, const std::string& key) const;
    /// The first line of a record of one of `records` whose key `accepts`.
    int firstLineWhere(std::initializer_list<const char*> records,
                       const std::function<bool(const std::string&)>& accepts) const;
    /// The second occurrence, for duplicated numbers.
    int repeatedLine(std::initializer_list<const char*> records, const std::string& key) const;

private:
    std::map<std::pair<std::string, std::string>, std::vector<int>> lines_;
};

}  // namespace torv::lint
