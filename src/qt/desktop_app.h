// The desktop application's objects, wired together: port, application
// state, shell and main window.
#pragma once

#include <filesystem>
#include <memory>

#include <QStringList>

#include "state/app_state.h"
#include "shell/shell.h"
#include "qt/main_window.h"
#include "qt/qt_user_port.h"

namespace torv::qt {

class DesktopApp {
public:
    /// Settings that must be made before QApplication exists.
    static void prepareEnvironment();

    explicit DesktopApp(std::filesystem::path startDirectory = std::filesystem::current_path());
    ~DesktopApp();

    /// Shows the main window; a rule base named in `arguments` is loaded at once.
    void start(const QStringList& arguments);

    QtUserPort& port() { return port_; }
    AppState& state() { return state_; }
    shell::Shell& shell() { return shell_; }
    MainWindow& window() { return *window_; }

private:
    QtUserPort port_;
    AppState state_;
    shell::Shell shell_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace torv::qt
