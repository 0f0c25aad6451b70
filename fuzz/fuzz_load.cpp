// One base loader on any file: the loading command as the menu runs it,
// with its checks and (for small inputs) the diagnoses it offers. Built
// once per base; TORVAE_FUZZ_BASE names which.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_port.h"
#include "loading/loading.h"
#include "state/app_state.h"

namespace {

namespace fs = std::filesystem;
using torv::kb::LoadOption;

struct Target {
    LoadOption option;
    const char* prefix;   // of the base file's name
    const char* sample;   // knowledge base whose rule base is loaded first
};

constexpr Target kTargets[] = {
    {LoadOption::RuleBase, "RU", "garden"},       {LoadOption::ModelBase, "MO", "drive"},
    {LoadOption::ConstraintBase, "CO", "garden"}, {LoadOption::AdviceBase, "AD", "garden"},
    {LoadOption::GraphicsBase, "GR", "garden"},   {LoadOption::SoundBase, "SO", "garden"},
};
constexpr Target kTarget = kTargets[TORVAE_FUZZ_BASE];

/// Inputs up to this size also run the diagnoses offered on loading.
constexpr std::size_t kDiagnoseUpTo = 256;

fs::path gBases;   // BASES of a private copy of the sample

bool load(torv::fuzz::FuzzPort& port, torv::AppState& app, LoadOption option, const fs::path& file) {
    port.file = file;
    const auto result = torv::kb::opcja_z_menu_glownego(app, option);
    return result && !result->empty();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/torvae_fuzz_XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    const fs::path root(pattern);
    fs::copy(fs::path(TORVAE_EXAMPLES_DIR) / kTarget.sample, root, fs::copy_options::recursive);
    gBases = root / "BASES";
    // The sample must load, or every input would test nothing.
    torv::fuzz::FuzzPort port;
    torv::AppState app(port, gBases);
    if (!load(port, app, LoadOption::RuleBase, gBases / ("RU" + std::string(kTarget.sample) + ".AEB"))) {
        std::fprintf(stderr, "the sample rule base of %s did not load\n", kTarget.sample);
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    torv::fuzz::FuzzPort port;
    torv::AppState app(port, gBases);
    const std::string sample = kTarget.sample;
    if (kTarget.option != LoadOption::RuleBase) load(port, app, LoadOption::RuleBase, gBases / ("RU" + sample + ".AEB"));
    const fs::path file =
        gBases / (kTarget.option == LoadOption::RuleBase ? "RUfuzz.AEB" : kTarget.prefix + sample + ".AEB");
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                   static_cast<std::streamsize>(size));
    port.diagnose = size <= kDiagnoseUpTo;
    load(port, app, kTarget.option, file);
    return 0;
}
