// The save offer, report inspection and report deleting.
#include "reports/report_commands.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <variant>

#include "reports/report_file.h"
#include "state/app_state.h"

namespace torv::reports {

namespace {

const char* const kAttentionError = "Attention error!";
const char* const kExceptionHandling = "Exception handling";

port::FileDialog pickReportDialog(const AppState& app, const char* title) {
    return {title, "*.rpt", {{"Report Files (*.rpt)", "*.rpt"}}, app.currentDir};
}

/// A piece of a faulty line around the error, fit for a note: a report is
/// one line and may be megabytes long, and garbage may hold control bytes.
struct Excerpt {
    std::string text;
    std::size_t caret;   // 0-based column of the error within `text`
};

Excerpt excerpt(const std::string& line, std::size_t position) {
    constexpr std::size_t kBefore = 40;
    constexpr std::size_t kAfter = 30;
    auto continuation = [&](std::size_t i) {
        return i < line.size() && (static_cast<unsigned char>(line[i]) & 0xC0) == 0x80;
    };
    const std::size_t at = std::min(position ? position - 1 : 0, line.size());
    std::size_t from = at > kBefore ? at - kBefore : 0;
    while (from > 0 && from < at && continuation(from)) ++from;   // do not split a UTF-8 letter
    std::size_t to = std::min(line.size(), at + kAfter);
    while (continuation(to)) ++to;
    Excerpt e{from > 0 ? "..." : "", 0};
    e.caret = e.text.size() + (at - from);
    for (std::size_t i = from; i < to; ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        e.text.push_back(c < 0x20 || c == 0x7F ? '?' : line[i]);
    }
    if (to < line.size()) e.text.append("...");
    return e;
}

void reportReadError(AppState& app, const std::filesystem::path& file, const ReportFileError& e) {
    const std::string name = file.filename().string();
    if (e.kind == ReportFileError::Kind::Unreadable) {
        app.messages.write(e.message + "\n\n");
        app.port.note(kExceptionHandling, "Report " + name + " could not be read.\n" + e.message);
        return;
    }
    const Excerpt x = excerpt(e.lineText, e.position);
    const std::string spaces(x.caret, ' ');
    const std::string why =
        e.message + " (line " + std::to_string(e.line) + ", position " + std::to_string(e.position) + ")";
    app.messages.write("Syntax error in file " + file.string() + "\n" + x.text + "\n" + spaces + "^\n" + why +
                       "\n\n");
    app.port.note(kExceptionHandling,
                  "Syntax error in file " + name + "\n\n" + x.text + "\n" + spaces + "^\n" + why);
}

}  // namespace

void raport(AppState& app) {
    app.messages.write(" Do you wish to save the report?  ");
    if (app.port.ask("Report of chaining/diagnosing", "Do you wish to save the report?", {"&Yes", "&No"}) != 1)
        return;
    app.messages.write(" Declare name of report (*.RPT): ");
    const std::string chosen = app.port.saveFile(
        {"Saving Report File", "*.RPT", {{"Report Files (*.RPT)", "*.RPT"}}, app.currentDir});
    if (chosen.empty()) return;
    const std::filesystem::path file = app.resolve(chosen);
    const std::string name = file.filename().string();
    if (auto failure = zapisz_plik_raportu(file, app.report.tekst_raportu())) {
        app.messages.write("\n Report " + file.string() + " has not been saved: " + *failure + "\n");
        app.messages.write("\n\n");
        app.port.note(kAttentionError, "Report " + name + " has not been saved.\n" + *failure);
        return;
    }
    app.messages.write("\n Report " + file.string() + " has been saved.\n");
    app.messages.write("\n\n");
    app.port.note(port::titles::kAttention, "Report " + name + "  has been saved.");
}

void przeglad_raportu(AppState& app) {
    const std::string chosen = app.port.openFile(pickReportDialog(app, "Pick Report to be Inspected! "));
    if (chosen.empty()) return;
    const std::filesystem::path file = app.resolve(chosen);
    auto read = wczytaj_plik_raportu(file);
    if (auto* e = std::get_if<ReportFileError>(&read)) {
        reportReadError(app, file, *e);
        return;
    }
    app.report.replace(std::move(std::get<std::string>(read)));
    app.port.textView("Inspection", app.report.tekst_raportu());
}

void usuwanie_raportu(AppState& app) {
    const std::string chosen = app.port.openFile(pickReportDialog(app, "Pick Report to be Deleted! "));
    if (chosen.empty()) return;
    const std::filesystem::path file = app.resolve(chosen);
    const std::string name = file.filename().string();
    if (app.port.ask("Deleting report", "Do you really wish to delete the report  " + name + " ?",
                     {"Yes", "No"}) != 1)
        return;
    std::error_code ec;
    // remove() would also take an empty directory typed in place of a file.
    const bool isDirectory = std::filesystem::is_directory(file, ec);
    const bool removed = !isDirectory && std::filesystem::remove(file, ec);
    if (!removed) {
        const std::string why = isDirectory ? "it is a directory" : ec ? ec.message() : "no such file";
        app.messages.write("Report " + file.string() + " has not been deleted: " + why + "\n\n");
        app.port.note(kAttentionError, "Report " + name + " has not been deleted!\n" + why);
        return;
    }
    app.port.note(port::titles::kAttention, "Report " + name + " has been deleted!");
}

}  // namespace torv::reports
