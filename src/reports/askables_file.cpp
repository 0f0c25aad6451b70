// Creating, showing and deleting askable conditions and arguments files.
#include "reports/askables_file.h"

#include <algorithm>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

#include "kb/code_page.h"
#include "kb/file_io.h"
#include "port/message_window.h"
#include "port/user_port.h"

namespace torv::reports {

namespace fs = std::filesystem;

namespace {

constexpr const char* kAttentionError = "Attention error!";
constexpr const char* kFileKind = "Askable Conditions and Arguments File ";

/// Appends what is not there yet; the set keeps long lists linear.
class UniqueList {
public:
    explicit UniqueList(kb::StringList& out) : out_(out) {}
    void add(const std::string& s) {
        if (seen_.insert(s).second) out_.push_back(s);
    }

private:
    kb::StringList& out_;
    std::unordered_set<std::string> seen_;
};

void addNumber(std::vector<std::int32_t>& numbers, std::int32_t n) {
    if (std::find(numbers.begin(), numbers.end(), n) == numbers.end()) numbers.push_back(n);
}

port::FileDialog pickDialog(const fs::path& dir, const char* title) {
    return {title, "*.txt", {{"Askable Conditions and Arguments File (*.txt)", "*.txt"}}, dir};
}

fs::path resolve(const fs::path& dir, const std::string& chosen) {
    const fs::path p(chosen);
    return p.is_absolute() ? p : dir / p;
}

}  // namespace

AskablesRecords zbierz_dopytywalne(const AskablesSources& s) {
    // Constraint numbers of each member, in constraint order.
    std::unordered_map<std::string, std::vector<std::int32_t>> constraintsOf;
    if (s.constraintBase)
        for (const auto& c : s.constraints)
            for (const auto& member : c.warunki) constraintsOf[member].push_back(c.numer);
    // testuj_ograniczenie_dla_bazy_*: records the constraints holding the
    // name and says whether there were none.
    auto inNoConstraint = [&](const std::string& name, std::vector<std::int32_t>& numbers) {
        const auto at = constraintsOf.find(name);
        if (at == constraintsOf.end()) return true;
        for (std::int32_t n : at->second) addNumber(numbers, n);
        return false;
    };

    AskablesRecords r;
    if (s.ruleBase && s.modelBase) {
        UniqueList out(r.war_dopyt);
        for (const auto& c : s.lista_wszystkich_dopytywalnych_dla_wyswietlania)
            if (inNoConstraint(c, r.numer_ograniczenia_dla_bazy_regul)) out.add(c);
    } else if (s.ruleBase) {
        UniqueList out(r.war_dopyt_bez_modeli);
        for (const auto& c : s.lista_warunkow_dopytywalnych)
            if (inNoConstraint(c, r.numer_ograniczenia_dla_bazy_regul)) out.add(c);
    }
    if (s.modelBase) {
        UniqueList out(r.arg_dopyt);
        for (const auto& a : s.lista_argumentow_dopytywalnych)
            if (inNoConstraint(a, r.numer_ograniczenia_dla_bazy_modeli)) out.add(a);
    }
    return r;
}

std::string tekst_pliku_dopytywalnych(const AskablesSources& s, const AskablesRecords& r) {
    const std::string rules = s.ruleBase.value_or("");
    const std::string models = s.modelBase.value_or("");
    std::string t;
    auto lines = [&](const kb::StringList& names) {
        for (const auto& n : names) t += "   " + n + "\n";
    };
    // One line per constraint, each member followed by '#'.
    auto constraintLines = [&](const std::vector<std::int32_t>& numbers) {
        for (std::int32_t n : numbers) {
            const auto c = std::find_if(s.constraints.begin(), s.constraints.end(),
                                        [n](const kb::Constraint& k) { return k.numer == n; });
            if (c == s.constraints.end()) continue;
            t += "\n";
            for (const auto& member : c->warunki) t += "   " + member + "#";
        }
    };

    if (s.ruleBase && s.modelBase) {
        t += "Non-exclusive Askable Conditions for Rule Base " + rules + "\n";
        t += "and Model Base " + models + "\n";
        lines(r.war_dopyt);
    } else if (s.ruleBase) {
        t += "Non-exclusive Askable Conditions for Rule Base " + rules + "\n";
        lines(r.war_dopyt_bez_modeli);
    }
    // Written with a constraint base even without a model base: otherwise
    // the members of the rule base's constraints would be in no section.
    if (s.ruleBase && s.constraintBase) {
        t += "Non-exclusive Askable Conditions for Rule Base  " + rules;
        constraintLines(r.numer_ograniczenia_dla_bazy_regul);
    }
    t += "\n";
    if (s.ruleBase && s.constraintBase && s.modelBase) {
        t += "Non-exclusive Askable Conditions for Model Base " + models;
        constraintLines(r.numer_ograniczenia_dla_bazy_modeli);
    }
    if (s.constraintBase) t += "\n";
    if (s.modelBase) {
        t += "Askable Arguments for Model Base " + models + "\n";
        lines(r.arg_dopyt);
    }
    return t;
}

void zachowaj(port::UserPort& port, port::MessageWindow& messages, const fs::path& currentDir,
              const AskablesSources& sources) {
    const AskablesRecords records = zbierz_dopytywalne(sources);
    // zachowaj_1 and kontroluj_dopyty: ask again until a name is taken.
    std::string chosen;
    bool overwriting = false;
    for (;;) {
        // The file's own overwrite question below replaces the dialog's.
        chosen = port.saveFile({"Load Askable Conditions and Arguments file",
                                "*.txt",
                                {{"Askable Conditions and Arguments file(*.txt)", "*.txt"}},
                                currentDir,
                                false});
        if (chosen.empty()) return;
        std::error_code ec;
        overwriting = fs::exists(resolve(currentDir, chosen), ec);
        if (!overwriting) break;
        if (port.ask("Overwrite existing Askable Conditions and Arguments File",
                     "An Askable Conditions and Arguments File named:  " + chosen +
                         "already exists! . Do you wish to overwrite it with new contents?",
                     {"&YES", "&NO"}) == 1)
            break;
        messages.write("       No\n");
    }

    const std::string text = tekst_pliku_dopytywalnych(sources, records);
    const std::string nazwa_pliku_war_arg = chosen;
    // Old bases are already in the code page; a name it cannot hold keeps
    // the whole file in UTF-8 rather than lose letters.
    const auto saved = kb::saveFileAtomically(resolve(currentDir, nazwa_pliku_war_arg),
                                              kb::utf8ToCp1250(text).value_or(text));
    if (!saved.ok) {
        messages.write(kFileKind + nazwa_pliku_war_arg + " has not been created: " + saved.error + "\n\n");
        port.note(kAttentionError, kFileKind + nazwa_pliku_war_arg + " has not been created.\n" + saved.error);
        return;
    }
    // Said only once the new contents are in place.
    if (overwriting)
        port.note("", "Existing Askable Conditions and Arguments File " + nazwa_pliku_war_arg +
                          " has been overwritten.");
    port.note("Creating new Askable Conditions and Arguments File",
              "New Askable Conditions and Arguments File " + nazwa_pliku_war_arg + " has been created.");
}

void czytanie_pliku_dopytywalnych(port::UserPort& port, port::MessageWindow& messages, const fs::path& currentDir) {
    const std::string chosen = port.openFile(pickDialog(currentDir, "Pick the file to be inspected"));
    if (chosen.empty()) return;
    const fs::path file = resolve(currentDir, chosen);
    const std::string name = file.filename().string();
    const auto read = kb::readRegularFile(file, kb::kMaxTextFileBytes);
    if (!read.ok()) {
        messages.write(kFileKind + name + " could not be read: " + read.error + "\n\n");
        port.note(kAttentionError, kFileKind + name + " could not be read.\n" + read.error);
        return;
    }
    port.textView("Inspection of Askable Conditions and Arguments File " + name, read.bytes);
}

void usuwanie_pliku_dopytywalnych(port::UserPort& port, port::MessageWindow& messages, const fs::path& currentDir) {
    const std::string chosen = port.openFile(pickDialog(currentDir, "Pick the file to be deleted"));
    if (chosen.empty()) return;
    const fs::path file = resolve(currentDir, chosen);
    const std::string name = file.filename().string();
    if (port.ask("Deleting the Askable Conditions and Arguments File",
                 "Do you really wish to delete the Askable Conditions and Arguments File  " + name + " ?",
                 {"Yes", "No"}) != 1)
        return;
    std::error_code ec;
    // remove() would also take an empty directory typed in place of a file.
    const bool isDirectory = fs::is_directory(file, ec);
    if (isDirectory || !fs::remove(file, ec)) {
        const std::string why = isDirectory ? "it is a directory" : ec ? ec.message() : "no such file";
        messages.write(kFileKind + name + " has not been deleted: " + why + "\n\n");
        port.note(kAttentionError, kFileKind + name + " has not been deleted.\n" + why);
        return;
    }
    port.note(port::titles::kAttention, "Askable conditions and arguments file " + name + " has been deleted.");
}

}  // namespace torv::reports
