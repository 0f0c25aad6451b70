// ScriptedPort: records boxes and plays queued answers.
#include "support/scripted_port.h"

#include <gtest/gtest.h>

namespace torv::test {

ScriptedPort& ScriptedPort::then(std::string answer) {
    answers_.push_back({std::nullopt, std::move(answer)});
    return *this;
}

ScriptedPort& ScriptedPort::then(std::string expectedTitle, std::string answer) {
    answers_.push_back({std::move(expectedTitle), std::move(answer)});
    return *this;
}

ScriptedPort& ScriptedPort::thenClose() {
    answers_.push_back({std::nullopt, std::nullopt});
    return *this;
}

ScriptedPort& ScriptedPort::always(std::string title, std::string answer) {
    standing_[std::move(title)] = std::move(answer);
    return *this;
}

std::vector<std::string> ScriptedPort::titles() const {
    std::vector<std::string> out;
    for (const auto& c : calls_)
        if (c.kind != "title") out.push_back(c.title);
    return out;
}

std::vector<port::Dialog> ScriptedPort::ofKind(const std::string& kind) const {
    std::vector<port::Dialog> out;
    for (const auto& c : calls_)
        if (c.kind == kind) out.push_back(c);
    return out;
}

port::Dialog ScriptedPort::last(const std::string& kind) const {
    for (auto it = calls_.rbegin(); it != calls_.rend(); ++it)
        if (it->kind == kind) return *it;
    ADD_FAILURE() << "no box of kind '" << kind << "' was shown";
    return {};
}

void ScriptedPort::present(const port::Dialog& d) { calls_.push_back(d); }

std::optional<std::string> ScriptedPort::answer(const port::Dialog& d) {
    if (auto it = standing_.find(d.title); it != standing_.end())
        if (answers_.empty() || answers_.front().title != d.title) return it->second;
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected " << d.kind << " box '" << d.title << "': " << d.text;
        return std::nullopt;
    }
    Queued q = std::move(answers_.front());
    answers_.pop_front();
    if (q.title && *q.title != d.title)
        ADD_FAILURE() << "answer meant for '" << *q.title << "' went to " << d.kind << " box '" << d.title
                      << "'";
    return q.text;
}

}  // namespace torv::test
