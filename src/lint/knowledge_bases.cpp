// Knowledge bases under given paths, and the line index of a base file.
#include "lint/knowledge_bases.h"

#include <algorithm>
#include <set>
#include <system_error>
#include <variant>

#include "kb/paths.h"
#include "kb/term_reader.h"

namespace torv::lint {

namespace fs = std::filesystem;

std::optional<std::pair<std::size_t, std::string>> classifyBaseFile(const std::string& fileName) {
    if (fileName.size() < 2 + 4 + 1) return std::nullopt;
    const std::string upper = kb::upperAscii(fileName);
    if (!upper.ends_with(".AEB")) return std::nullopt;
    for (std::size_t i = 0; i < kPrefixes.size(); ++i)
        if (upper.starts_with(kPrefixes[i]))
            return std::pair{i, fileName.substr(2, fileName.size() - 6)};
    return std::nullopt;
}

namespace {

/// Bases are grouped by folder and by name without regard to case, as the
/// loads compare them.
using Key = std::pair<std::string, std::string>;

struct Collector {
    Discovery result;
    std::map<Key, std::size_t> index;

    void add(const fs::path& file) {
        const auto c = classifyBaseFile(file.filename().string());
        if (!c) return;
        const fs::path dir = file.parent_path();
        const Key key{dir.lexically_normal().string(), kb::upperAscii(c->second)};
        auto [it, inserted] = index.try_emplace(key, result.bases.size());
        if (inserted) result.bases.push_back({dir, c->second, {}});
        auto& slot = result.bases[it->second].files[c->first];
        if (slot.empty() || file.filename() < slot.filename()) slot = file;
    }
};

}  // namespace

Discovery discover(const std::vector<std::string>& paths) {
    Collector c;
    for (const auto& p : paths) {
        std::error_code ec;
        const fs::path path(p);
        const auto status = fs::status(path, ec);
        if (ec || !fs::exists(status)) {
            c.result.unreadable.emplace_back(p, "no such file or folder");
            continue;
        }
        if (fs::is_regular_file(status)) {
            const auto k = classifyBaseFile(path.filename().string());
            if (!k) {
                c.result.unreadable.emplace_back(p, "not a base file (RU, MO, CO, AD, GR or SO *.AEB)");
                continue;
            }
            // A base file stands for its whole knowledge base.
            const fs::path dir = path.parent_path().empty() ? fs::path(".") : path.parent_path();
            std::vector<fs::path> siblings;
            for (const auto& e : fs::directory_iterator(dir, ec))
                if (e.is_regular_file(ec)) siblings.push_back(e.path());
            std::sort(siblings.begin(), siblings.end());
            for (const auto& s : siblings) {
                const auto o = classifyBaseFile(s.filename().string());
                if (o && kb::upperAscii(o->second) == kb::upperAscii(k->second)) c.add(s);
            }
            continue;
        }
        if (!fs::is_directory(status)) {
            c.result.unreadable.emplace_back(p, "neither a regular file nor a folder");
            continue;
        }
        std::vector<fs::path> files;
        fs::recursive_directory_iterator it(path, fs::directory_options::skip_permission_denied, ec), end;
        if (ec) {
            c.result.unreadable.emplace_back(p, ec.message());
            continue;
        }
        for (; it != end; it.increment(ec)) {
            if (ec) break;
            if (it->is_regular_file(ec)) files.push_back(it->path());
        }
        std::sort(files.begin(), files.end());
        for (const auto& f : files) c.add(f);
    }
    return std::move(c.result);
}

LineIndex::LineIndex(const fs::path& file) {
    auto text = kb::readWholeFile(file);
    if (!std::holds_alternative<std::string>(text)) return;
    kb::forEachLine(std::get<std::string>(text), [&](int number, std::string_view line) -> std::optional<kb::ReadError> {
        const auto open = line.find('(');
        if (open == std::string_view::npos) return std::nullopt;
        std::string record(line.substr(0, open));
        std::string_view rest = line.substr(open + 1);
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
        std::string key;
        if (!rest.empty() && rest.front() == '"') {
            for (std::size_t i = 1; i < rest.size() && rest[i] != '"'; ++i) {
                if (rest[i] == '\\' && i + 1 < rest.size()) ++i;
                key += rest[i];
            }
        } else {
            const auto end = rest.find_first_of(",)");
            key = std::string(rest.substr(0, end));
            while (!key.empty() && key.back() == ' ') key.pop_back();
        }
        lines_[{record, key}].push_back(number);
        return std::nullopt;
    });
}

int LineIndex::line(const std::string& record, const std::string& key) const {
    auto it = lines_.find({record, key});
    return it == lines_.end() ? 0 : it->second.front();
}

int LineIndex::lineOfAny(std::initializer_list<const char*> records, const std::string& key) const {
    int best = 0;
    for (const char* r : records)
        if (int l = line(r, key); l && (!best || l < best)) best = l;
    return best;
}

int LineIndex::firstLineWhere(std::initializer_list<const char*> records,
                              const std::function<bool(const std::string&)>& accepts) const {
    int best = 0;
    for (const char* r : records)
        for (auto it = lines_.lower_bound({r, ""}); it != lines_.end() && it->first.first == r; ++it)
            if (accepts(it->first.second) && (!best || it->second.front() < best)) best = it->second.front();
    return best;
}

int LineIndex::repeatedLine(std::initializer_list<const char*> records, const std::string& key) const {
    std::vector<int> all;
    for (const char* r : records)
        if (auto it = lines_.find({r, key}); it != lines_.end()) all.insert(all.end(), it->second.begin(), it->second.end());
    std::sort(all.begin(), all.end());
    return all.size() > 1 ? all[1] : (all.empty() ? 0 : all.front());
}

}  // namespace torv::lint
