// Model-base checks.
#include "loading/model_checks.h"

#include <string>
#include <string_view>

#include "state/app_state.h"

namespace torv::engine {

namespace {

constexpr std::string_view kOperacjeElementarne[] = {
    "+",   "-",   "*",   "/",   "div", "mod",    "min", "max", "%",   ">",     "==",    "<",     ">=",   "<=",  "><",
    "<>",  "sqrt", "sin", "cos", "tan", "arctan", "log", "ln",  "exp", "round", "trunc", "abs",   "=",    "round_to_N", "A^N"};
constexpr std::string_view kOperacjeRozwiniete[] = {"+", "*", "min_list", "max_list", "<,<", "<=,<", "<,<=", "<=,<="};

template <std::size_t N>
bool na_liscie(const std::string& op, const std::string_view (&lista)[N]) {
    for (std::string_view o : lista)
        if (op == o) return true;
    return false;
}

const char* const kPorada[] = {"Enter 'Model Base',", "choose option 'Model Base Editing', ",
                               "load faulty model base and remove error."};

void blad(AppState& app, const std::string& pierwszy, std::initializer_list<std::string> dalsze,
          const std::string& notatka) {
    app.messages.write(pierwszy + "\n");
    for (const auto& l : dalsze) app.messages.write(l + "\n");
    for (const char* l : kPorada) app.messages.write(std::string(l) + "\n");
    app.port.note("Attention error!", notatka);
}

bool operacja(AppState& app, const std::string& op, std::int32_t numer) {
    const std::string n = std::to_string(numer);
    blad(app, "Faulty operation/relation " + op + " for model " + n + ".", {},
         "Faulty operation/relation " + op + " for model " + n +
             ".\n\nEnter 'Model Base', choose option'Model Base Editing',load faulty model baseand remove error.");
    return false;
}

}  // namespace

bool testuj_operacje_relacje_modeli_elementarnych(AppState& app) {
    for (const auto& m : app.store.modelBase().model_b)
        if (!na_liscie(m.operacja, kOperacjeElementarne)) return operacja(app, m.operacja, m.numer);
    return true;
}

bool testuj_operacje_relacje_modeli_rozwinietych(AppState& app) {
    for (const auto& m : app.store.modelBase().model_e)
        if (!na_liscie(m.operacja, kOperacjeRozwiniete)) return operacja(app, m.operacja, m.numer);
    return true;
}

bool testuj_listy_modeli_liniowych(AppState& app) {
    for (const auto& m : app.store.modelBase().model_lin) {
        if (m.wspolczynniki.size() == m.zmienne.size()) continue;
        const std::string n = std::to_string(m.numer);
        blad(app, "The linear model " + n + " has list of coefficients and list of variables",
             {"of different length."},
             "The linear model " + n +
                 "\nhas list of coefficients and list of variables\nof different length. Enter 'Model Base',"
                 "\nchoose option 'Model Base Editing',\nload faulty model base and remove error.");
        return false;
    }
    return true;
}

bool testuj_listy_modeli_wielomianowych(AppState& app) {
    for (const auto& m : app.store.modelBase().model_poly) {
        if (m.wspolczynniki.size() == m.potegi.size()) continue;
        const std::string n = std::to_string(m.numer);
        blad(app, "The polynomial model " + n + " has list of coefficients and list of powers",
             {"of different length."},
             "The polynomial model " + n +
                 "\nhas list of coefficients and list of powers\nof different length. Enter 'Model Base',"
                 "\nchoose option 'Model Base Editing', \nload faulty model base and remove error.");
        return false;
    }
    return true;
}

bool testuj_strukture_modeli(AppState& app) {
    if (testuj_operacje_relacje_modeli_elementarnych(app) && testuj_operacje_relacje_modeli_rozwinietych(app) &&
        testuj_listy_modeli_liniowych(app) && testuj_listy_modeli_wielomianowych(app))
        return true;
    // A model base with a faulty model is not kept at all.
    app.store.unloadModelBase();
    return false;
}

}  // namespace torv::engine
