// Chaining summaries.
#include "reports/summaries.h"

#include <filesystem>
#include <system_error>

#include "kb/file_io.h"
#include "state/app_state.h"
#include "state/chaining_state.h"

namespace torv::reports {

namespace fs = std::filesystem;

namespace {

const char* const kAttentionError = "Attention error!";
const std::vector<std::string> kYesNo{"&YES", "&NO"};

port::FileDialog pickSummaryDialog(const AppState& app, const char* title) {
    return {title, "*.txt", {{"Summary:(*.txt)", "*.txt"}}, app.currentDir};
}

bool isLiteral(const engine::ZmiennaUstalona& z) { return z.argument == formatReal(z.wartosc); }

void fileFault(AppState& app, const fs::path& file, const std::string& what, const std::string& why) {
    app.messages.write("Summary " + file.string() + " has not been " + what + ": " + why + "\n\n");
    app.port.note(kAttentionError, "Summary " + file.filename().string() + " has not been " + what + "!\n" + why);
}

}  // namespace

std::string tekst_podsumowania(const engine::ChainingState& s) {
    std::string out = "Labels of summary: \n";
    for (const auto& e : s.etykieta) out += "    " + e + "\n";
    out += "Chaining summary: facts\n";
    for (const auto& r : s.rbd.records())
        if (r.warunek != "No condition") out += "    " + r.warunek + "\n";
    out += "Chaining summary: argument values\n";
    for (const auto& z : s.zmienna_ustalona)
        if (!isLiteral(z)) out += "    " + z.argument + " = " + formatReal(z.wartosc) + "\n";
    return out;
}

void podsumowanie(AppState& app) {
    if (app.port.ask("Chaining summary", "Save the chaining summary?", kYesNo) != 1) return;
    fs::path file;
    bool replacing = false;
    while (true) {
        // The summary asks its own question about an existing file.
        const std::string chosen = app.port.saveFile(
            {"Declare name of new summary file", "*.txt", {{"Summary (*.txt)", "*.txt"}}, app.currentDir, false});
        if (chosen.empty()) return;
        file = app.resolve(chosen);
        std::error_code ec;
        if (!fs::exists(file, ec)) break;
        app.messages.write("\n");
        if (app.port.ask("Summary",
                         "A summary with proposed name " + file.filename().string() + "already exists!" +
                             "\nDo you wish to overwrite it?",
                         kYesNo) != 1)
            continue;
        replacing = true;
        break;
    }
    // The old summary goes only when the new one is complete on disk.
    const kb::FileResult saved = kb::saveFileAtomically(file, tekst_podsumowania(app.chaining));
    if (!saved.ok) {
        fileFault(app, file, "saved", saved.error);
        return;
    }
    const std::string name = file.filename().string();
    if (replacing) app.port.note("", "The existing summary  " + name + "\nhas been deleted!");
    const std::string text = " Summary " + name + " has been saved.";
    app.messages.write(text + "\n");
    app.port.note("Summary", text);
}

void czytanie_podsumowania(AppState& app) {
    const std::string chosen = app.port.openFile(pickSummaryDialog(app, "Summary Report to be inspected"));
    if (chosen.empty()) return;
    const fs::path file = app.resolve(chosen);
    kb::ReadResult read = kb::readRegularFile(file, kb::kMaxTextFileBytes);
    if (!read.ok()) {
        fileFault(app, file, "read", read.error);
        return;
    }
    app.port.textView("Summary Report to be inspected: " + file.filename().string(), read.bytes);
}

void usuwanie_podsumowania(AppState& app) {
    const std::string chosen = app.port.openFile(pickSummaryDialog(app, "Pick the summary to be deleted! "));
    if (chosen.empty()) return;
    const fs::path file = app.resolve(chosen);
    const std::string name = file.filename().string();
    if (app.port.ask("Deleting the Summary Report ",
                     "Do you really wish to delete the Summary Report " + name + " ?", {"Yes", "No"}) != 1)
        return;
    std::error_code ec;
    const bool isDirectory = fs::is_directory(file, ec);
    if (isDirectory || !fs::remove(file, ec)) {
        fileFault(app, file, "deleted", isDirectory ? "it is a directory" : ec ? ec.message() : "no such file");
        return;
    }
    app.port.note(port::titles::kAttention, "The Summary Report  " + name + " has been deleted.");
}

}  // namespace torv::reports
