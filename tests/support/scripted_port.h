// ScriptedPort: the UserPort of the tests. It records every box it shows and
// answers from a queue; a box that takes input with no answer queued fails
// the test with the box's kind and title.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "port/text_port.h"

namespace torv::test {

class ScriptedPort : public port::TextPort {
public:
    /// Queues an answer, written as on the terminal ("yes", "2", a path, "end").
    ScriptedPort& then(std::string answer);
    /// Queues an answer that must go to a box with this exact title.
    ScriptedPort& then(std::string expectedTitle, std::string answer);
    /// Queues "end of input" for the next box: cancel / No / no choice.
    ScriptedPort& thenClose();
    /// Answers every box with this title for which no answer with that title
    /// is next in the queue: for boxes a test does not care about, such as
    /// the diagnosis offers of a rule-base load.
    ScriptedPort& always(std::string title, std::string answer);

    /// Every box shown so far, in order.
    const std::vector<port::Dialog>& calls() const { return calls_; }
    /// Titles of the boxes shown so far (kind "title" excluded).
    std::vector<std::string> titles() const;
    /// The boxes of one kind ("note", "yes/no", ...).
    std::vector<port::Dialog> ofKind(const std::string& kind) const;
    /// The last box of a kind; fails the test when there is none.
    port::Dialog last(const std::string& kind) const;
    /// Answers still queued (a test usually expects none left).
    std::size_t pending() const { return answers_.size(); }
    void clearCalls() { calls_.clear(); }

    /// One report of long work as the port received it.
    struct ProgressCall {
        std::string label;
        std::uint64_t done, total;
        bool operator==(const ProgressCall&) const = default;
    };
    /// Asks to stop work under this label at its `call`-th report (1 = first).
    void cancelProgress(std::string label, std::size_t call = 1) {
        cancelLabel_ = std::move(label);
        cancelAt_ = call;
        seen_ = 0;
    }
    const std::vector<ProgressCall>& progressCalls() const { return progress_; }
    bool progress(const std::string& label, std::uint64_t done, std::uint64_t total) override {
        progress_.push_back({label, done, total});
        if (label != cancelLabel_ || done >= total) return true;
        return ++seen_ < cancelAt_;
    }

protected:
    void present(const port::Dialog& d) override;
    std::optional<std::string> answer(const port::Dialog& d) override;

private:
    struct Queued {
        std::optional<std::string> title;
        std::optional<std::string> text;   // nullopt = close without answer
    };
    std::deque<Queued> answers_;
    std::map<std::string, std::string> standing_;
    std::vector<port::Dialog> calls_;
    std::vector<ProgressCall> progress_;
    std::string cancelLabel_;
    std::size_t cancelAt_ = 0;
    std::size_t seen_ = 0;
};

}  // namespace torv::test
