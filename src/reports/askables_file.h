// Askable conditions and arguments files: a plain-text list, for people and
// for whoever prepares external data, of everything a chaining may ask.
// Written only; "reading" shows the file as text.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "kb/store.h"

namespace torv::port {
class MessageWindow;
class UserPort;
}  // namespace torv::port

namespace torv::reports {

/// What a file is made from: the names of the loaded bases (nazwa_re,
/// nazwa_mo, nazwa_og; nullopt when not loaded), their askables lists and
/// the constraints.
struct AskablesSources {
    std::optional<std::string> ruleBase, modelBase, constraintBase;
    kb::StringList lista_warunkow_dopytywalnych;
    kb::StringList lista_wszystkich_dopytywalnych_dla_wyswietlania;
    kb::StringList lista_argumentow_dopytywalnych;
    std::vector<kb::Constraint> constraints;
};

/// The working records of one creation, duplicates left out.
struct AskablesRecords {
    kb::StringList war_dopyt;               // rule base with model base, in no constraint
    kb::StringList war_dopyt_bez_modeli;    // rule base alone, in no constraint
    kb::StringList arg_dopyt;               // model base, in no constraint
    std::vector<std::int32_t> numer_ograniczenia_dla_bazy_regul;
    std::vector<std::int32_t> numer_ograniczenia_dla_bazy_modeli;
};

/// The collection step of zachowaj.
AskablesRecords zbierz_dopytywalne(const AskablesSources& s);

/// The file's text, before it is put in the code page.
std::string tekst_pliku_dopytywalnych(const AskablesSources& s, const AskablesRecords& r);

/// zachowaj (10151): collects, asks for the name (again after a declined
/// overwrite) and writes the file in code page 1250 where its text allows.
void zachowaj(port::UserPort& port, port::MessageWindow& messages, const std::filesystem::path& currentDir,
              const AskablesSources& sources);

/// 10152: shows a chosen file in the text view.
void czytanie_pliku_dopytywalnych(port::UserPort& port, port::MessageWindow& messages,
                                  const std::filesystem::path& currentDir);

/// 10153: deletes a chosen file once the user confirms.
void usuwanie_pliku_dopytywalnych(port::UserPort& port, port::MessageWindow& messages,
                                  const std::filesystem::path& currentDir);

}  // namespace torv::reports
