// A rule base put straight into the store, with its askables, for the
// diagnosis tests; boxes are answered by the scripted port.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <variant>

#include "engine/askables.h"
#include "kb/base_file.h"
#include "kb/store.h"
#include "state/app_state.h"
#include "support/scripted_port.h"

namespace torv::verify::test {

using Names = std::vector<std::string>;

inline kb::Rule R(std::int32_t numer, std::string wniosek, Names warunki) {
    return kb::Rule{numer, std::move(wniosek), kb::names(warunki), 1};
}

class VerifyTest : public ::testing::Test {
protected:
    torv::test::ScriptedPort port;
    AppState app{port};

    /// Loads the rules as the rule-base load leaves them for the diagnoses.
    void rules(std::vector<kb::Rule> rs, const std::string& file = "RUt.AEB", const std::string& ext = ".AEB") {
        kb::RuleBase base;
        base.rules = std::move(rs);
        app.store.setRuleBase(std::move(base));
        app.store.nazwa_re = file;
        app.store.rozszerzenie = ext;
        engine::pamietaj_dopytywalne_regul(app);
    }

    /// Stores a model or constraint base written as its file, with its name.
    void base(kb::BaseKind kind, const std::string& text, const std::string& file) {
        auto read = kb::parseBaseText(kind, text);
        ASSERT_TRUE(std::holds_alternative<kb::AnyBase>(read)) << text;
        kb::storeBase(app.store, std::move(std::get<kb::AnyBase>(read)));
        (kind == kb::BaseKind::Model ? app.store.nazwa_mo : app.store.nazwa_og) = file;
    }
    void models(const std::string& text, const std::string& file = "MOt.AEB") { base(kb::BaseKind::Model, text, file); }
    void constraints(const std::string& text) { base(kb::BaseKind::Constraint, text, "COt.AEB"); }

    std::vector<port::Dialog> notes() const { return port.ofKind("note"); }
    std::vector<std::string> noteTexts() const {
        std::vector<std::string> out;
        for (const auto& d : port.ofKind("note")) out.push_back(d.text);
        return out;
    }
    /// Declines the save offer at the end of a report.
    void declineSave() { port.then("Report of chaining/diagnosing", "no"); }
};

}  // namespace torv::verify::test
