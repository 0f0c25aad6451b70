// Report buffer writes.
#include "state/report_buffer.h"

#include <charconv>

namespace torv::reports {

// to_chars rather than printf: the desktop front end switches the C locale to
// the user's, which would turn 0.1 into "0,1" in reports.
std::string formatReal(double r) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, r, std::chars_format::general, 6);
    if (ec != std::errc{}) return "?";
    return std::string(buf, end);
}

void ReportBuffer::pisz(std::string_view s) {
    messages_.write(s);
    text_.append(s);
}

void ReportBuffer::piszint(std::int64_t i) { pisz(std::to_string(i)); }

void ReportBuffer::piszreal(double r) { pisz(formatReal(r)); }

void ReportBuffer::piszcr() { pisz("\n"); }

void ReportBuffer::lista_dla_raportu(const std::vector<std::string>& l) {
    for (const auto& s : l) text_.append(s);
}

}  // namespace torv::reports
