// Rules and constraints put straight into the store for the joint
// rule-constraint diagnoses.
#pragma once

#include "verify_fixture.h"

namespace torv::verify::test {

class JointTest : public VerifyTest {
protected:
    /// Rules and constraints as their loads leave them, named RUt.AEB and COt.AEB.
    void bases(std::vector<kb::Rule> rs, std::vector<kb::Constraint> cs) {
        app.findings = {};
        rules(std::move(rs));
        kb::ConstraintBase c;
        c.constraints = std::move(cs);
        app.store.setConstraintBase(std::move(c));
        app.store.nazwa_og = "COt.AEB";
    }
};

}  // namespace torv::verify::test
