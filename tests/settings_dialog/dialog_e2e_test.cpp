// The settings dialog end to end: the real Kineloop.scr started with /C on a 1024 x 768 virtual
// screen, its controls found, read, typed into and clicked as a user would, its file read back.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "driver/dialog_places.h"
#include "driver/driver.h"
#include "media/test_media.h"
#include "platform/text_win32.h"

namespace kineloop {
namespace {

using namespace test;

bool Near(COLORREF a, COLORREF b, int tolerance = 40) {
    return ColoursNear(a, b, tolerance);
}

std::string Hex(COLORREF c) {
    char text[16];
    snprintf(text, sizeof text, "%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// Text in the settings file's code page (Shift-JIS here).
std::string Ansi(const std::wstring& text) {
    const int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(),
                        length, nullptr, nullptr);
    return bytes;
}

std::wstring Media(const char* name) {
    return WindowsPath(test_media::MediaPath(name));
}

class SettingsDialogTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::wstring scr = InstallScreenSaver(folder);
    std::wstring ini = folder / L"Kineloop.ini";
    std::unique_ptr<SaverProcess> saver;
    HWND dialog = nullptr;

    // Starts the settings mode and waits for the dialog to show.
    HWND Open(const std::wstring& arguments = L"/c") {
        saver = std::make_unique<SaverProcess>(scr, arguments, folder.Path());
        dialog = WaitForTopWindow(saver->Id(), kCaption);
        return dialog;
    }

    // The control whose designed rectangle (x, y, width, height) lies at `origin` in the dialog;
    // fails the test when something else is there.
    HWND Control(POINT origin, int x, int y, int width, int height) {
        const HWND control =
            ControlAt(dialog, {origin.x + x + width / 2, origin.y + y + height / 2});
        EXPECT_NE(control, nullptr) << x << "," << y;
        return control;
    }
    HWND InDialog(int x, int y, int w, int h) { return Control({0, 0}, x, y, w, h); }
    HWND InPicB(int x, int y, int w, int h) { return Control(kPicB, x, y, w, h); }
    HWND InPicC(int x, int y, int w, int h) { return Control(kPicC, x, y, w, h); }
    HWND InPicD(int x, int y, int w, int h) { return Control(kPicD, x, y, w, h); }

    HWND CmdSet() { return InDialog(344, 432, 73, 29); }
    HWND CmdCan() { return InDialog(420, 432, 73, 29); }
    HWND CmdAviGet() { return InPicB(124, 36, 37, 25); }
    HWND LblFname() { return InPicB(16, 68, 353, 33); }
    HWND LblFlameFT() { return InPicB(248, 32, 77, 13); }
    HWND LblFlameSize() { return InPicB(248, 48, 71, 13); }
    HWND FlameFrom() { return InPicC(68, 32, 45, 18); }
    HWND FlameTo() { return InPicC(156, 32, 41, 18); }
    HWND FlameSkip() { return InPicC(68, 56, 45, 18); }
    HWND PicWidth() { return InPicC(284, 32, 45, 18); }
    HWND PicHeight() { return InPicC(376, 32, 41, 17); }
    HWND Chk() { return InPicC(264, 56, 17, 13); }
    HWND LblChk() { return InPicC(280, 56, 123, 13); }
    HWND HsFast() { return InPicC(312, 80, 97, 17); }
    // BGM_Repeat, found through the edit field at its left.
    HWND BgmRepeat() {
        HWND control = ControlAt(dialog, {kPicD.x + 80 + 8, kPicD.y + 36 + 10});
        wchar_t name[32] = {};
        while (control && GetClassNameW(control, name, 32) && lstrcmpiW(name, L"ComboBox") != 0)
            control = GetParent(control);
        EXPECT_NE(control, nullptr);
        return control;
    }
    HWND CmdFile() { return InPicD(100, 64, 33, 25); }
    HWND LblBgmFile() { return InPicD(16, 92, 445, 33); }
    HWND ImgBgm(int kind) { return InPicD(16, kind == 0 ? 56 : kind == 1 ? 40 : 72, 13, 13); }
    HWND LblBgm(int kind) {
        return kind == 0   ? InPicD(32, 56, 22, 13)
               : kind == 1 ? InPicD(32, 40, 43, 13)
                           : InPicD(32, 72, 60, 13);
    }
    // Pic_Disp: found at the bottom of its designed box, where every thumbnail reaches.
    HWND PicDisp() { return ControlAt(dialog, {kPicB.x + 376 + 30, kPicB.y + 99}); }

    bool Checked() { return SendMessageW(Chk(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

    // Chooses a video through Cmd_Avi_Get and the platform's file-open dialog.
    void ChooseVideo(const std::wstring& typedName) {
        ClickControl(CmdAviGet());
        ASSERT_TRUE(AnswerFileDialog(saver->Id(), kFileDialogTitle, typedName));
    }

    void ExpectRectIn(HWND control, HWND container, RECT expected, const char* what) {
        const RECT r = ControlRect(control, container);
        EXPECT_EQ(r.left, expected.left) << what;
        EXPECT_EQ(r.top, expected.top) << what;
        EXPECT_EQ(r.right - r.left, expected.right) << what << " width";
        EXPECT_EQ(r.bottom - r.top, expected.bottom) << what << " height";
    }
};

TEST_F(SettingsDialogTest, OpensInPlaceWithEveryControlWhereDesignedAndTheStoredSettingsShown) {
    const std::wstring video = Media(test_media::kClip320x240);
    WriteSetting(ini, "AVI_File", Narrow(video));
    WriteSetting(ini, "Flame_From", "0");
    WriteSetting(ini, "Flame_To", "100");
    WriteSetting(ini, "Pic_Height", "120");
    WriteSetting(ini, "Flame_Skip", "0");
    WriteSetting(ini, "Fast", "500");
    WriteSetting(ini, "Rate", "0");
    WriteSetting(ini, "BGM区分", "1");
    ASSERT_TRUE(Open());

    // Place and size: a 508 x 478 client area, centred, a third of the free height from the top.
    RECT client{}, frame{};
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &frame);
    EXPECT_EQ(client.right, 508);
    EXPECT_EQ(client.bottom, 478);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    EXPECT_EQ(frame.left, (1024 - width) * 15 / 2 / 15);
    EXPECT_EQ(frame.top, (768 - height) * 15 / 3 / 15);

    // The controls at their designed places, each found at the middle of its rectangle.
    struct Place {
        const char* what;
        HWND control;
        POINT origin;
        RECT rect;  // left, top, width, height
    };
    const Place places[] = {
        {"Cmd_Set", CmdSet(), {0, 0}, {344, 432, 73, 29}},
        {"Cmd_Can", CmdCan(), {0, 0}, {420, 432, 73, 29}},
        {"lbl_URL", InDialog(12, 444, 219, 13), {0, 0}, {12, 444, 219, 13}},
        {"Cmd_Avi_Get", CmdAviGet(), kPicB, {124, 36, 37, 25}},
        {"lbl_Fname", LblFname(), kPicB, {16, 68, 353, 33}},
        {"lbl_Flame_FT", LblFlameFT(), kPicB, {248, 32, 77, 13}},
        {"Flame_From", FlameFrom(), kPicC, {68, 32, 45, 18}},
        {"Flame_To", FlameTo(), kPicC, {156, 32, 41, 18}},
        {"Flame_Skip", FlameSkip(), kPicC, {68, 56, 45, 18}},
        {"Pic_Width", PicWidth(), kPicC, {284, 32, 45, 18}},
        {"Pic_Height", PicHeight(), kPicC, {376, 32, 41, 17}},
        {"Chk", Chk(), kPicC, {264, 56, 17, 13}},
        {"lbl_Chk", LblChk(), kPicC, {280, 56, 123, 13}},
        {"HS_Fast", HsFast(), kPicC, {312, 80, 97, 17}},
        {"BGM_Repeat", BgmRepeat(), kPicD, {80, 36, 41, 20}},
        {"Img_BGM(1)", ImgBgm(1), kPicD, {16, 40, 13, 13}},
        {"lbl_BGM(2)", LblBgm(2), kPicD, {32, 72, 60, 13}},
        {"Cmd_File", CmdFile(), kPicD, {100, 64, 33, 25}},
        {"lbl_BGM_File", LblBgmFile(), kPicD, {16, 92, 445, 33}},
    };
    for (const Place& p : places) {
        const RECT r = ControlRect(p.control, dialog);
        EXPECT_EQ(r.left - p.origin.x, p.rect.left) << p.what;
        EXPECT_EQ(r.top - p.origin.y, p.rect.top) << p.what;
        EXPECT_EQ(r.right - r.left, p.rect.right) << p.what;
        EXPECT_EQ(r.bottom - r.top, p.rect.bottom) << p.what;
    }
    // The panels: Pic_C inside Pic_B, Pic_D beside it.
    const HWND picC = GetParent(FlameFrom()), picB = GetParent(picC), picD = GetParent(CmdFile());
    ExpectRectIn(picB, dialog, {12, 12, 481, 253}, "Pic_B");
    ExpectRectIn(picC, picB, {16, 108, 445, 125}, "Pic_C");
    ExpectRectIn(picD, dialog, {12, 276, 481, 145}, "Pic_D");

    // The texts after load, the stored video read again without touching the text boxes.
    EXPECT_EQ(ControlText(LblFname()), video);
    EXPECT_EQ(ControlText(LblFlameFT()), L"0 ～ 9");
    EXPECT_EQ(ControlText(LblFlameSize()), L"320 * 240");
    EXPECT_EQ(ControlText(FlameFrom()), L"0");
    EXPECT_EQ(ControlText(FlameTo()), L"100");
    EXPECT_EQ(ControlText(PicWidth()), L"");
    EXPECT_EQ(ControlText(PicHeight()), L"120");
    EXPECT_EQ(ControlText(FlameSkip()), L"0");
    EXPECT_EQ(ControlText(BgmRepeat()), L"");
    EXPECT_EQ(SendMessageW(BgmRepeat(), CB_GETCOUNT, 0, 0), 31);
    EXPECT_FALSE(Checked());
    EXPECT_EQ(SendMessageW(HsFast(), SBM_GETPOS, 0, 0), 500);
    EXPECT_TRUE(IsWindowEnabled(BgmRepeat()));  // music kind 1, the audio CD
    EXPECT_FALSE(IsWindowEnabled(CmdFile()));

    // The thumbnail of the stored 320 x 240 video: 85 x 64, its bottom edge at 101, first frame
    // red.
    const HWND picDisp = PicDisp();
    ExpectRectIn(picDisp, picB, {376, 37, 85, 64}, "Pic_Disp");
    EXPECT_TRUE(Near(ControlPixel(picDisp, 42, 32), RGB(255, 0, 0)))
        << Hex(ControlPixel(picDisp, 42, 32));

    // The painted band: dark blue at the top, lightest half way down (right of the panels).
    EXPECT_TRUE(Near(ControlPixel(dialog, 500, 0), RGB(0, 0, 30), 8))
        << Hex(ControlPixel(dialog, 500, 0));
    EXPECT_TRUE(Near(ControlPixel(dialog, 500, 239), RGB(220, 220, 250), 8))
        << Hex(ControlPixel(dialog, 500, 239));
    // The panels show the light grey band texture.
    const COLORREF panel = ControlPixel(picB, 300, 240);
    EXPECT_TRUE(Near(panel, RGB(204, 204, 208), 30)) << Hex(panel);

    // The tab order runs across the panels as designed, past the disabled Cmd_File.
    auto focus = [this] { return FocusIn(dialog); };
    EXPECT_EQ(focus(), FlameFrom());
    const HWND order[] = {FlameTo(), PicWidth(), PicHeight(), FlameSkip(),
                          CmdSet(),  CmdCan(),   CmdAviGet()};
    for (HWND next : order) {
        PressKey(VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return focus() == next; }, 5000))
            << Narrow(ControlText(next)) << " " << ControlRect(next, dialog).left;
    }
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return GetParent(focus()) == BgmRepeat(); }, 5000));
    for (HWND next : {Chk(), HsFast(), FlameFrom()}) {
        PressKey(VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return focus() == next; }, 5000));
    }

    // The web link shows its own hand-shaped pointer.
    const HWND link = InDialog(12, 444, 219, 13);
    POINT overLink{20, 6};
    ClientToScreen(link, &overLink);
    MoveMouseTo(overLink.x, overLink.y);
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    EXPECT_TRUE(WaitUntil(
        [&] {
            CURSORINFO info{};
            info.cbSize = sizeof info;
            return GetCursorInfo(&info) && info.hCursor && info.hCursor != arrow;
        },
        5000));

    if (const char* shot = getenv("KINELOOP_DIALOG_SCREENSHOT"))
        SaveScreenshot(Widen(shot));
}

