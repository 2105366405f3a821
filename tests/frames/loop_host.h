// An in-process show for the damaged-file corpora: a key on its display ends the playback loop,
// as it ends the real show.
#pragma once

#include <string>

#include <windows.h>

#include "platform/text_win32.h"
#include "settings/saver_settings.h"
#include "show/play_frames_win32.h"
#include "show/tile_grid.h"

namespace kineloop::test {

class LoopHost {
  public:
    LoopHost() : session(settings) {
        settings.Pic_Width = 64;
        settings.Pic_Height = 48;
        settings.Fast = 0;
        settings.Flame_Skip = 1;
        WNDCLASSW windowClass{};
        windowClass.style = CS_OWNDC;
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KineloopCorpusDisplay";
        RegisterClassW(&windowClass);
        session.window = session.display =
            CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 320, 240, nullptr,
                            nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrW(session.display, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&session));
        session.displayImage.Resize(320, 240);
        session.displayDc = WindowDc(session.display);
        session.grid = LayOutGrid(320, 240, settings.Pic_Width, settings.Pic_Height);
        session.tile = {session.grid.GridLeft, session.grid.GridTop};
    }
    ~LoopHost() {
        session.displayDc.Reset();
        DestroyWindow(session.display);
    }
    LoopHost(const LoopHost&) = delete;
    LoopHost& operator=(const LoopHost&) = delete;

    // Plays `path` with a key already waiting: the loop must end at its first yield, or sooner
    // by reporting a video it cannot show. Returns the tiles it drew.
    int PlayUntilTheKey(const std::wstring& path) {
        settings.AVI_File = Narrow(path);
        const TilePosition before = session.tile;
        PostMessageW(session.display, WM_KEYDOWN, VK_SPACE, 0);
        PlayFrames(session);
        MSG message;  // a key left over after a report
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        return before.TileX != session.tile.TileX || before.TileY != session.tile.TileY ? 1 : 0;
    }

  private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM w, LPARAM l) {
        if (message == WM_KEYDOWN) {
            if (auto* s = reinterpret_cast<ShowSession*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
                s->KeepPlaying = false;
            return 0;
        }
        return DefWindowProcW(window, message, w, l);
    }

    SaverSettings settings;
    ShowSession session;
};

}  // namespace kineloop::test
