// Runs a fuzz target on files instead of generated inputs: every file named
// on the command line, and every file of every folder named (sorted by name,
// hidden files left out). A target that crashes or aborts on one of them
// fails the run; the name of the input is printed before it runs, so the
// log says which one.
//
//   fuzz_<target> FILE|FOLDER...

#include "fuzzsupport.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool readFile(const fs::path &path, std::vector<uint8_t> *bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

int main(int argc, char **argv)
{
    LLVMFuzzerInitialize(&argc, &argv);

    std::vector<fs::path> inputs;
    int missing = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg(argv[i]);
        std::error_code error;
        if (fs::is_directory(arg, error)) {
            std::vector<fs::path> files;
            for (const fs::directory_entry &entry : fs::directory_iterator(arg, error)) {
                const std::string name = entry.path().filename().string();
                if (entry.is_regular_file() && !name.empty() && name.front() != '.')
                    files.push_back(entry.path());
            }
            std::sort(files.begin(), files.end());
            inputs.insert(inputs.end(), files.begin(), files.end());
        } else if (fs::is_regular_file(arg, error)) {
            inputs.push_back(arg);
        } else {
            std::fprintf(stderr, "%s: no such file or folder\n", argv[i]);
            ++missing;
        }
    }
    if (missing > 0)
        return 2;
    if (inputs.empty()) {
        std::fprintf(stderr, "no input to replay\n");
        return 2;
    }

    std::vector<uint8_t> bytes;
    for (const fs::path &path : inputs) {
        if (!readFile(path, &bytes)) {
            std::fprintf(stderr, "%s: cannot be read\n", path.c_str());
            return 2;
        }
        std::printf("replay %s (%zu bytes)\n", path.c_str(), bytes.size());
        std::fflush(stdout);
        // A copy of exactly the input's size, so that a read past its end
        // shows under the address sanitizer as it would under the fuzzer.
        std::vector<uint8_t> exact(bytes);
        LLVMFuzzerTestOneInput(exact.empty() ? nullptr : exact.data(), exact.size());
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    return 0;
}
