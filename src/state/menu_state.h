// The main menu's enabled and greyed items, and the rules that change them as
// bases are loaded. No item is ever hidden or checked.
#pragma once

#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <string_view>

namespace torv::shell {

/// Menu titles the state greys as a whole.
inline constexpr std::string_view kAnalysisMenu = "&Knowledge Base Analysis";
inline constexpr std::string_view kFlatteningMenu = "Rule Base flattening";

/// Which items are enabled; everything else is greyed. A default-constructed
/// state has every command greyed (the intro window is still open); startUp()
/// gives the state the program works from.
class MenuState {
public:
    bool enabled(int id) const { return enabled_.count(id) != 0; }
    void enable(std::initializer_list<int> ids);
    void grey(std::initializer_list<int> ids);
    /// The state once the intro window has closed.
    void startUp();
    const std::set<int>& enabledIds() const { return enabled_; }

    /// Whole menus and submenus (by title) can be greyed too; every other
    /// menu is enabled.
    bool menuEnabled(std::string_view title) const { return greyedMenus_.count(title) == 0; }
    void enableMenu(std::string_view title);
    void greyMenu(std::string_view title);

    // What a successful load of each base enables. A failed or cancelled
    // load calls none of these.
    void ruleBaseLoaded();
    void modelBaseLoaded();
    void constraintBaseLoaded();
    void adviceBaseLoaded();
    void graphicsBaseLoaded();
    void soundBaseLoaded();

    /// Called after every change, so a front end can refresh its menu.
    void setListener(std::function<void()> f) { listener_ = std::move(f); }

private:
    void changed() const {
        if (listener_) listener_();
    }

    std::set<int> enabled_;
    std::set<std::string, std::less<>> greyedMenus_;
    std::function<void()> listener_;
};

}  // namespace torv::shell
