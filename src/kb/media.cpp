// Media directories, media file names and the abstract's name.
#include "kb/media.h"

#include "kb/paths.h"
#include "kb/store.h"

namespace torv::kb {

namespace {

bool isNameStart(unsigned char c) {
    // Bytes above ASCII are letters of the file's code page.
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

struct MediaPlace {
    const char* directory;                 // "../ADVICES/"
    std::optional<std::string> Store::*sciezka;
    const char* extension;                 // appended when no knowledge-base name is recorded
    std::optional<std::string> Store::*baseName;
};

const MediaPlace kAdvicePlace{"../ADVICES/", &Store::sciezka, "", &Store::nazwa_ra};
const MediaPlace kGraphicsPlace{"../GRAPHICS/", &Store::sciezka1, ".bmp", &Store::nazwa_gr};
const MediaPlace kSoundPlace{"../SOUNDS/", &Store::sciezka2, ".wav", &Store::nazwa_me};

std::filesystem::path fullName(Store& store, const std::filesystem::path& currentDir, const MediaPlace& place,
                               const std::string& file) {
    std::string name;
    std::string fileName = file;
    if (store.wyroznik) {
        name = *store.wyroznik;
    } else {
        name = wyroznik_z_nazwy(store.*(place.baseName) ? *(store.*(place.baseName)) : "");
        fileName += place.extension;
    }
    const std::string dir = std::string(place.directory) + name + "/";
    store.*(place.sciezka) = dir;
    const auto dirPath = platformPath(currentDir, dir).lexically_normal();
    if (auto found = findFileNoCase(dirPath, fileName)) return *found;
    return dirPath / fileName;
}

}  // namespace

std::optional<std::string> mediaNameFault(std::string_view name) {
    if (name.empty()) return "it is empty";
    if (name.find('\0') != std::string_view::npos) return "it holds a NUL byte";
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return "it holds a control byte";
    if (name.find_first_of("/\\") != std::string_view::npos || name == "." || name == "..")
        return "it names a folder";
    if (name.size() >= 2 && name[1] == ':' && ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z')))
        return "it names a drive";
    return std::nullopt;
}

std::string wyroznik_z_nazwy(const std::string& path, std::string* rest) {
    const std::string file = std::filesystem::path(path).filename().string();
    std::size_t i = file.size() < 2 ? file.size() : 2;
    while (i < file.size() && (file[i] == ' ' || file[i] == '\t')) ++i;
    const std::size_t start = i;
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(file[k]); };
    if (i < file.size() && isDigit(at(i))) {
        while (i < file.size() && isDigit(at(i))) ++i;
    } else if (i < file.size() && isNameStart(at(i))) {
        while (i < file.size() && (isNameStart(at(i)) || isDigit(at(i)))) ++i;
    }
    if (rest) *rest = file.substr(i);
    return file.substr(start, i - start);
}

void pamietaj_wyroznik_nazwy(Store& store, const std::string& path) {
    std::string rest;
    store.wyroznik = wyroznik_z_nazwy(path, &rest);
    store.rozszerzenie = rest;
}

std::filesystem::path nazwa_pelna_rady(Store& store, const std::filesystem::path& currentDir,
                                         const std::string& file) {
    return fullName(store, currentDir, kAdvicePlace, file);
}
std::filesystem::path nazwa_pelna_grafiki(Store& store, const std::filesystem::path& currentDir,
                                         const std::string& file) {
    return fullName(store, currentDir, kGraphicsPlace, file);
}
std::filesystem::path nazwa_pelna_melodii(Store& store, const std::filesystem::path& currentDir,
                                         const std::string& file) {
    return fullName(store, currentDir, kSoundPlace, file);
}

}  // namespace torv::kb
