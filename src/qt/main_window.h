// The main window: menu built from the shell's menu bar, a tool bar, the MDI
// area for child windows, the Messages pane and the intro window.
#pragma once

#include <functional>
#include <map>

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>

#include "qt/companions.h"
#include "qt/intro_window.h"

class QMdiArea;
class QMenu;
class QToolBar;

namespace torv::shell { class Shell; struct MenuEntry; }

namespace torv::qt {

class QtUserPort;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(shell::Shell& shell, QtUserPort& port, QWidget* parent = nullptr);
    ~MainWindow() override;

    QMdiArea* mdiArea() const { return mdi_; }
    /// The menu action of a command, nullptr for an unknown id.
    QAction* commandAction(int id) const;
    QToolBar* toolBar() const { return toolBar_; }
    /// The Messages pane; nullptr until the intro window has closed.
    QPlainTextEdit* messagesPane() const { return messages_; }
    QMdiSubWindow* messagesWindow() const { return messagesWindow_; }
    IntroWindow* introWindow() const { return intro_; }

    /// Runs a menu command; a confirmed "End" ends the program.
    void runCommand(int id);
    /// Runs any step of the shell the way a command runs.
    void runGuarded(const std::function<void()>& step);
    /// Closes the intro window as the user would.
    void closeIntro();
    /// The read-only copy of the Messages pane that stays usable while a
    /// question waits (F6); opened on demand.
    void showMessagesCopy();
    MessagesCopy* messagesCopy() const { return messagesCopy_; }
    /// "Rule dependency graph" over the loaded rule base.
    void showDependencyGraph();
    /// "Show witness": the evidence of each finding of the loaded bases.
    void showWitnesses();
    /// The rule window, showing the rule at a position in the rule table.
    void openRuleAt(std::size_t index);
    QMenu* windowMenu() const { return windowMenu_; }
    /// True once the program has been ended from a dialog.
    bool ended() const { return ended_; }

signals:
    /// The user confirmed "End" in a dialog: the program ends now.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildMenus();
    void addEntries(QMenu* menu, const std::vector<shell::MenuEntry>& entries);
    void buildToolBar();
    void buildWindowMenu();
    void fillWindowMenu();
    void refreshMenu();
    void introClosed();
    void createMessagesWindow();
    void placeWindows();
    void fitMenuBar();
    void endProgram();

    shell::Shell& shell_;
    QtUserPort& port_;
    QMdiArea* mdi_;
    QToolBar* toolBar_ = nullptr;
    std::map<int, QAction*> actions_;
    std::vector<std::pair<QAction*, int>> toolActions_;
    struct MenuRef {
        QMenu* menu;
        QString title;      // as the shell names it, for its menu state
        bool submenu;
    };
    std::vector<MenuRef> menus_;
    QPointer<IntroWindow> intro_;
    QPointer<QMdiSubWindow> introWindow_;
    QPointer<QMdiSubWindow> messagesWindow_;
    QPointer<QPlainTextEdit> messages_;
    QPointer<MessagesCopy> messagesCopy_;
    QMenu* windowMenu_ = nullptr;
    QFont menuFont_;
    bool running_ = false;
    bool ended_ = false;
    bool introDone_ = false;
};

}  // namespace torv::qt
