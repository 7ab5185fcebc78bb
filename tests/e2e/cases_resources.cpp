// What the program file itself carries: its icons in the sizes and colours the shell and the
// notification area ask for, its version, and its German (Germany) resource language.
#include "Check.h"
#include "Driver.h"

#include <windows.h>

#include <algorithm>

#include "resource.h"

using namespace e2e;

namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved, type, count;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

const void* LoadResourceBytes(HMODULE module, LPCSTR type, LPCSTR name, DWORD* size = nullptr) {
    HRSRC found = FindResourceA(module, name, type);
    if (!found)
        return nullptr;
    if (size)
        *size = SizeofResource(module, found);
    return LockResource(LoadResource(module, found));
}

// "16x16x8" for each image of the icon group, from the images' own bitmap headers.
std::vector<std::string> IconImages(HMODULE module, int group) {
    std::vector<std::string> images;
    const auto* header = static_cast<const GroupIconHeader*>(
        LoadResourceBytes(module, RT_GROUP_ICON, MAKEINTRESOURCEA(group)));
    if (!header)
        return images;
    for (WORD i = 0; i < header->count; ++i) {
        const auto* bitmap = static_cast<const BITMAPINFOHEADER*>(
            LoadResourceBytes(module, RT_ICON, MAKEINTRESOURCEA(header->entries[i].id)));
        if (!bitmap || bitmap->biSize != sizeof(BITMAPINFOHEADER)) {
            images.push_back("not a bitmap image");
            continue;
        }
        images.push_back(std::to_string(bitmap->biWidth) + "x" +
                         std::to_string(bitmap->biHeight / 2) + "x" +
                         std::to_string(bitmap->biBitCount));
    }
    return images;
}

} // namespace

E2E_CASE("resources.icons_have_16_and_32_pixel_256_colour_images") {
    HMODULE module =
        LoadLibraryExA(GetOptions().exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(module != nullptr);
    for (int group : {IDR_MAINFRAME, IDI_TRAY}) {
        std::vector<std::string> images = IconImages(module, group);
        std::sort(images.begin(), images.end());
        CHECK_EQ(images, (std::vector<std::string>{"16x16x8", "32x32x8"}));
    }
    FreeLibrary(module);
}

E2E_CASE("resources.version_1_0_0_1_in_german") {
    const std::string exe = GetOptions().exePath;
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(exe.c_str(), &ignored));
    REQUIRE(!info.empty() && GetFileVersionInfoA(exe.c_str(), 0, info.size(), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    REQUIRE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    CHECK_EQ(fixed->dwFileVersionMS, DWORD{0x00010000});
    CHECK_EQ(fixed->dwFileVersionLS, DWORD{0x00000001});
    CHECK_EQ(fixed->dwProductVersionMS, DWORD{0x00010000});
    CHECK_EQ(fixed->dwProductVersionLS, DWORD{0x00000001});

    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(module != nullptr);
    const WORD german = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
    CHECK(FindResourceExA(module, RT_DIALOG, MAKEINTRESOURCEA(IDD_CLOCK_DIALOG), german) !=
          nullptr);
    CHECK(FindResourceExA(module, RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO), german) !=
          nullptr);
    FreeLibrary(module);
}
