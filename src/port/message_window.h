// The message window: a scrolling pane of progress lines that keeps the last
// 100 lines. Front ends watch it; the core only writes to it.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

namespace torv::port {

class MessageWindow {
public:
    static constexpr std::size_t kCapacity = 100;

    /// Front ends listen here: every write as written, every clear.
    struct Listener {
        std::function<void(std::string_view)> written;
        std::function<void()> cleared;
    };

    explicit MessageWindow(std::size_t capacity = kCapacity) : capacity_(capacity) {}

    /// Appends text; line breaks inside start new lines.
    void write(std::string_view text);
    /// Empties the pane ("clear the message window").
    void clear();
    /// Closes the window and creates it again, empty ("Message Window Creating").
    void recreate();

    /// Complete lines plus the unfinished last line, oldest first.
    const std::deque<std::string>& lines() const { return lines_; }
    /// The whole visible text, lines joined with "\n".
    std::string text() const;

    void setListener(Listener l) { listener_ = std::move(l); }

private:
    std::size_t capacity_;
    std::deque<std::string> lines_;   // last element is the line being written
    Listener listener_;
};

}  // namespace torv::port
