// The report reader on any text; a report read back after writing is the
// report written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include "reports/report_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace torv::reports;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto read = czytaj_tekst_pliku_raportu(text);
    if (const auto* s = std::get_if<std::string>(&read)) {
        auto again = czytaj_tekst_pliku_raportu(tekst_pliku_raportu(*s));
        if (std::get_if<std::string>(&again) == nullptr || std::get<std::string>(again) != *s) std::abort();
    }
    auto back = czytaj_tekst_pliku_raportu(tekst_pliku_raportu(text));
    if (std::get_if<std::string>(&back) == nullptr || std::get<std::string>(back) != text) std::abort();
    return 0;
}
