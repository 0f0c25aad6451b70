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

}  // namespace torv::reports
