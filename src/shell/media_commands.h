// The commands of the advice, graphics and sound bases: inspecting each base
// file, picking one of its media files to read, see or hear, and browsing
// the media folders.
#pragma once

#include <filesystem>

namespace torv { struct AppState; }

namespace torv::shell {

/// dzialanie_w_bazie_rad: 1 shows the advice-base file, 5 picks an advice
/// text file of the base and shows it in the advice reader.
enum class AdviceBaseAction { InspectBase = 1, InspectFile = 5 };
void dzialanie_w_bazie_rad(AppState& app, AdviceBaseAction action);

/// dzialanie_w_bazie_grafiki / dzialanie_w_bazie_melodii: 1 shows the base
/// file, 2 picks a bitmap to view (a wave file to play).
enum class MediaBaseAction { InspectBase = 1, InspectFile = 2 };
void dzialanie_w_bazie_grafiki(AppState& app, MediaBaseAction action);
void dzialanie_w_bazie_melodii(AppState& app, MediaBaseAction action);

/// Where the media file dialogs start: the knowledge base's own folder in
/// `mediaFolder` ("../ADVICES/") when it exists, else that folder, else the
/// current directory.
std::filesystem::path mediaDialogStart(const AppState& app, const char* mediaFolder);

/// The three browse commands: any advice text file, bitmap or wave file the
/// user picks. The recorded knowledge-base name stays, so that later loads
/// still check their names against it.
void browseAdviceFiles(AppState& app);
void browseGraphicsFiles(AppState& app);
void browseSoundFiles(AppState& app);

}  // namespace torv::shell
