// Report files: writing the report table as text and reading it back.
#include "reports/report_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

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

std::string describeErrno(int err) { return err ? std::strerror(err) : "unknown error"; }

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

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
    const std::string content = tekst_pliku_raportu(text);
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(file.c_str(), "wb"));
    if (!f) return "cannot create " + file.string() + ": " + describeErrno(errno);
    errno = 0;
    if (std::fwrite(content.data(), 1, content.size(), f.get()) != content.size() || std::fflush(f.get()) != 0)
        return "cannot write " + file.string() + ": " + describeErrno(errno);
    errno = 0;
    if (std::fclose(f.release()) != 0) return "cannot write " + file.string() + ": " + describeErrno(errno);
    return std::nullopt;
}

std::variant<std::string, ReportFileError> wczytaj_plik_raportu(const std::filesystem::path& file) {
    auto unreadable = [&](std::string why) {
        return ReportFileError{ReportFileError::Kind::Unreadable, 0, 0, {},
                               "cannot read " + file.string() + ": " + std::move(why)};
    };
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) return unreadable("it is a directory");
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(file.c_str(), "rb"));
    if (!f) return unreadable(describeErrno(errno));
    const auto size = std::filesystem::file_size(file, ec);
    if (!ec && size > kMaxReportFileBytes)
        return unreadable("the file is too large for a report (" + std::to_string(size) + " bytes)");
    std::string content;
    if (!ec) content.reserve(static_cast<std::size_t>(size));
    char buf[1 << 16];
    while (true) {
        const std::size_t n = std::fread(buf, 1, sizeof buf, f.get());
        content.append(buf, n);
        if (content.size() > kMaxReportFileBytes)
            return unreadable("the file is too large for a report");
        if (n < sizeof buf) break;
    }
    if (std::ferror(f.get())) return unreadable(describeErrno(errno));
    return czytaj_tekst_pliku_raportu(content);
}

}  // namespace torv::reports
