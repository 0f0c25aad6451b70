// Recording and replaying consultation test cases.
#include "lint/test_case.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <deque>
#include <map>
#include <set>

#include "kb/file_io.h"
#include "lint/knowledge_bases.h"
#include "lint/session.h"
#include "state/report_buffer.h"
#include "shell/shell.h"
#include "state/app_state.h"
#include "state/command_ids.h"

namespace torv::lint {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "torv_AE consultation test case 1";

/// A quoted string with \\ \" \n \r \t and \xNN for other control bytes.
std::string escaped(std::string_view s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char buf[5];
                std::snprintf(buf, sizeof buf, "\\x%02X", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

/// Reads a quoted string at the front of `s`, consuming it.
std::optional<std::string> unescaped(std::string_view& s) {
    if (s.empty() || s.front() != '"') return std::nullopt;
    std::string out;
    std::size_t i = 1;
    for (; i < s.size() && s[i] != '"'; ++i) {
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        if (++i >= s.size()) return std::nullopt;
        switch (s[i]) {
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'x': {
            if (i + 2 >= s.size()) return std::nullopt;
            unsigned v = 0;
            const auto r = std::from_chars(s.data() + i + 1, s.data() + i + 3, v, 16);
            if (r.ec != std::errc() || r.ptr != s.data() + i + 3) return std::nullopt;
            out += static_cast<char>(v);
            i += 2;
            break;
        }
        default: return std::nullopt;
        }
    }
    if (i >= s.size()) return std::nullopt;
    s.remove_prefix(i + 1);
    return out;
}

void skipSpaces(std::string_view& s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
}

std::optional<std::string> basePathOf(const AppState& app, std::size_t base) {
    const kb::Store& s = app.store;
    const std::optional<std::string>* paths[] = {&s.nazwa_re_pelna, &s.nazwa_mo_pelna, &s.nazwa_og_pelna,
                                                 &s.nazwa_ra_pelna, &s.nazwa_gr_pelna, &s.nazwa_me_pelna};
    const std::optional<std::string>* names[] = {&s.nazwa_re, &s.nazwa_mo, &s.nazwa_og,
                                                 &s.nazwa_ra, &s.nazwa_gr, &s.nazwa_me};
    if (!*names[base]) return std::nullopt;
    return *paths[base];
}

/// Boxes whose answers name files: never kept, never replayed.
bool namesAFile(const port::Dialog& d) { return d.kind == "open file" || d.kind == "save file"; }

}  // namespace

bool isChainingCommand(int command) {
    return command == shell::cmd::kForwardChaining || command == shell::cmd::kBackwardChaining;
}

std::string writeCase(const TestCase& c) {
    std::string out = std::string(kHeader) + "\n";
    for (const auto& [base, path] : c.bases) out += std::string("base ") + kPrefixes[base] + " " + escaped(path) + "\n";
    for (const auto& a : c.answers) {
        out += "answer " + escaped(a.kind) + " " + escaped(a.title) + " " + escaped(a.text) + " " + escaped(a.choices) + " ";
        out += a.answer ? "= " + escaped(*a.answer) : std::string("closed");
        out += "\n";
    }
    for (const auto& r : c.runs) {
        out += "run " + std::to_string(r.command) + "\n";
        for (const auto& k : r.conclusions) out += "conclusion " + escaped(k) + "\n";
    }
    return out;
}

std::variant<TestCase, std::string> readCase(std::string_view text) {
    TestCase c;
    int number = 0;
    auto fail = [&](const std::string& why) { return "line " + std::to_string(number) + ": " + why; };
    bool headerSeen = false;
    while (!text.empty()) {
        const auto nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!headerSeen) {
            if (line != kHeader) return fail("not a consultation test case");
            headerSeen = true;
            continue;
        }
        if (line.empty() || line.front() == '#') continue;
        const auto space = line.find(' ');
        const std::string_view word = line.substr(0, space);
        std::string_view rest = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
        if (word == "base") {
            const auto p = std::find_if(kPrefixes.begin(), kPrefixes.end(),
                                        [&](const char* x) { return rest.substr(0, 2) == x; });
            if (p == kPrefixes.end() || rest.size() < 3) return fail("unknown base");
            rest.remove_prefix(3);
            auto path = unescaped(rest);
            if (!path || !rest.empty()) return fail("a base needs a quoted path");
            c.bases.emplace_back(static_cast<std::size_t>(p - kPrefixes.begin()), *path);
        } else if (word == "answer") {
            RecordedAnswer a;
            for (std::string* field : {&a.kind, &a.title, &a.text, &a.choices}) {
                auto v = unescaped(rest);
                if (!v) return fail("an answer needs kind, title, text and choices, each quoted");
                *field = *v;
                skipSpaces(rest);
            }
            if (rest == "closed") {
                a.answer.reset();
            } else if (rest.substr(0, 2) == "= ") {
                rest.remove_prefix(2);
                a.answer = unescaped(rest);
                if (!a.answer || !rest.empty()) return fail("the answer must be quoted");
            } else {
                return fail("an answer ends with = \"...\" or closed");
            }
            c.answers.push_back(std::move(a));
        } else if (word == "run") {
            int id = 0;
            const auto r = std::from_chars(rest.data(), rest.data() + rest.size(), id);
            if (r.ec != std::errc() || r.ptr != rest.data() + rest.size() || !isChainingCommand(id))
                return fail("run names a chaining command by its id");
            c.runs.push_back({id, {}});
        } else if (word == "conclusion") {
            if (c.runs.empty()) return fail("a conclusion before any run");
            auto k = unescaped(rest);
            if (!k || !rest.empty()) return fail("the conclusion must be quoted");
            c.runs.back().conclusions.push_back(*k);
        } else {
            return fail("unknown line " + std::string(word));
        }
    }
    if (!headerSeen) return fail("empty file");
    for (auto& r : c.runs) {
        std::sort(r.conclusions.begin(), r.conclusions.end());
        r.conclusions.erase(std::unique(r.conclusions.begin(), r.conclusions.end()), r.conclusions.end());
    }
    return c;
}

std::vector<std::string> conclusionsOf(const AppState& app) {
    std::set<std::string> found;
    const auto& s = app.chaining;
    if (app.jakiewnioskowanie == ChainingKind::Backward) {
        found.insert(s.rbd_wstecz.begin(), s.rbd_wstecz.end());
    } else {
        for (const auto& r : s.rbd.records())
            if (r.numer != 0) found.insert(r.warunek);
    }
    // Numbers written in a model stand for themselves: no conclusion.
    for (const auto& z : s.zmienna_ustalona)
        if (!engine::czy_liczba(z.argument)) found.insert(z.argument + " = " + reports::formatReal(z.wartosc));
    return {found.begin(), found.end()};
}

bool endsChaining(const port::Dialog& d) {
    return d.kind == "note" && (d.title == "End of forward chaining" || d.title == "End of backward chaining");
}

namespace {
std::string choicesOf(const port::Dialog& d) {
    if (d.items.empty()) return {};
    std::string out = d.prompt;
    for (const auto& i : d.items) out += "\n" + i;
    return out;
}
}  // namespace

void CaseRecorder::observe(const port::Dialog& d, const std::optional<std::string>* answer) {
    if (!inRun_) return;
    if (endsChaining(d)) concluded_ = conclusionsOf(app_);
    if (!answer) {
        // An answer the box did not take is asked again: keep only the one taken.
        if (d.kind == "?" && !case_.answers.empty()) case_.answers.pop_back();
        return;
    }
    if (namesAFile(d)) return;
    case_.answers.push_back({d.kind, d.title, d.text, choicesOf(d), *answer});
}

void CaseRecorder::beforeCommand(int command, const AppState& app) {
    if (!isChainingCommand(command)) return;
    inRun_ = true;
    concluded_.reset();
    if (!case_.bases.empty()) return;
    const fs::path dir = fs::absolute(file_).parent_path();
    for (std::size_t b = 0; b < kPrefixes.size(); ++b)
        if (auto path = basePathOf(app, b)) {
            const fs::path rel = fs::path(*path).lexically_normal().lexically_relative(dir);
            case_.bases.emplace_back(b, rel.empty() ? *path : rel.generic_string());
        }
}

void CaseRecorder::afterCommand(int command, const AppState& app) {
    if (!isChainingCommand(command)) return;
    inRun_ = false;
    // A run that ended early (an "end" conclusion, a refusal) still stands as it is.
    case_.runs.push_back({command, concluded_ ? *concluded_ : conclusionsOf(app)});
}

std::string CaseRecorder::save() const {
    if (case_.runs.empty()) return "no chaining was run: nothing to record";
    std::error_code ec;
    // A case is never written over another one.
    if (fs::exists(fs::symlink_status(file_, ec))) return file_.string() + " exists already";
    const kb::FileResult r = kb::saveFileAtomically(file_, writeCase(case_));
    return r.ok ? std::string() : r.error;
}

bool ReplayResult::changed() const {
    if (!missingBases.empty()) return true;
    for (const auto& r : runs)
        if (r.refused || r.notTaken || !r.gained.empty() || !r.lost.empty() || !r.unanswered.empty()) return true;
    return false;
}

ReplayResult replay(const TestCase& c, const fs::path& caseDirectory) {
    ReplayResult result;
    Session session;
    session.port().setOffers(false);
    for (const auto& [base, path] : c.bases) {
        const fs::path p = fs::path(path).is_absolute() ? fs::path(path) : caseDirectory / path;
        std::error_code ec;
        if (!fs::is_regular_file(p, ec)) {
            result.missingBases.push_back(path);
            continue;
        }
        session.port().queueFile(fs::absolute(p).lexically_normal().string());
        if (!session.run(loadCommand(base), base)) session.port().dropQueuedFiles();
    }
    // Each box takes its recorded answers in the order given.
    using Key = std::tuple<std::string, std::string, std::string, std::string>;
    std::map<Key, std::deque<std::optional<std::string>>> answers;
    for (const auto& a : c.answers) answers[{a.kind, a.title, a.text, a.choices}].push_back(a.answer);

    for (const auto& run : c.runs) {
        RunDiff diff;
        diff.command = run.command;
        session.port().setAnswerer([&](const port::Dialog& d) -> std::optional<std::optional<std::string>> {
            if (namesAFile(d)) return std::optional<std::string>();
            auto it = answers.find({d.kind, d.title, d.text, choicesOf(d)});
            if (it == answers.end() || it->second.empty()) {
                diff.unanswered.push_back("[" + d.kind + "] " + d.title + ": " + d.text);
                return std::optional<std::string>();
            }
            auto a = it->second.front();
            it->second.pop_front();
            return a;
        });
        std::optional<std::vector<std::string>> concluded;
        session.port().setWatcher([&](const port::Dialog& d) {
            if (endsChaining(d)) concluded = conclusionsOf(session.app());
        });
        try {
            diff.refused = !session.run(run.command);
        } catch (const port::EndProgram&) {
            // A recorded "End" ends the run as it ended the consultation.
        } catch (const AnswerNotTaken& e) {
            diff.notTaken = e.what();
        }
        session.port().setAnswerer({});
        session.port().setWatcher({});
        const auto now = concluded ? *concluded : conclusionsOf(session.app());
        std::set_difference(now.begin(), now.end(), run.conclusions.begin(), run.conclusions.end(),
                            std::back_inserter(diff.gained));
        std::set_difference(run.conclusions.begin(), run.conclusions.end(), now.begin(), now.end(),
                            std::back_inserter(diff.lost));
        result.runs.push_back(std::move(diff));
    }
    return result;
}

}  // namespace torv::lint
