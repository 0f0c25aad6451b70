// Import of declared facts and known argument values from a table of an
// external data source (menu item 10063).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "dbfunc/external_source.h"

namespace torv { struct AppState; }

namespace torv::dbfunc {

/// The table name as written after "SELECT * FROM ": a name of letters,
/// digits and underscores as it is; one that also holds blanks in [ ]; any
/// other in the driver's quote with that quote doubled inside, so that no
/// name can end the identifier early. nullopt when such a name meets a
/// driver without an identifier quote.
std::optional<std::string> quoteTableName(const std::string& name, const std::string& quote);

/// sprawdz_przecinek: the value text with every "," replaced by ".".
std::string sprawdz_przecinek(std::string_view text);

/// The real a value text stands for, or the errno value of the failed
/// conversion: EINVAL for a text that is not a finite number, ERANGE for a
/// number beyond a real. Blanks around the number are allowed.
std::variant<double, int> str_real(std::string_view text);

/// What an import added, in row order, as the result dialog lists it.
struct ImportedTexts {
    std::vector<std::string> faktdowyswietlenia;
    std::vector<std::string> argument_znanydowyswietlenia;
};

/// sprczytofakt over every row in order: "fact" rows become declared facts,
/// "argument_known" rows known argument values; every other row is passed
/// over. A value that is no real shows the blad_real note and is passed over.
ImportedTexts importuj_wiersze(AppState& app, const std::vector<Row>& rows);

/// The import command: data source, table, rows, result. True when the
/// result dialog was shown (the command is greyed after it). A failing call
/// of the data source is reported and imports nothing.
bool importowanie(AppState& app, ExternalSources& sources);

}  // namespace torv::dbfunc