TEST_F(SettingsDialogTest, AChosenVideoFillsTheFieldsAndEveryEditIsSavedInOrder) {
    // A folder with a Japanese name and a blank, holding a landscape and a portrait video.
    const std::wstring videos = folder / L"動画 フォルダ";
    ASSERT_TRUE(CreateDirectoryW(videos.c_str(), nullptr));
    const std::wstring landscape = videos + L"\\clip 320.avi";
    const std::wstring portrait = videos + L"\\portrait.avi";
    ASSERT_TRUE(CopyFileW(Media(test_media::kClip320x240).c_str(), landscape.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(WindowsPath(KINELOOP_PORTRAIT_AVI).c_str(), portrait.c_str(), FALSE));
    const std::wstring music = videos + L"\\曲.wav";
    ASSERT_TRUE(WriteFileBytes(music, "RIFF"));
    ASSERT_TRUE(Open());
    const HWND picB = GetParent(CmdAviGet());

    // The video: its range, its size and step 1, its thumbnail 85 x 64 with the bottom at 101.
    ChooseVideo(landscape);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(FlameTo()) == L"9"; }));
    EXPECT_EQ(ControlText(FlameFrom()), L"0");
    EXPECT_EQ(ControlText(PicWidth()), L"320");
    EXPECT_EQ(ControlText(PicHeight()), L"240");
    EXPECT_EQ(ControlText(FlameSkip()), L"1");
    EXPECT_EQ(ControlText(LblFname()), landscape);
    EXPECT_EQ(ControlText(LblFlameFT()), L"0 ～ 9");
    EXPECT_EQ(ControlText(LblFlameSize()), L"320 * 240");
    ASSERT_TRUE(WaitUntil([&] { return ControlRect(PicDisp(), picB).top == 37; }));
    ExpectRectIn(PicDisp(), picB, {376, 37, 85, 64}, "landscape thumbnail");
    EXPECT_TRUE(WaitUntil([&] { return Near(ControlPixel(PicDisp(), 42, 32), RGB(255, 0, 0)); }))
        << Hex(ControlPixel(PicDisp(), 42, 32));

    // Keep-aspect: the box is ticked as stored (Rate 1 by default); unticking changes nothing,
    // ticking with width 640 gives 480, and a click on the caption toggles the box.
    ASSERT_TRUE(Checked());
    ClickControl(Chk());
    ASSERT_TRUE(WaitUntil([&] { return !Checked(); }));
    SetControlText(PicWidth(), L"640");
    ClickControl(Chk());
    ASSERT_TRUE(WaitUntil([&] { return Checked(); }));
    EXPECT_TRUE(WaitUntil([&] { return ControlText(PicHeight()) == L"480"; }))
        << Narrow(ControlText(PicHeight()));
    ClickControl(LblChk());
    ASSERT_TRUE(WaitUntil([&] { return !Checked(); }));
    SetControlText(PicHeight(), L"100");
    // Away from the first click, so that the two are not one double-click.
    ClickControl(LblChk(), POINT{100, 6});
    ASSERT_TRUE(WaitUntil([&] { return Checked(); }));
    EXPECT_TRUE(WaitUntil([&] { return ControlText(PicHeight()) == L"480"; }));
    // A width typed in changes the height only when the box is left.
    ClickControl(PicWidth());
    ASSERT_TRUE(WaitUntil([&] { return FocusIn(dialog) == PicWidth(); }));
    SetControlText(PicWidth(), L"100");
    ClickControl(FlameFrom());
    EXPECT_TRUE(WaitUntil([&] { return ControlText(PicHeight()) == L"75"; }))
        << Narrow(ControlText(PicHeight()));

    // A second choice starts in the folder of the first: the bare name is found there.
    ChooseVideo(L"portrait.avi");
    ASSERT_TRUE(WaitUntil([&] { return ControlText(PicWidth()) == L"240"; }));
    EXPECT_EQ(ControlText(PicHeight()), L"320");
    EXPECT_EQ(ControlText(FlameTo()), L"2");
    ASSERT_TRUE(WaitUntil([&] { return ControlRect(PicDisp(), picB).top == 16; }));
    ExpectRectIn(PicDisp(), picB, {376, 16, 64, 85}, "portrait thumbnail");
    EXPECT_TRUE(WaitUntil([&] { return Near(ControlPixel(PicDisp(), 32, 42), RGB(0, 0, 255)); }))
        << Hex(ControlPixel(PicDisp(), 32, 42));

    // Music kinds, by bullet and by caption alike: each enables exactly its own control.
    struct KindClick {
        HWND target;
        bool repeatEnabled, fileEnabled;
    };
    const KindClick clicks[] = {{LblBgm(1), true, false},
                                {ImgBgm(2), false, true},
                                {LblBgm(0), false, false},
                                {ImgBgm(1), true, false}};
    for (const KindClick& click : clicks) {
        ClickControl(click.target);
        EXPECT_TRUE(WaitUntil([&] {
            return (IsWindowEnabled(BgmRepeat()) != FALSE) == click.repeatEnabled &&
                   (IsWindowEnabled(CmdFile()) != FALSE) == click.fileEnabled;
        })) << Narrow(ControlText(click.target));
        if (click.fileEnabled) {
            ClickControl(CmdFile());
            ASSERT_TRUE(AnswerFileDialog(saver->Id(), kFileDialogTitle, music));
            EXPECT_TRUE(WaitUntil([&] { return ControlText(LblBgmFile()) == music; }));
        }
    }
    SetControlText(BgmRepeat(), L"7");
    SetControlText(FlameSkip(), L"2.5");
    SendMessageW(HsFast(), SBM_SETPOS, 2000, TRUE);

    ClickControl(CmdSet());
    ASSERT_TRUE(saver->WaitForExit());
    const std::string expected = "[Section]\r\nAVI_File=" + Ansi(portrait) +
                                 "\r\nFlame_From=0\r\nFlame_To=2\r\nPic_Width=240\r\n"
                                 "Pic_Height=320\r\nFast=2000\r\nFlame_Skip=2\r\nRate=1\r\n"
                                 "BGM\x8b\xe6\x95\xaa=1\r\nBGM\xd8\xcb\xdf\xb0\xc4=7\r\n"
                                 "BGM\xcc\xa7\xb2\xd9=" +
                                 Ansi(music) + "\r\n";
    EXPECT_EQ(ReadFileBytes(ini), expected);
    EXPECT_FALSE(FileExistsAt(folder / L"Dummy.bmp"));
}

