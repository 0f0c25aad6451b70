// Report files: writing the report table as text and reading it back.
#include "reports/report_file.h"

#include <algorithm>

#include "kb/file_io.h"
#include "kb/term_reader.h"

namespace torv::reports {

std::string tekst_pliku_raportu(std::string_view text) {
    std::string out(kRecordName);
    out += '(';
    out += kb::quoteString(text);
    out += ")\n";
    return out;
}

namespace {

const kb::RecordSchema kReportRecord{kRecordName, {kb::FieldType::String}};

ReportFileError syntax(const kb::ReadError& e) {
    return {ReportFileError::Kind::Syntax, e.line, static_cast<std::size_t>(std::max(e.position, 1)), e.lineText,
            e.message};
}

}  // namespace

std::variant<std::string, ReportFileError> czytaj_tekst_pliku_raportu(std::string_view fileText) {
    std::optional<std::string> first;
    auto err = kb::parseLines(fileText, {&kReportRecord, 1}, [&](kb::ParsedRecord& r, std::string_view) {
        if (!first) first = std::move(std::get<std::string>(r.fields[0]));
    });
    if (err) return syntax(*err);
    if (!first) return ReportFileError{ReportFileError::Kind::Syntax, 1, 1, {}, "The file holds no report"};
    return std::move(*first);
}

std::optional<std::string> zapisz_plik_raportu(const std::filesystem::path& file, std::string_view text) {
    auto saved = kb::saveFileAtomically(file, tekst_pliku_raportu(text));
    if (!saved.ok) return std::move(saved.error);
    return std::nullopt;
}

std::variant<std::string, ReportFileError> wczytaj_plik_raportu(const std::filesystem::path& file) {
    auto read = kb::readRegularFile(file, kMaxReportFileBytes);
    if (!read.ok()) return ReportFileError{ReportFileError::Kind::Unreadable, 0, 0, {}, std::move(read.error)};
    return czytaj_tekst_pliku_raportu(read.bytes);
}

}  // namespace torv::reports
