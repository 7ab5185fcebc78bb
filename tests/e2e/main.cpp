// quillet_e2e --exe <Quillet.exe> --scratch <folder> --case <name> [--shots]
//             [--kills <n>] [--seed <n>] [--wine-state <folder> --wine-scripts <folder>]
//             [--report <file>]
// quillet_e2e --list
#include "Check.h"
#include "Driver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    std::string caseName;
    e2e::Options& options = e2e::GetOptions();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--list") {
            e2e::ListCases();
            return 0;
        } else if (arg == "--shots") {
            options.holdForShots = true;
        } else if (arg == "--kills" && hasValue) {
            options.kills = std::atoi(argv[++i]);
        } else if (arg == "--seed" && hasValue) {
            options.seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--case" && hasValue) {
            caseName = argv[++i];
        } else if (arg == "--exe" && hasValue) {
            options.exePath = e2e::ToWindowsPath(argv[++i]);
        } else if (arg == "--wine-state" && hasValue) {
            options.wineState = argv[++i];
        } else if (arg == "--wine-scripts" && hasValue) {
            options.wineScripts = argv[++i];
        } else if (arg == "--report" && hasValue) {
            options.reportPath = e2e::ToWindowsPath(argv[++i]);
        } else if (arg == "--scratch" && hasValue) {
            options.scratchRoot = e2e::ToWindowsPath(argv[++i]);
        } else {
            std::printf("unknown argument %s\n", arg.c_str());
            return 2;
        }
    }
    if (caseName.empty() || options.exePath.empty() || options.scratchRoot.empty()) {
        std::printf("usage: quillet_e2e --exe <Quillet.exe> --scratch <folder> --case <name> "
                    "[--shots] [--kills <n>] [--seed <n>] | --list\n");
        return 2;
    }
    return e2e::RunCase(caseName);
}
