// Report files (*.RPT): the report table written as text, one line
// `tekst_raportu("...")`, and read back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace torv::reports {

/// The record name of the report table.
inline constexpr std::string_view kRecordName = "tekst_raportu";

/// Reports larger than this are refused on reading: no run writes one, and
/// a stray huge file must not exhaust memory.
inline constexpr std::uintmax_t kMaxReportFileBytes = 256u * 1024u * 1024u;

/// Why a report file could not be read, and where.
struct ReportFileError {
    enum class Kind {
        Syntax,      // not the text form of the report table; has a place
        Unreadable,  // cannot be opened or read, or too large
    };
    Kind kind = Kind::Syntax;
    int line = 0;            // 1-based; 0 for Unreadable
    std::size_t position = 0;  // 1-based byte position within the line
    std::string lineText;    // the faulty line as read (may be long)
    std::string message;     // what is wrong, in words
};

/// The text form of the report table: `tekst_raportu("...")` and a line
/// break. Line feed, carriage return, double quote and backslash are escaped;
/// every other byte is kept as it is.
std::string tekst_pliku_raportu(std::string_view text);

/// Parses the text form back. Record lines end with LF or CRLF (the last may
/// end the file without one); several records may follow one another, the
/// text of the first is returned. An empty file has no record and is an error.
std::variant<std::string, ReportFileError> czytaj_tekst_pliku_raportu(std::string_view fileText);

/// Writes the report file; nullopt on success, otherwise what failed.
std::optional<std::string> zapisz_plik_raportu(const std::filesystem::path& file, std::string_view text);

/// Reads a report file and returns its text.
std::variant<std::string, ReportFileError> wczytaj_plik_raportu(const std::filesystem::path& file);

}  // namespace torv::reports
