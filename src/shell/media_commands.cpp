// Inspection of the advice, graphics and sound bases and of their files.
#include "shell/media_commands.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "kb/file_io.h"
#include "kb/media.h"
#include "kb/paths.h"
#include "shell/base_views.h"
#include "state/app_state.h"

namespace torv::shell {

namespace {

namespace fs = std::filesystem;
using MediaKind = port::UserPort::MediaKind;

constexpr const char* kAttention = "Attention!";
constexpr const char* kAttentionError = "Attention error!";

/// The file names of the records, each once, in record order.
void addDistinct(std::vector<std::string>& out, const std::vector<kb::MediaRecord>& records) {
    const std::size_t from = out.size();
    for (const auto& r : records)
        if (std::find(out.begin() + static_cast<std::ptrdiff_t>(from), out.end(), r.plik) == out.end())
            out.push_back(r.plik);
}

/// Says that no base of this kind is loaded, in the message window (when
/// there is a line for it) and in a note.
void noBase(AppState& app, const char* line, const char* note) {
    if (line) app.messages.write(std::string(line) + "\n");
    app.port.note(kAttention, note);
}

/// The base file as text in the text view under `title`.
void showBaseFile(AppState& app, const std::optional<std::string>& path, const std::string& title,
                  const char* what) {
    const fs::path file = path.value_or("");
    if (auto text = readForInspection(app, file, std::string(what) + " " + file.filename().string()))
        app.port.textView(title, *text);
}

/// True when `path` is a file to show or play; otherwise says so, naming
/// `what` ("The graphics file pests.bmp").
bool usable(AppState& app, const std::string& what, const fs::path& path) {
    std::error_code ec;
    if (fs::is_regular_file(path, ec)) return true;
    const std::string why = fs::exists(path, ec) ? "it is not a regular file" : "there is no such file";
    app.messages.write(what + " cannot be opened: " + why + "\n\n");
    app.port.note(kAttentionError, what + " cannot be opened!\n" + why);
    return false;
}

/// What a note calls a media file of this kind.
std::string described(MediaKind kind, const std::string& name) {
    switch (kind) {
    case MediaKind::Advice: return "The advice file " + name;
    case MediaKind::Graphics: return "The graphics file " + name;
    case MediaKind::Sound: return "The sound file " + name;
    }
    return name;
}

/// The full name of a media file named in a record, or nullopt after a note
/// when the file is not there to be used.
std::optional<fs::path> mediaFile(AppState& app, MediaKind kind, const std::string& name) {
    // Loading refuses such names; a store filled some other way must not
    // reach outside the media folder either.
    if (const auto why = kb::mediaNameFault(name)) {
        app.messages.write(described(kind, name) + " is refused: " + *why + "\n\n");
        app.port.note(kAttentionError, described(kind, name) + " is refused!\n" + *why);
        return std::nullopt;
    }
    fs::path path;
    switch (kind) {
    case MediaKind::Advice: path = kb::nazwa_pelna_rady(app.store, app.currentDir, name); break;
    case MediaKind::Graphics: path = kb::nazwa_pelna_grafiki(app.store, app.currentDir, name); break;
    case MediaKind::Sound: path = kb::nazwa_pelna_melodii(app.store, app.currentDir, name); break;
    }
    if (!usable(app, described(kind, name), path)) return std::nullopt;
    return path;
}

std::string browse(AppState& app, const char* title, const char* mask, const char* label,
                   const char* mediaFolder) {
    const std::string chosen = app.port.openFile({title, mask, {{label, mask}}, mediaDialogStart(app, mediaFolder)});
    return chosen.empty() ? chosen : app.resolve(chosen).string();
}

struct Picked {
    std::string name;
    fs::path path;
};

/// The file the user picks from a media base's `files`, found in its media
/// folder; nullopt after a note when there is none to pick, or nothing was
/// picked or found. The two texts say that the base names no file.
std::optional<Picked> pickMediaFile(AppState& app, MediaKind kind, const std::string& baseName,
                                    const std::vector<std::string>& files, const std::string& noneLine,
                                    const std::string& noneNote) {
    if (files.empty()) {
        app.messages.write(noneLine + "\n");
        app.port.note(kAttention, noneNote);
        return std::nullopt;
    }
    const auto chosen = app.port.pickMediaFile(kind, baseName, files);
    if (!chosen) return std::nullopt;
    const auto path = mediaFile(app, kind, *chosen);
    if (!path) return std::nullopt;
    return Picked{*chosen, *path};
}

}  // namespace

void dzialanie_w_bazie_rad(AppState& app, AdviceBaseAction action) {
    const kb::Store& s = app.store;
    const auto& base = s.adviceBase();
    if (!s.nazwa_ra) {
        noBase(app, " No Advice Base for inspection.", "No Advice Base for inspection!");
        return;
    }
    const std::string& name = *s.nazwa_ra;
    switch (action) {
    case AdviceBaseAction::InspectBase:
        if (sprawdz_istnienie_rad(app, base.advice.size()))
            showBaseFile(app, s.nazwa_ra_pelna, "Inspection of Advice Base: " + name, "The advice base");
        return;
    case AdviceBaseAction::InspectFile: {
        std::vector<std::string> files;
        addDistinct(files, base.advice);
        // A name used by both kinds is listed in both parts.
        std::vector<std::string> negated;
        addDistinct(negated, base.nadvice);
        files.insert(files.end(), negated.begin(), negated.end());
        const auto picked = pickMediaFile(app, MediaKind::Advice, name, files,
                                          "No Text File for Advice Base " + name + ".",
                                          "No Text File for Advice Base  " + name + ".");
        if (!picked) return;
        if (auto text = readForInspection(app, picked->path, described(MediaKind::Advice, picked->name)))
            app.port.showAdvice("Expert advice:", *text);
        return;
    }
    }
}

void dzialanie_w_bazie_grafiki(AppState& app, MediaBaseAction action) {
    const kb::Store& s = app.store;
    switch (action) {
    case MediaBaseAction::InspectBase:
        if (!s.nazwa_gr) return noBase(app, " No graphics file for inspection!", "No graphics file for inspection!");
        if (sprawdz_istnienie_grafiki(app, s.graphicsBase().graphics.size()))
            showBaseFile(app, s.nazwa_gr_pelna, "Inspecting graphics file  " + *s.nazwa_gr, "The graphics base");
        return;
    case MediaBaseAction::InspectFile: {
        if (!s.nazwa_gr) return noBase(app, nullptr, "Please load a graphics base!");
        const std::string& name = *s.nazwa_gr;
        std::vector<std::string> files;
        addDistinct(files, s.graphicsBase().graphics);
        if (const auto picked = pickMediaFile(app, MediaKind::Graphics, name, files,
                                              "No graphics file for inspection from " + name + ".",
                                              "No graphics file for inspection from  " + name + "."))
            app.port.showGraphics(picked->path);
        return;
    }
    }
}

void dzialanie_w_bazie_melodii(AppState& app, MediaBaseAction action) {
    const kb::Store& s = app.store;
    switch (action) {
    case MediaBaseAction::InspectBase:
        if (!s.nazwa_me) return noBase(app, " No Sound Base for inspection", "No Sound Base for inspection");
        if (sprawdz_istnienie_dzwieku(app, s.soundBase().sounds.size()))
            showBaseFile(app, s.nazwa_me_pelna, "Sound Base loading " + *s.nazwa_me, "The sound base");
        return;
    case MediaBaseAction::InspectFile: {
        if (!s.nazwa_me) return noBase(app, nullptr, "Load a  Sound Base!");
        const std::string& name = *s.nazwa_me;
        std::vector<std::string> files;
        addDistinct(files, s.soundBase().sounds);
        if (const auto picked = pickMediaFile(app, MediaKind::Sound, name, files, "No Sound Files for " + name + ".",
                                              "No Sound Files for " + name + "."))
            app.port.playSound(picked->path);
        return;
    }
    }
}

fs::path mediaDialogStart(const AppState& app, const char* mediaFolder) {
    std::error_code ec;
    const fs::path folder = kb::platformPath(app.currentDir, mediaFolder).lexically_normal();
    if (app.store.wyroznik) {
        const fs::path own = folder / *app.store.wyroznik;
        if (fs::is_directory(own, ec)) return own;
    }
    if (fs::is_directory(folder, ec)) return folder;
    return app.currentDir;
}

void browseAdviceFiles(AppState& app) {
    const std::string file = browse(app, "Inspection of advice files subdirectories and  files", "*.hlp",
                                    "Advice Text Files (*.hlp)", "../ADVICES/");
    if (file.empty()) return;
    const std::string name = fs::path(file).filename().string();
    if (auto text = readForInspection(app, file, described(MediaKind::Advice, name)))
        app.port.showAdvice(name, *text);
}

void browseGraphicsFiles(AppState& app) {
    const std::string file = browse(app, "Inspecting Graphic File subdirectories or Graphic Files: ", "*.bmp",
                                    "Graphics Files (*.bmp)", "../GRAPHICS/");
    if (file.empty()) return;
    if (usable(app, described(MediaKind::Graphics, fs::path(file).filename().string()), file))
        app.port.showGraphics(file);
}

void browseSoundFiles(AppState& app) {
    const std::string file = browse(app, "Inspecting Sound File sudirectories or listening to  Melody Files: ",
                                    "*.wav", "Sound Files (*.wav)", "../SOUNDS/");
    if (file.empty()) return;
    if (usable(app, described(MediaKind::Sound, fs::path(file).filename().string()), file))
        app.port.playSound(file);
}

}  // namespace torv::shell
