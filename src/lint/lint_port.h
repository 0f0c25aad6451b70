// LintPort: the port of the unattended runs (lint, graph, test cases). It
// answers every offer yes, declines saving, and hands the file dialogs the
// paths queued for them; every box it shows is kept for the caller.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "port/text_port.h"

namespace torv::lint {

/// A box refused the answer given (a replayed answer the base no longer takes).
struct AnswerNotTaken : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class LintPort : public port::TextPort {
public:
    /// The answer of the next open-file dialog.
    void queueFile(std::string path) { files_.push_back(std::move(path)); }
    void dropQueuedFiles() { files_.clear(); }
    /// Answers chosen by the caller: the outer nullopt leaves the box to
    /// the defaults, an inner nullopt closes it without an answer.
    using Answerer = std::function<std::optional<std::optional<std::string>>(const port::Dialog&)>;
    void setAnswerer(Answerer f) { answerer_ = std::move(f); }
    /// Whether offers are answered yes (the lint) or no (a replay, as a
    /// routine consultation declines the load-time tests).
    void setOffers(bool yes) { offersYes_ = yes; }
    /// Told every box as it is shown.
    void setWatcher(std::function<void(const port::Dialog&)> f) { watcher_ = std::move(f); }

    const std::vector<port::Dialog>& shown() const { return shown_; }
    void clearShown() { shown_.clear(); }

protected:
    void present(const port::Dialog& d) override;
    std::optional<std::string> answer(const port::Dialog& d) override;

private:
    std::deque<std::string> files_;
    std::vector<port::Dialog> shown_;
    Answerer answerer_;
    std::function<void(const port::Dialog&)> watcher_;
    bool offersYes_ = true;
};

}  // namespace torv::lint