TEST_F(SettingsDialogTest, CancelAndTheCloseBoxLeaveTheFileAsItWas) {
    const std::string stored = "[Section]\r\nFast=40\r\nBGM\x8b\xe6\x95\xaa=1\r\n";
    ASSERT_TRUE(WriteFileBytes(ini, stored));
    TitledWindow host(L"Host");

    // Owned by the window named after "/c:"; every other start ends at once while it is open.
    ASSERT_TRUE(Open(L"/c:" + std::to_wstring(reinterpret_cast<INT_PTR>(host.Handle()))));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), host.Handle());
    {
        SaverProcess second(scr, L"/s", folder.Path());
        EXPECT_TRUE(second.WaitForExit(10000));
        EXPECT_EQ(FindTopWindow(second.Id()), nullptr);
    }
    SetControlText(FlameTo(), L"55");
    ClickControl(LblBgm(0));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(BgmRepeat()); }));
    ClickControl(CmdCan());
    ASSERT_TRUE(saver->WaitForExit());
    EXPECT_EQ(ReadFileBytes(ini), stored);

    ASSERT_TRUE(Open());
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    SetControlText(FlameSkip(), L"9");
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
    ASSERT_TRUE(saver->WaitForExit());
    EXPECT_EQ(ReadFileBytes(ini), stored);
}

