// The abstract shown before a run.
#include "reports/abstracts.h"

#include "kb/file_io.h"
#include "kb/paths.h"
#include "state/app_state.h"

namespace torv::reports {

void czytaj_opis(AppState& app) {
    if (!app.verdicts.opis || app.verdicts.opis->empty()) return;
    const auto written = kb::platformPath(app.currentDir, *app.verdicts.opis).lexically_normal();
    const auto file = kb::findFileNoCase(written.parent_path(), written.filename().string());
    if (!file) return;
    kb::ReadResult read = kb::readRegularFile(*file, kb::kMaxTextFileBytes);
    if (read.fault == kb::ReadResult::Fault::Missing) return;
    if (!read.ok()) {
        app.messages.write("The abstract has not been read: " + read.error + "\n\n");
        app.port.note("Attention error!", "The abstract has not been read!\n" + read.error);
        return;
    }
    app.port.showAbstract("Inspecting the abstract " + kb::upperAscii(file->stem().string()), read.bytes);
}

void przeglad_opisu(AppState& app) {
    const std::string chosen = app.port.openFile(
        {"Pick Abstract File for Inspection", "*.abs", {{"Abstract Files (*.abs)", "*.abs"}}, app.currentDir});
    if (chosen.empty()) return;
    const auto file = app.resolve(chosen);
    const std::string name = file.filename().string();
    kb::ReadResult read = kb::readRegularFile(file, kb::kMaxTextFileBytes);
    if (!read.ok()) {
        const std::string why = read.fault == kb::ReadResult::Fault::Missing ? "there is no such file" : read.error;
        app.messages.write("The abstract " + name + " has not been read: " + why + "\n\n");
        app.port.note("Attention error!", "The abstract " + name + " has not been read!\n" + why);
        return;
    }
    app.port.textView("Inspecting  Abstract Text File : " + name, read.bytes);
}

}  // namespace torv::reports
