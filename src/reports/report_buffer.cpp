// Report buffer writes.
#include "reports/report_buffer.h"

#include <cstdio>

namespace torv::reports {

std::string formatReal(double r) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", r);
    return buf;
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
