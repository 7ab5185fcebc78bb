// What the program file itself carries: its icons in the sizes and colours the shell and the
// notification area ask for at every DPI, its version (set once in CMake) in the version
// resource's numbers and strings and in the manifest, and its German (Germany) resource language.
#include "scene.h"

#include <cstring>

#include "Version.h"

using namespace e2e;

namespace {

const void* LoadResourceBytes(HMODULE module, LPCSTR type, LPCSTR name, DWORD* size = nullptr) {
    HRSRC found = FindResourceA(module, name, type);
    if (!found)
        return nullptr;
    if (size)
        *size = SizeofResource(module, found);
    return LockResource(LoadResource(module, found));
}

// "16x16x8" for each image of the icon group, from the image's own header: a bitmap's, or a
// PNG's IHDR (width and height big-endian at bytes 16 and 20, colour type at byte 25).
std::vector<std::string> IconImages(HMODULE module, int group) {
    std::vector<std::string> images;
    // The group holds the number of images at byte 4, then 14 bytes per image ending in its id.
    const auto* directory =
        static_cast<const BYTE*>(LoadResourceBytes(module, RT_GROUP_ICON, MAKEINTRESOURCEA(group)));
    const auto little = [](const BYTE* at) { return static_cast<WORD>(at[0] | at[1] << 8); };
    for (int i = 0; directory && i < little(directory + 4); ++i) {
        const auto* bytes = static_cast<const BYTE*>(LoadResourceBytes(
            module, RT_ICON, MAKEINTRESOURCEA(little(directory + 6 + 14 * i + 12))));
        const auto* bitmap = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
        const auto big = [&](int at) {
            return bytes[at] << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3];
        };
        if (bytes && std::memcmp(bytes, "\x89PNG\r\n\x1a\n", 8) == 0)
            images.push_back(std::to_string(big(16)) + "x" + std::to_string(big(20)) + "x" +
                             (bytes[25] == 6 ? "32" : "?") + " png");
        else if (!bitmap || bitmap->biSize != sizeof(BITMAPINFOHEADER))
            images.push_back("not a bitmap image");
        else
            images.push_back(std::to_string(bitmap->biWidth) + "x" +
                             std::to_string(bitmap->biHeight / 2) + "x" +
                             std::to_string(bitmap->biBitCount));
    }
    return images;
}

// The width of the icon the system makes from the group's image for `size` pixels, loaded as
// the program loads it; 0 when it makes none.
int IconWidth(HMODULE module, int group, int size) {
    const HICON icon =
        static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(group), IMAGE_ICON, size, size, 0));
    ICONINFO info{};
    BITMAP bitmap{};
    if (!icon || !GetIconInfo(icon, &info))
        return 0;
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    return bitmap.bmWidth;
}

// A string field of the German (Windows-1252) block of the version resource, as Explorer shows it.
std::string VersionField(const std::vector<char>& info, const std::string& name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = "\\StringFileInfo\\040704e4\\" + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
        return "(missing)";
    return std::string(value, length && !value[length - 1] ? length - 1 : length);
}

} // namespace

// 256-colour images for older displays, and 32-bit ones with alpha in the sizes Windows asks for
// at 96 to 192 DPI and in large views, as PNG (uncompressed, they would be much of the exe).
E2E_CASE("resources.icons_have_256_colour_and_alpha_images_for_every_dpi") {
    HMODULE module =
        LoadLibraryExA(GetOptions().exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(module != nullptr);
    for (int group : {IDR_MAINFRAME, IDI_TRAY}) {
        std::vector<std::string> images = IconImages(module, group);
        CHECK_EQ(images, (std::vector<std::string>{
                             "16x16x8", "32x32x8", "16x16x32 png", "20x20x32 png", "24x24x32 png",
                             "32x32x32 png", "40x40x32 png", "48x48x32 png", "256x256x32 png"}));
        // The system picks the image of each size and makes an icon of it.
        for (int size : {16, 20, 24, 32, 40, 48, 256})
            CHECK_EQ(IconWidth(module, group, size), size);
    }
    FreeLibrary(module);
}

E2E_CASE("resources.one_version_in_numbers_strings_and_manifest_in_german") {
    const std::string exe = GetOptions().exePath;
    std::vector<char> info(GetFileVersionInfoSizeA(exe.c_str(), nullptr));
    REQUIRE(!info.empty() && GetFileVersionInfoA(exe.c_str(), 0, info.size(), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    REQUIRE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    const DWORD versionMS = MAKELONG(QUILLET_VERSION_MINOR, QUILLET_VERSION_MAJOR);
    const DWORD versionLS = MAKELONG(QUILLET_VERSION_TWEAK, QUILLET_VERSION_PATCH);
    CHECK_EQ(fixed->dwFileVersionMS, versionMS);
    CHECK_EQ(fixed->dwFileVersionLS, versionLS);
    CHECK_EQ(fixed->dwProductVersionMS, versionMS);
    CHECK_EQ(fixed->dwProductVersionLS, versionLS);
    CHECK_EQ(VersionField(info, "FileVersion"), std::string(QUILLET_VERSION_STRING));
    CHECK_EQ(VersionField(info, "ProductVersion"), std::string(QUILLET_VERSION_STRING));

    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(module != nullptr);
    const WORD german = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
    CHECK(FindResourceExA(module, RT_DIALOG, MAKEINTRESOURCEA(IDD_CLOCK_DIALOG), german));
    CHECK(FindResourceExA(module, RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO), german));
    const std::string identity = "name=\"Quillet\" version=\"" QUILLET_VERSION_STRING "\"";
    DWORD size = 0;
    const auto* manifest = static_cast<const char*>(
        LoadResourceBytes(module, RT_MANIFEST, MAKEINTRESOURCEA(1), &size));
    CHECK(manifest && std::string(manifest, size).find(identity) != std::string::npos);
    FreeLibrary(module);
}
