// Files that live beside the bases: the media directories of the advice,
// graphics and sound bases.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace torv::kb {

class Store;

/// Why a media file name taken from a base is not a plain file name inside
/// its media folder (a folder part, "..", a drive, a control byte or NUL);
/// nullopt when it is one. Such a name is data and must never reach a path.
std::optional<std::string> mediaNameFault(std::string_view name);

/// The knowledge-base name inside a base file name: the file name without
/// directory, its first two characters dropped, then the first token (a name
/// of letters, digits and underscores, or a number). `rest` receives what
/// follows the token.
std::string wyroznik_z_nazwy(const std::string& path, std::string* rest = nullptr);

/// pamietaj_wyroznik_nazwy: records `wyroznik` and `rozszerzenie`.
void pamietaj_wyroznik_nazwy(Store& store, const std::string& path);

/// nazwa_pelna_rady / _grafiki / _melodii: the full name of a media file,
/// remembering its directory in sciezka / sciezka1 / sciezka2.
/// Relative media directories resolve against `currentDir`.
std::filesystem::path nazwa_pelna_rady(Store& store, const std::filesystem::path& currentDir, const std::string& file);
std::filesystem::path nazwa_pelna_grafiki(Store& store, const std::filesystem::path& currentDir, const std::string& file);
std::filesystem::path nazwa_pelna_melodii(Store& store, const std::filesystem::path& currentDir, const std::string& file);

}  // namespace torv::kb
