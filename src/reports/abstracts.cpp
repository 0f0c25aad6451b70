// The abstract shown before a run.
#include "reports/abstracts.h"

#include <fstream>
#include <sstream>

#include "kb/paths.h"
#include "state/app_state.h"

namespace torv::reports {

void czytaj_opis(AppState& app) {
    if (!app.verdicts.opis || app.verdicts.opis->empty()) return;
    const auto written = kb::platformPath(app.currentDir, *app.verdicts.opis).lexically_normal();
    const auto file = kb::findFileNoCase(written.parent_path(), written.filename().string());
    if (!file) return;
    std::ifstream in(*file, std::ios::binary);
    if (!in) return;
    std::ostringstream text;
    text << in.rdbuf();
    app.port.showAbstract("Inspecting the abstract " + kb::upperAscii(file->stem().string()), text.str());
}

}  // namespace torv::reports
