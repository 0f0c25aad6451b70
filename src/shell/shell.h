// The application shell without a toolkit: the command table grouped into
// menus, the enabled/greyed menu state, and dispatch of a command id to its
// operation. Both front ends build their menus from this and call run().
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "state/chaining_kind.h"
#include "state/command_ids.h"
#include "state/menu_state.h"

namespace torv { struct AppState; }
namespace torv::kb { enum class LoadOption : int; }
namespace torv::dbfunc { class ExternalSources; }

namespace torv::shell {

/// The main window's title at start.
inline constexpr const char* kMainTitle =
    "torv_AE - Rule- and Model-Based Expert System Shell for Augmented Exact Forward and Backward Chaining ";
/// The message window's title.
inline constexpr const char* kMessagesTitle = "Messages";
/// The help file looked for in the current directory by "&Help".
inline constexpr const char* kHelpFile = "torv_AE.chm";

/// One item of the command table: menu id and exact item text.
struct Command {
    int id;
    std::string_view text;
};

/// A menu entry: a command, a submenu, or a separator.
struct MenuEntry {
    enum class Kind { Command, Submenu, Separator } kind;
    int commandId = 0;                  // Kind::Command
    std::string_view title;             // Kind::Submenu
    std::vector<MenuEntry> entries;     // Kind::Submenu
};

/// A top-level menu of the menu bar.
struct Menu {
    std::string_view title;
    std::vector<MenuEntry> entries;
};

/// Every command, in id order.
const std::vector<Command>& commands();
/// The command with this id, or nullptr.
const Command* findCommand(int id);
/// The command whose id ("10062") or exact item text ("Rule Base loading")
/// is given, or nullptr. Item text with the '&' marks left out ("Help") is
/// accepted too.
const Command* findCommand(std::string_view idOrText);
/// The menu bar, in display order. Every command appears exactly once.
const std::vector<Menu>& menuBar();

/// What choosing a command does: its work; nothing, by design (the
/// subdirectory-deleting items); or a note that it is not available yet.
enum class Availability { Works, NoAction, NotAvailableYet };
Availability availability(int id);
/// The note of a command that is not available yet.
inline constexpr const char* kNotAvailableTitle = "Attention!";
std::string notAvailableText(const Command& c);

/// The menu changes that follow what a command found, applied in the order
/// found; the list is emptied.
void applyOutcomes(AppState& app);

/// The toolkit-independent main window: dispatches commands over the
/// application state and keeps the menu state.
/// The note of a command stopped because memory ran out.
inline constexpr const char* kNoMemoryText =
    "There is not enough memory to finish this command.\nIt has been stopped; what it has done so far may be "
    "incomplete.";

class Shell {
public:
    explicit Shell(AppState& app);
    ~Shell();

    /// The import reads from the ODBC driver manager unless given others.
    void setExternalSources(dbfunc::ExternalSources& sources);

    AppState& app() { return app_; }
    const MenuState& menu() const;
    /// Later commands (the diagnoses, import, editing) enable and grey items here.
    MenuState& menu();

    /// Called whenever the menu state changed, so a front end can refresh.
    void onMenuChanged(std::function<void()> f) { menu().setListener(std::move(f)); }

    /// Closing the intro window: start-up menu state, message window created.
    void introClosed();

    /// Runs a command to its end. Greyed and unknown commands do nothing and
    /// return false. port::EndProgram propagates to the front end. Memory
    /// running out stops the command with a note, never the program.
    ///
    /// "&Help" opens kHelpFile from the current directory through
    /// UserPort::openHelp when it exists; otherwise it calls openHelp with an
    /// empty path, which asks the port for the project's own manual.
    bool run(int id);

    /// The close request: true when the user confirmed closing.
    bool closeRequested();

    /// Loads a rule base named on the command line, as the loading command
    /// does (a relative path is taken from the current directory).
    void loadRuleBaseAtStart(const std::string& path);

    /// jakiewnioskowanie: the chaining a command runs, empty otherwise.
    const std::optional<ChainingKind>& jakiewnioskowanie() const;

private:
    void dispatch(int id);
    /// Runs a step; a failed allocation ends it with kNoMemoryText.
    void guarded(const std::function<void()>& step);
    void noMemory();
    /// A loading command; `loaded` updates the menu on a non-empty result.
    void load(kb::LoadOption option, void (MenuState::*loaded)());
    /// Options 11 and 12: the two chaining commands.
    void chain(ChainingKind kind);
    void help();
    void importing();
    void askablesFile();

    AppState& app_;
    std::unique_ptr<dbfunc::ExternalSources> ownSources_;
    dbfunc::ExternalSources* sources_;
};

}  // namespace torv::shell
