// A knowledge base put into the store as a load leaves it, without the
// load's checks and offers, so that chaining tests see only the chaining's
// own dialogs.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "kb/store.h"
#include "state/app_state.h"
#include "support/fixtures.h"
#include "support/scripted_port.h"

namespace torv::test {

class ChainingTest : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedPort port;
    AppState app{port, dir.path() / "BASES"};

    /// Stores a base read from `text` under the file name `name` (written
    /// into BASES/ too), with the name records and derived lists a load
    /// leaves.
    void base(kb::BaseKind kind, const std::string& name, const std::string& text);
    void rules(const std::string& text) { base(kb::BaseKind::Rule, "RUkb.AEB", text); }
    void constraints(const std::string& text) { base(kb::BaseKind::Constraint, "COkb.AEB", text); }
    void models(const std::string& text) { base(kb::BaseKind::Model, "MOkb.AEB", text); }

    /// Clears the chaining state as the preparation of a run does, without
    /// its dialogs, and records "No condition".
    void prepare(bool high = true);

    const std::string& report() const { return app.report.tekst_raportu(); }
    /// The conditions of rbd in recording order, "number:condition" each.
    std::vector<std::string> rbd() const;
};

}  // namespace torv::test
