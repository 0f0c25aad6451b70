// Media directories, media file names and the abstract's name.
#include "kb/media.h"

#include "kb/paths.h"
#include "state/app_state.h"

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

std::filesystem::path fullName(AppState& app, const MediaPlace& place, const std::string& file) {
    std::string name;
    std::string fileName = file;
    if (app.store.wyroznik) {
        name = *app.store.wyroznik;
    } else {
        name = wyroznik_z_nazwy(app.store.*(place.baseName) ? *(app.store.*(place.baseName)) : "");
        fileName += place.extension;
    }
    const std::string dir = std::string(place.directory) + name + "/";
    app.store.*(place.sciezka) = dir;
    const auto dirPath = platformPath(app.currentDir, dir).lexically_normal();
    if (auto found = findFileNoCase(dirPath, fileName)) return *found;
    return dirPath / fileName;
}

struct DirectoryCheck {
    const char* directory;
    const char* mask;
    const char* firstLine;       // message window, first line
    const char* noteStart;       // note, up to the name
    const char* lastLine;        // message window, last line
    const char* noteEnd;         // note, after the name
    void (Store::*clear)();
    void (Store::*clearName)();
    std::optional<std::string> Store::*baseName;
};

bool checkDirectory(AppState& app, const DirectoryCheck& c) {
    const std::string name = app.store.wyroznik.value_or(
        wyroznik_z_nazwy((app.store.*c.baseName).value_or("")));
    if (anyFileMatches(platformPath(app.currentDir, std::string(c.directory) + name), c.mask)) return true;
    app.messages.write(std::string(c.firstLine) + "\nKnowledge Base " + name + ".\n" + c.lastLine + "\n");
    app.port.note("Attention error!", std::string(c.noteStart) + name + "." + c.noteEnd);
    (app.store.*c.clear)();
    (app.store.*c.clearName)();
    return false;
}

}  // namespace

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

void pamietaj_wyroznik_nazwy(AppState& app, const std::string& path) {
    std::string rest;
    app.store.wyroznik = wyroznik_z_nazwy(path, &rest);
    app.store.rozszerzenie = rest;
}

std::filesystem::path nazwa_pelna_rady(AppState& app, const std::string& file) {
    return fullName(app, kAdvicePlace, file);
}
std::filesystem::path nazwa_pelna_grafiki(AppState& app, const std::string& file) {
    return fullName(app, kGraphicsPlace, file);
}
std::filesystem::path nazwa_pelna_melodii(AppState& app, const std::string& file) {
    return fullName(app, kSoundPlace, file);
}

bool sa_pliki_rad(AppState& app) {
    return checkDirectory(app, {"../ADVICES/", "*.HLP", "No subdirectory with advice Text Files for",
                                "No subdirectory with advice Text Files for Knowledge Base ",
                                "Therefore the advice base can not be loaded.",
                                "\nTherefore the advice base can not be loaded.", &Store::kasowanie_drada,
                                &Store::kasowanie_nazwy_ra, &Store::nazwa_ra});
}

bool sa_pliki_grafiki(AppState& app) {
    return checkDirectory(app, {"../GRAPHICS/", "*.BMP", "No directory with Graphics Files for",
                                "No directory with Graphics Files for Knowledge Base ",
                                "Therefore the Graphics Base can not be loaded.",
                                "\nherefore the Graphics Base can not be loaded.", &Store::kasowanie_dgrafika,
                                &Store::kasowanie_nazwy_gr, &Store::nazwa_gr});
}

bool sa_pliki_melodii(AppState& app) {
    return checkDirectory(app, {"../SOUNDS/", "*.WAV", "No directory with Sound Files for",
                                "No directory with Sound Files for Knowledge Base ",
                                "Therefore the Sound Base can not be loaded.",
                                "\nherefore the Sound Base can not be loaded.", &Store::kasowanie_dmelodie,
                                &Store::kasowanie_nazwy_me, &Store::nazwa_me});
}

void wyznacz_nazwe_opisu(AppState& app) {
    app.verdicts.opis = "../ABSTRACTS/" + app.store.wyroznik.value_or("") + ".abs";
}

}  // namespace torv::kb
