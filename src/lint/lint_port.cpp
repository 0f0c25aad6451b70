// The unattended port: yes to offers, no to saving, queued paths to files.
#include "lint/lint_port.h"

#include <stdexcept>

namespace torv::lint {

void LintPort::present(const port::Dialog& d) {
    // An answer that was not taken would be asked again forever.
    if (d.kind == "?") throw AnswerNotTaken(d.title);
    if (watcher_) watcher_(d);
    shown_.push_back(d);
}

std::optional<std::string> LintPort::answer(const port::Dialog& d) {
    if (answerer_)
        if (auto a = answerer_(d)) return *a;
    if (d.kind == "open file") {
        if (files_.empty()) return std::nullopt;
        std::string path = std::move(files_.front());
        files_.pop_front();
        return path;
    }
    if (d.kind == "yes/no") return offersYes_ ? "yes" : "no";
    // Save offers ("ask"), save dialogs and picks: close without a choice.
    return std::nullopt;
}

}  // namespace torv::lint
