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

namespace torv::verify::test {

/// Rules for p1 .. p5, each concluded from seven askables of its own: a rule
/// needing all five has 7^5 = 16807 flattenings.
inline std::vector<kb::Rule> manyFlattenings(std::vector<kb::Rule> rules) {
    std::int32_t numer = 100;
    for (int p = 1; p <= 5; ++p)
        for (int a = 1; a <= 7; ++a)
            rules.push_back(R(++numer, "p" + std::to_string(p), {"q" + std::to_string(p) + "_" + std::to_string(a)}));
    return rules;
}

}  // namespace torv::verify::test
