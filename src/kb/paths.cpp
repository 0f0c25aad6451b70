// Case-insensitive masks and file lookup.
#include "kb/paths.h"

#include <vector>

namespace torv::kb {

namespace {
char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool maskMatches(std::string_view mask, std::string_view name) {
    // Iterative glob with one backtrack point for the last '*'.
    std::size_t m = 0, n = 0, starM = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || lowerAscii(mask[m]) == lowerAscii(name[n]))) {
            ++m;
            ++n;
        } else if (m < mask.size() && mask[m] == '*') {
            starM = m++;
            starN = n;
        } else if (starM != std::string_view::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

bool anyFileMatches(const std::filesystem::path& dir, std::string_view mask) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec) && maskMatches(mask, it->path().filename().string())) return true;
    }
    return false;
}

std::optional<std::filesystem::path> findFileNoCase(const std::filesystem::path& dir, std::string_view name) {
    std::error_code ec;
    const auto exact = dir / std::string(name);
    if (std::filesystem::exists(exact, ec)) return exact;
    const std::string want = upperAscii(name);
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (upperAscii(it->path().filename().string()) == want) return it->path();
    }
    return std::nullopt;
}

std::string upperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::filesystem::path platformPath(const std::filesystem::path& base, std::string_view written) {
    std::filesystem::path out = base;
    std::string part;
    auto flush = [&] {
        if (!part.empty()) out /= part;
        part.clear();
    };
    for (char c : written) {
        if (c == '\\' || c == '/') flush();
        else part += c;
    }
    flush();
    return out;
}

}  // namespace torv::kb
