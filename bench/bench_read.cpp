// Times reading a large rule base: generates N rules of 4 conditions each,
// reads the file into the store, and prints the time and peak memory.
//   bench_read [rules=100000]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

#include "kb/base_file.h"

namespace {

void writeRuleBase(const std::filesystem::path& file, int rules) {
    std::ofstream out(file, std::ios::binary);
    for (int i = 1; i <= rules; ++i) {
        out << "rule(" << i << ",\"conclusion_" << i << "\",[";
        for (int c = 0; c < 4; ++c) {
            if (c) out << ',';
            // One condition in five negated, as in real bases.
            out << "\"" << ((i + c) % 5 == 0 ? "n" : "") << "condition_" << (i * 7 + c * 13) % (rules + 17) << "\"";
        }
        out << "]," << (i % 2) << ")\n";
    }
}

long peakKiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    const int rules = argc > 1 ? std::atoi(argv[1]) : 100000;
    const auto file = std::filesystem::temp_directory_path() / ("RUbench" + std::to_string(::getpid()) + ".AEB");
    writeRuleBase(file, rules);
    const long before = peakKiB();

    const auto t0 = std::chrono::steady_clock::now();
    auto result = torv::kb::readBaseFile(torv::kb::BaseKind::Rule, file);
    torv::kb::Store store;
    if (auto* base = std::get_if<torv::kb::AnyBase>(&result)) torv::kb::storeBase(store, std::move(*base));
    const auto t1 = std::chrono::steady_clock::now();

    std::filesystem::remove(file);
    if (std::holds_alternative<torv::kb::ReadError>(result)) {
        std::printf("read failed: %s\n", std::get<torv::kb::ReadError>(result).message.c_str());
        return 1;
    }
    std::printf("rules read: %zu\n", store.rules().size());
    std::printf("time: %.3f s\n", std::chrono::duration<double>(t1 - t0).count());
    std::printf("peak memory: %.1f MB (before reading: %.1f MB)\n", peakKiB() / 1024.0, before / 1024.0);
    return 0;
}