// Mend: buttons and labels do what the hand or the keyboard meant, no more: a press let go off
// 設定 saves nothing, a label's double-click is one click, the focus leaves a button that is
// being disabled, Esc leaves and Enter on the focused 設定 saves; the disabled combo box keeps
// its white field.
TEST_F(SettingsDialogTest, KeysAndQuickHandsDoWhatTheUserMeant) {
    // Music kind 2 needs a music file that exists.
    const std::wstring music = folder / L"tone.wav";
    ASSERT_TRUE(WriteFileBytes(music, "RIFF"));
    const std::string stored =
        "[Section]\r\nFast=40\r\nBGM\x8b\xe6\x95\xaa=2\r\nBGM\xcc\xa7\xb2\xd9=" + Ansi(music) +
        "\r\n";
    ASSERT_TRUE(WriteFileBytes(ini, stored));
    ASSERT_TRUE(Open());
    auto focus = [this] { return FocusIn(dialog); };
    ASSERT_TRUE(WaitUntil([&] { return focus() == FlameFrom(); }));

    // Music kind 2: BGM_Repeat disabled, its empty field white.
    EXPECT_FALSE(IsWindowEnabled(BgmRepeat()));
    EXPECT_TRUE(WaitUntil(
        [&] { return Near(ControlPixel(BgmRepeat(), 12, 10), RGB(255, 255, 255), 8); }, 5000))
        << Hex(ControlPixel(BgmRepeat(), 12, 10));

    // Cmd_File has the focus when "なし" disables it: the focus goes on to 設定.
    for (int i = 0; i < 5; ++i)
        PressKey(VK_TAB);
    ASSERT_TRUE(WaitUntil([&] { return focus() == CmdFile(); }, 5000))
        << Narrow(ControlText(focus())) << " " << ControlRect(focus(), dialog).left << ","
        << ControlRect(focus(), dialog).top << " enabled " << IsWindowEnabled(CmdFile());
    ClickControl(LblBgm(0));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(CmdFile()); }))
        << "focus on " << Narrow(ControlText(focus())) << " hung " << IsHungAppWindow(dialog)
        << " repeat " << IsWindowEnabled(BgmRepeat());
    EXPECT_TRUE(WaitUntil([&] { return focus() == CmdSet(); }, 5000));

    // A double-click on the keep-aspect caption toggles the box once; the click on "音楽CD"
    // after it is answered only once the double-click has been.
    const bool before = Checked();
    DoubleClickControl(LblChk());
    ClickControl(LblBgm(1));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(BgmRepeat()); }));
    EXPECT_EQ(Checked(), !before);

    // 設定 pressed and let go at once over the background, then Esc: nothing saved.
    POINT background{300, 460};
    ClientToScreen(dialog, &background);
    PressControlReleaseAt(CmdSet(), background);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(saver->WaitForExit());
    EXPECT_EQ(ReadFileBytes(ini), stored);

    // Tab to 設定, past Cmd_File, and Enter: saved and closed.
    ASSERT_TRUE(Open());
    ASSERT_TRUE(WaitUntil([&] { return focus() == FlameFrom(); }));
    SetControlText(FlameTo(), L"55");
    for (int i = 0; i < 6; ++i)
        PressKey(VK_TAB);
    ASSERT_TRUE(WaitUntil([&] { return focus() == CmdSet(); }, 5000));
    PressKey(VK_RETURN);
    ASSERT_TRUE(saver->WaitForExit());
    EXPECT_NE(ReadFileBytes(ini).find("Flame_To=55\r\n"), std::string::npos) << ReadFileBytes(ini);
}

