// The import command over any ExternalSources, and the rules that turn
// table rows into facts and argument values.
#include "dbfunc/import.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <memory>

#include "kb/store.h"
#include "state/report_buffer.h"
#include "state/app_state.h"

namespace torv::dbfunc {

namespace {

constexpr const char* kAttentionError = "Attention error!";
constexpr const char* kErrorLoading = "<Error loading>";
constexpr const char* kNoData = "No data to be imported from external sources!";
constexpr const char* kBladRealTail =
    "\nImpossible to open directories\n\nDeclare a proper current directory\nby entering the menu option "
    "'Set-up'\nand choosing the option  'Specify the current directory'";

bool isPlain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

/// A cell fit to be imported: text that is neither empty nor a load error.
const std::string* usable(const Cell& cell) {
    return cell && !cell->empty() && *cell != kErrorLoading ? &*cell : nullptr;
}

bool keyword(const Row& row, std::size_t cells, std::string_view word) {
    if (row.size() < cells) return false;
    for (std::size_t i = 0; i < cells; ++i)
        if (!row[i]) return false;
    return *row[0] == word;
}

void blad_real(AppState& app, int error) {
    app.port.note(kAttentionError, "Error: " + std::to_string(error) + kBladRealTail);
}

/// Faults of the data source go to the message window and to a note.
void fault(AppState& app, const std::string& what, const Failure& why) {
    app.messages.write(what + "\n" + why.what + "\n\n");
    app.port.note(kAttentionError, what + "\n\n" + why.what);
}

/// Opens the table, writes the statement and the row count to the message
/// window, and buffers every row; the cursor is closed on return.
Result<std::vector<Row>> otworz_tabele(AppState& app, Connection& connection, const std::string& table) {
    std::string quote;
    if (!std::all_of(table.begin(), table.end(), [](char c) { return isPlain(c) || c == ' '; })) {
        auto q = connection.identifierQuote();
        if (auto* f = std::get_if<Failure>(&q)) return *f;
        quote = std::get<std::string>(q);
    }
    const auto quoted = quoteTableName(table, quote);
    if (!quoted) return Failure{"The data source has no quote for such a table name."};
    const std::string statement = "SELECT * FROM " + *quoted;
    auto executed = connection.execute(statement);
    if (auto* f = std::get_if<Failure>(&executed)) return Failure{statement + "\n" + f->what};
    Cursor& cursor = *std::get<std::unique_ptr<Cursor>>(executed);
    app.messages.write(statement + "\n");
    app.messages.write("--> Data loading From row 1 to row ");
    std::vector<Row> rows;
    for (;;) {
        auto fetched = cursor.fetch();
        if (auto* f = std::get_if<Failure>(&fetched)) {
            app.messages.write("\n");
            return Failure{statement + "\n" + f->what};
        }
        auto& row = std::get<std::optional<Row>>(fetched);
        if (!row) break;
        rows.push_back(std::move(*row));
    }
    app.messages.write(std::to_string(rows.size()) + " ...Done\n");
    return rows;
}

}  // namespace

std::optional<std::string> quoteTableName(const std::string& name, const std::string& quote) {
    bool plain = !name.empty();
    bool blanks = false;
    for (char c : name) {
        if (c == ' ')
            blanks = true;
        else if (!isPlain(c))
            plain = false;
    }
    if (plain) return blanks ? "[" + name + "]" : name;
    if (quote.empty() || quote == " ") return std::nullopt;
    std::string out = quote;
    for (std::size_t i = 0; i < name.size();) {
        if (name.compare(i, quote.size(), quote) == 0) {
            out += quote + quote;
            i += quote.size();
        } else {
            out += name[i++];
        }
    }
    return out + quote;
}

std::string sprawdz_przecinek(std::string_view text) {
    std::string dane_przecinek;
    dane_przecinek.reserve(text.size());
    for (char c : text) dane_przecinek += c == ',' ? '.' : c;   // spr_znak
    return dane_przecinek;
}

std::variant<double, int> str_real(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+' && text.size() > 1 && text[1] != '-') text.remove_prefix(1);
    double v = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, v);
    if (ec == std::errc::result_out_of_range) return ERANGE;
    if (ec != std::errc{} || p != end || text.empty() || !std::isfinite(v)) return EINVAL;
    return v;
}

ImportedTexts importuj_wiersze(AppState& app, const std::vector<Row>& rows) {
    ImportedTexts shown;
    for (const Row& row : rows) {
        if (keyword(row, 2, "fact")) {
            if (const std::string* fact = usable(row[1])) {
                shown.faktdowyswietlenia.push_back(*fact);
                app.store.addFact(kb::Fact{*fact});
            }
            continue;
        }
        if (!keyword(row, 3, "argument_known")) continue;
        const std::string* name = usable(row[1]);
        const std::string* value = usable(row[2]);
        if (!name || !value) continue;
        const auto real = str_real(sprawdz_przecinek(*value));
        if (const int* error = std::get_if<int>(&real)) {
            blad_real(app, *error);
            continue;
        }
        const double v = std::get<double>(real);
        app.store.addArgumentKnown(kb::ArgumentKnown{*name, v});
        shown.argument_znanydowyswietlenia.push_back(*name + " = " + reports::formatReal(v));
    }
    return shown;
}

bool importowanie(AppState& app, ExternalSources& sources) {
    auto listed = sources.dataSources();
    if (auto* f = std::get_if<Failure>(&listed)) {
        fault(app, "The external data sources could not be listed.", *f);
        return false;
    }
    const auto& names = std::get<std::vector<std::string>>(listed);
    const auto source = app.port.pickDataSource(names);
    if (!source || *source >= names.size()) return false;
    const std::string& baza = names[*source];

    auto connected = sources.connect(baza);
    if (auto* f = std::get_if<Failure>(&connected)) {
        fault(app, "Connecting to the external data source " + baza + " has failed.", *f);
        return false;
    }
    std::unique_ptr<Connection> connection = std::move(std::get<std::unique_ptr<Connection>>(connected));
    auto tables = connection->tables();
    if (auto* f = std::get_if<Failure>(&tables)) {
        fault(app, "The tables of the external data source " + baza + " could not be listed.", *f);
        return false;
    }
    const auto& tableNames = std::get<std::vector<std::string>>(tables);
    const auto table = app.port.pickExternalData(tableNames);
    if (!table || *table >= tableNames.size()) return false;
    const std::string& name = tableNames[*table];

    auto loaded = otworz_tabele(app, *connection, name);
    connection.reset();   // nothing below needs the data source
    if (auto* f = std::get_if<Failure>(&loaded)) {
        fault(app,
              "The table " + name + " of the external data source " + baza +
                  " could not be read.\nNothing has been imported.",
              *f);
        return false;
    }
    const auto shown = importuj_wiersze(app, std::get<std::vector<Row>>(loaded));
    // spr_dane
    if (shown.faktdowyswietlenia.empty() && shown.argument_znanydowyswietlenia.empty()) {
        app.port.note(port::titles::kAttention, kNoData);
        return false;
    }
    app.port.importedFacts(shown.faktdowyswietlenia, shown.argument_znanydowyswietlenia);
    return true;
}

}  // namespace torv::dbfunc
