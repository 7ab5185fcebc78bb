// Runs the fuzz target over the corpus without libFuzzer, for compilers that lack it (g++):
//   projectfile_replay <file or folder>...
// Every input is run once; a violated check aborts, as it does under the fuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize);

namespace {

int RunFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string strBytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(strBytes.data()), strBytes.size());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    int nRun = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (!std::filesystem::is_directory(path)) {
            nRun += RunFile(path);
            continue;
        }
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(path)) {
            files.push_back(entry.path());
        }
        for (const auto& file : files) {
            nRun += RunFile(file);
        }
    }
    std::printf("replayed %d inputs\n", nRun);
    return nRun > 0 ? 0 : 1;
}
