// Report files: writing the report table as text and reading it back.
#include "reports/report_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace torv::reports {

std::string tekst_pliku_raportu(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16 + kRecordName.size() + 5);
    out.append(kRecordName);
    out.append("(\"");
    for (char c : text) {
        switch (c) {
        case '\n': out.append("\\n"); break;
        case '\r': out.append("\\r"); break;
        case '"': out.append("\\\""); break;
        case '\\': out.append("\\\\"); break;
        default: out.push_back(c);
        }
    }
    out.append("\")\n");
    return out;
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

ReportFileError syntax(int line, std::string_view lineText, std::size_t index, std::string message) {
    return {ReportFileError::Kind::Syntax, line, index + 1, std::string(lineText), std::move(message)};
}

/// One line (without its line break) as a report record.
std::variant<std::string, ReportFileError> parseLine(int lineNo, std::string_view l) {
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < l.size() && isBlank(l[i])) ++i;
    };
    if (l.empty()) return syntax(lineNo, l, 0, "empty line: a report record was expected");
    skipBlanks();
    if (l.substr(i, kRecordName.size()) != kRecordName)
        return syntax(lineNo, l, i, "expected the record name tekst_raportu");
    i += kRecordName.size();
    skipBlanks();
    if (i >= l.size() || l[i] != '(') return syntax(lineNo, l, i, "expected \"(\" after tekst_raportu");
    ++i;
    skipBlanks();
    if (i >= l.size() || l[i] != '"') return syntax(lineNo, l, i, "expected a string in double quotes");
    const std::size_t open = i++;
    std::string text;
    bool closed = false;
    while (i < l.size()) {
        const std::size_t runEnd = l.find_first_of("\"\\", i);
        if (runEnd == std::string_view::npos) break;
        text.append(l.substr(i, runEnd - i));
        i = runEnd;
        if (l[i] == '"') {
            closed = true;
            ++i;
            break;
        }
        if (i + 1 >= l.size()) break;   // a backslash at the end: the quote is missing
        switch (l[i + 1]) {
        case 'n': text.push_back('\n'); break;
        case 'r': text.push_back('\r'); break;
        case 't': text.push_back('\t'); break;
        case '"': text.push_back('"'); break;
        case '\'': text.push_back('\''); break;
        case '\\': text.push_back('\\'); break;
        default: return syntax(lineNo, l, i, "unknown escape sequence in the string");
        }
        i += 2;
    }
    if (!closed) return syntax(lineNo, l, open, "the string is not closed: closing double quote missing");
    skipBlanks();
    if (i >= l.size() || l[i] != ')') return syntax(lineNo, l, i, "expected \")\" after the string");
    ++i;
    skipBlanks();
    if (i < l.size()) return syntax(lineNo, l, i, "unexpected text after the record");
    return text;
}

std::string describeErrno(int err) { return err ? std::strerror(err) : "unknown error"; }

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

std::variant<std::string, ReportFileError> czytaj_tekst_pliku_raportu(std::string_view fileText) {
    if (fileText.empty()) return syntax(1, "", 0, "the file holds no report record");
    std::optional<std::string> first;
    std::size_t pos = 0;
    int lineNo = 1;
    while (pos < fileText.size()) {
        const std::size_t lf = fileText.find('\n', pos);
        const std::size_t end = lf == std::string_view::npos ? fileText.size() : lf;
        std::string_view line = fileText.substr(pos, end - pos);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        auto r = parseLine(lineNo, line);
        if (auto* e = std::get_if<ReportFileError>(&r)) return std::move(*e);
        if (!first) first = std::move(std::get<std::string>(r));
        pos = lf == std::string_view::npos ? fileText.size() : lf + 1;
        ++lineNo;
    }
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
