// The editor window's core (win_edycja): the file's text in its own encoding
// and line ends, the save, "Save as" and close question with their messages
// and notes, and the check by the term reader.
#pragma once

#include <filesystem>
#include <initializer_list>

namespace torv { struct AppState; }

namespace torv::shell {

class MenuState;

/// The inspection and askables items greyed when an editor closes: what
/// they would show may have been edited.
void greyWhileEditing(MenuState& menu);

/// Opens the editor window on `file`: asks whether to wrap long lines, then
/// hands the port a session bound to the file. Several may be open at once.
void openEditor(AppState& app, const std::filesystem::path& file);

}  // namespace torv::shell
