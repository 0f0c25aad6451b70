// Files that live beside the bases: the media directories of the advice,
// graphics and sound bases, and the abstract.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace torv { struct AppState; }

namespace torv::kb {

/// The knowledge-base name inside a base file name: the file name without
/// directory, its first two characters dropped, then the first token (a name
/// of letters, digits and underscores, or a number). `rest` receives what
/// follows the token.
std::string wyroznik_z_nazwy(const std::string& path, std::string* rest = nullptr);

/// pamietaj_wyroznik_nazwy: records `wyroznik` and `rozszerzenie`.
void pamietaj_wyroznik_nazwy(AppState& app, const std::string& path);

/// nazwa_pelna_rady / _grafiki / _melodii: the full name of a media file,
/// remembering its directory in sciezka / sciezka1 / sciezka2.
std::filesystem::path nazwa_pelna_rady(AppState& app, const std::string& file);
std::filesystem::path nazwa_pelna_grafiki(AppState& app, const std::string& file);
std::filesystem::path nazwa_pelna_melodii(AppState& app, const std::string& file);

/// The directory checks made when a media base is loaded; each reports a
/// missing directory and clears the base's records.
bool sa_pliki_rad(AppState& app);
bool sa_pliki_grafiki(AppState& app);
bool sa_pliki_melodii(AppState& app);

/// wyznacz_nazwe_opisu: records the abstract's path from `wyroznik`.
void wyznacz_nazwe_opisu(AppState& app);

}  // namespace torv::kb
