// The port of the fuzz targets: shows nothing, opens the one file it is
// given, saves nothing, and answers every question the same way.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "port/text_port.h"

namespace torv::fuzz {

class FuzzPort : public port::TextPort {
public:
    /// The path every open-file dialog returns.
    std::filesystem::path file;
    /// The answer to the offers of the diagnoses ("Choose" boxes): those
    /// take time that grows fast with the base, so only small inputs say yes.
    bool diagnose = false;

protected:
    void present(const port::Dialog&) override {}
    std::optional<std::string> answer(const port::Dialog& d) override {
        if (d.kind == "open file") return file.string();
        if (d.kind == "save file") return std::nullopt;
        if (d.kind == "yes/no" && (d.title == "Choose" || d.title == "Choose:")) return diagnose ? "yes" : "no";
        return "1";   // yes, the first button, the first item
    }
};

}  // namespace torv::fuzz
