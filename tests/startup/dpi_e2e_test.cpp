// The built screen saver declares itself per-monitor DPI aware in its manifest, so Windows never
// stretches the show; the settings dialog opts out again at run time.
#include <memory>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "media/test_media.h"
#include "platform/text_win32.h"

namespace kineloop {
namespace {

// The manifest resource (RT_MANIFEST 1) of a program, read without running it.
std::string ManifestOf(const std::wstring& program) {
    const HMODULE module = LoadLibraryExW(
        program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return "";
    std::string text;
    if (const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST)) {
        const HGLOBAL loaded = LoadResource(module, found);
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (bytes)
            text.assign(static_cast<const char*>(bytes), SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
}

// The text inside the first element named `name`, or nothing.
std::string ElementText(const std::string& xml, const std::string& name) {
    std::smatch found;
    const std::regex element("<" + name + "(\\s[^>]*)?>([\\s\\S]*?)</" + name + ">");
    return std::regex_search(xml, found, element) ? found[2].str() : "";
}

TEST(DpiManifest, DeclaresPerMonitorV2AndTheOlderPerMonitorFlag) {
    const std::string manifest = ManifestOf(test::BuiltScreenSaver());
    ASSERT_FALSE(manifest.empty()) << "no manifest resource";
    // Windows reads both only inside windowsSettings.
    const std::string settings = ElementText(manifest, "windowsSettings");
    // Windows 10 (1703) and later read dpiAwareness and take the first value they know.
    const std::string awareness = ElementText(settings, "dpiAwareness");
    EXPECT_EQ(awareness.substr(0, awareness.find(',')), "PerMonitorV2") << awareness;
    // Earlier systems read dpiAware: "true/pm" is per-monitor on 8.1, system-aware before it.
    EXPECT_EQ(ElementText(settings, "dpiAware"), "true/pm");
    EXPECT_NE(settings.find("http://schemas.microsoft.com/SMI/2016/WindowsSettings"),
              std::string::npos);
    EXPECT_NE(settings.find("http://schemas.microsoft.com/SMI/2005/WindowsSettings"),
              std::string::npos);
}

// The DPI awareness of another program's window (DPI_AWARENESS: 0 unaware, 1 system, 2 per
// monitor), or -1 where the system cannot tell.
int AwarenessOf(HWND window) {
    using WindowContext = HANDLE(WINAPI*)(HWND);
    using AwarenessFromContext = int(WINAPI*)(HANDLE);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto windowContext = reinterpret_cast<WindowContext>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
    const auto awareness = reinterpret_cast<AwarenessFromContext>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    return windowContext && awareness ? awareness(windowContext(window)) : -1;
}

TEST(DpiAwareness, TheShowDrawsInRealPixelsAndTheDialogIsScaledWhole) {
    test::TempFolder folder;
    const std::wstring scr = test::InstallScreenSaver(folder);
    const std::wstring ini = folder / L"Kineloop.ini";
    test::WriteSetting(ini, "AVI_File",
                       Narrow(test::WindowsPath(test_media::MediaPath(test_media::kClip320x240))));
    test::WriteSetting(ini, "Pic_Width", "320");
    test::WriteSetting(ini, "Pic_Height", "240");
    {
        test::SaverProcess show(scr, L"/s", folder.Path());
        const HWND window = test::WaitForTopWindow(show.Id(), L"Kine_Main");
        ASSERT_TRUE(window);
        EXPECT_EQ(AwarenessOf(window), 2) << "the show is not per-monitor aware";
    }
    test::SaverProcess settings(scr, L"/c", folder.Path());
    const HWND dialog = test::WaitForTopWindow(settings.Id(), L"<Kineloopの設定>");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(AwarenessOf(dialog), 0) << "the dialog would lay out its 96-DPI design at any DPI";
}

}  // namespace
}  // namespace kineloop
