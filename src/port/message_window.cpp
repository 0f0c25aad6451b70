// The message window's line buffer.
#include "port/message_window.h"

namespace torv::port {

void MessageWindow::write(std::string_view text) {
    if (text.empty()) return;
    if (lines_.empty()) lines_.emplace_back();
    std::size_t start = 0;
    while (true) {
        std::size_t nl = text.find('\n', start);
        lines_.back().append(text.substr(start, nl == std::string_view::npos ? nl : nl - start));
        if (nl == std::string_view::npos) break;
        lines_.emplace_back();
        start = nl + 1;
    }
    // The open last line counts once it has text; keep `capacity_` lines.
    while (lines_.size() > capacity_ + (lines_.back().empty() ? 1 : 0)) lines_.pop_front();
    if (listener_.written) listener_.written(text);
}

void MessageWindow::clear() {
    lines_.clear();
    if (listener_.cleared) listener_.cleared();
}

void MessageWindow::recreate() { clear(); }

std::string MessageWindow::text() const {
    std::string out;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i) out += '\n';
        out += lines_[i];
    }
    return out;
}

}  // namespace torv::port