TEST_F(SettingsDialogTest, AStoredVideoThatCannotBeReadIsReportedBeforeTheDialogShows) {
    const std::wstring broken = folder / L"壊れた.avi";
    ASSERT_TRUE(CopyFileW(Media(test_media::kNotAvi).c_str(), broken.c_str(), FALSE));
    WriteSetting(ini, "AVI_File", Narrow(broken));
    saver = std::make_unique<SaverProcess>(scr, L"/c", folder.Path());
    const auto box = WaitForMessageBoxTitled(saver->Id(), L"Kineloop");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"Error : \r\n" + broken);
    EXPECT_EQ(FindTopWindow(saver->Id(), kCaption), nullptr);
    AnswerMessageBox(*box);
    ASSERT_TRUE(dialog = WaitForTopWindow(saver->Id(), kCaption));
    EXPECT_EQ(ControlText(LblFname()), broken);
    EXPECT_EQ(ControlText(LblFlameFT()), L"");
}

// Mend: a settings file that cannot be written is reported, and the dialog stays open with the
// edits in place, so that nothing typed is lost.
TEST_F(SettingsDialogTest, ASaveThatFailsSaysSoAndKeepsTheDialogOpen) {
    // Saves with Flame_To set to 77; answers the report and returns whether there was one.
    auto saveFails = [&] {
        SetControlText(FlameTo(), L"77");
        ClickControl(CmdSet());
        const auto box = WaitForMessageBoxTitled(saver->Id(), L"Kineloop");
        if (!box)
            return false;
        EXPECT_NE(box->text.find(ini), std::wstring::npos) << Narrow(box->text);
        EXPECT_NE(box->text.find(L"保存されていません"), std::wstring::npos);
        AnswerMessageBox(*box);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box->window); }));
        EXPECT_TRUE(saver->Running());
        EXPECT_EQ(ControlText(FlameTo()), L"77");
        return true;
    };

    // A folder in the file's place: Cancel still leaves.
    ASSERT_TRUE(CreateDirectoryW(ini.c_str(), nullptr));
    ASSERT_TRUE(Open());
    EXPECT_TRUE(saveFails());
    ClickControl(CmdCan());
    EXPECT_TRUE(saver->WaitForExit());
    ASSERT_TRUE(RemoveDirectoryW(ini.c_str()));

    // A file another program holds locked: once it lets go, the same edits are saved.
    ASSERT_TRUE(WriteFileBytes(ini, "[Section]\r\nFast=40\r\n"));
    HANDLE lock = CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(Open());
    EXPECT_TRUE(saveFails());
    CloseHandle(lock);
    ClickControl(CmdSet());
    ASSERT_TRUE(saver->WaitForExit());
    EXPECT_NE(ReadFileBytes(ini).find("Flame_To=77\r\n"), std::string::npos) << ReadFileBytes(ini);
}

}  // namespace
}  // namespace kineloop
