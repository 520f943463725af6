// Runs a fuzz target's entry point once on every file of the folders (or files)
// given on the command line, so fuzz corpora also run as ordinary tests; with
// --sweep first, their truncation and mutation sweep instead (FuzzSweep.h).
// A folder that does not exist is skipped (the shared corpus may be absent).

#include "FuzzSweep.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

static bool runOne(const std::filesystem::path &file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    return true;
}

int main(int argc, char **argv) {
    namespace fs = std::filesystem;
    if (argc > 1 && std::string(argv[1]) == "--sweep") return runFuzzSweep(argc - 2, argv + 2);
    int ran = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg(argv[i]);
        std::error_code ec;
        if (fs::is_directory(arg, ec)) {
            std::vector<fs::path> files;
            for (const auto &entry : fs::recursive_directory_iterator(arg, ec))
                if (entry.is_regular_file()) files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const auto &f : files) ok &= runOne(f), ++ran;
        } else if (fs::is_regular_file(arg, ec)) {
            ok &= runOne(arg), ++ran;
        }
    }
    std::printf("replayed %d inputs\n", ran);
    return ok ? 0 : 1;
}
