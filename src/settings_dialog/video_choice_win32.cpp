// The settings dialog's video choice: the file-open dialog, the panel's labels and boxes, the
// first frame as a thumbnail and the keep-aspect rule.
#include "settings_dialog/settings_dialog_win32.h"

#include "scratch/frame_route_win32.h"
#include "video/frame_source.h"
#include "platform/message_box_win32.h"
#include "platform/text_win32.h"
#include "platform/window_text_win32.h"
#include "settings/storable_path_win32.h"
#include "settings_dialog/file_open_dialog_win32.h"
#include "settings_dialog/video_probe_win32.h"
#include "settings_dialog/dialog_panel_win32.h"

namespace kineloop {

namespace {

// The video choice's filters: every kind of file the program can open, AVI files, all files.
const std::vector<FileFilter> kVideoFilters = {
    {L"動画ﾌｧｲﾙ", L"*.avi;*.mp4;*.m4v;*.mov;*.wmv;*.asf;*.mkv;*.webm;*.mpg;*.mpeg;*.3gp"},
    {L"AVIﾌｧｲﾙ", L"*.avi"},
    {L"すべてのﾌｧｲﾙ", L"*.*"},
};

}  // namespace

void SettingsDialog::ShowBoxes(const FrameBoxTexts& boxes) {
    SetWindowTextW(firstFrameBox_, Widen(boxes.Flame_From).c_str());
    SetWindowTextW(lastFrameBox_, Widen(boxes.Flame_To).c_str());
    SetWindowTextW(tileWidthBox_, Widen(boxes.Pic_Width).c_str());
    SetWindowTextW(tileHeightBox_, Widen(boxes.Pic_Height).c_str());
    SetWindowTextW(frameStepBox_, Widen(boxes.Flame_Skip).c_str());
}

FrameBoxTexts SettingsDialog::BoxesShown() const {
    FrameBoxTexts boxes;
    boxes.Flame_From = Narrow(WindowText(firstFrameBox_));
    boxes.Flame_To = Narrow(WindowText(lastFrameBox_));
    boxes.Pic_Width = Narrow(WindowText(tileWidthBox_));
    boxes.Pic_Height = Narrow(WindowText(tileHeightBox_));
    boxes.Flame_Skip = Narrow(WindowText(frameStepBox_));
    return boxes;
}

void SettingsDialog::ShowVideoUpdate(const VideoUpdate& update) {
    if (update.Fname)
        SetWindowTextW(videoPathLabel_, Widen(*update.Fname).c_str());
    if (update.FrameRange)
        SetWindowTextW(frameRangeLabel_, Widen(*update.FrameRange).c_str());
    if (update.FrameSize)
        SetWindowTextW(frameSizeLabel_, Widen(*update.FrameSize).c_str());
    if (update.Boxes)
        ShowBoxes(*update.Boxes);
}

// The video panel's "..." button. A file whose name cannot be stored, or that the show could not
// play, is refused with one message; the panel and the stored choice stay as they were.
void SettingsDialog::ChooseVideo() {
    std::wstring chosen;
    if (!AskForFile(Hwnd(), kVideoFilters, settings_.AviFolder, chosen))
        return;
    const std::optional<std::wstring> path = StorablePath(chosen);
    VideoProbe probe;
    if (path)
        probe = ProbeVideo(*path);
    const VideoUpdate update = path ? ChosenVideo(Narrow(*path), probe.facts, settings_, numbers_)
                                    : UnstorableVideo(Narrow(chosen), settings_);
    ShowVideoUpdate(update);
    if (update.drawThumbnail)
        DrawThumbnail(probe);
    switch (update.refusal) {
        case ChoiceRefusal::None:
            break;
        case ChoiceRefusal::NameNotStorable:
            ShowInfoMessage(Widen(UnstorableNameMessage(Narrow(chosen))), Hwnd());
            break;
        case ChoiceRefusal::Unreadable:
            ShowInfoMessage(UnreadableVideoMessage(chosen), Hwnd());
            break;
        case ChoiceRefusal::FewColours:
            ShowInfoMessage(Widen(RefusedColoursMessage(Narrow(chosen))), Hwnd());
            break;
    }
}

// The stored video, read again at load: labels, shape and thumbnail, never the text boxes.
void SettingsDialog::RefreshAviInfo() {
    const std::wstring path = WindowText(videoPathLabel_);
    const VideoProbe probe = ProbeVideo(path);
    const VideoUpdate update = StoredVideo(probe.facts, numbers_);
    ShowVideoUpdate(update);
    if (update.drawThumbnail)
        DrawThumbnail(probe);
    if (probe.openFailed)
        ShowInfoMessage(UnreadableVideoMessage(path), Hwnd());
}

// The first frame fitted into the thumbnail panel, through the scratch file, with its bottom edge
// kept. Its box has the shape the video is seen in, which differs from the decoded picture's where
// the pixels are not square.
void SettingsDialog::DrawThumbnail(const VideoProbe& probe) {
    if (!probe.thumbnail || !probe.box)
        return;
    const ThumbnailBox& box = *probe.box;
    FrameRoute route(scratchPlaces_);
    if (route.Pass(*probe.thumbnail) != FrameRoute::Result::kReadBack)
        return;
    RetainedSurface* surface = PanelSurface(thumbnail_);
    if (!surface || !surface->Resize(box.width, box.height))
        return;
    route.DrawLast(surface->Dc(), 0, 0);
    SetWindowPos(thumbnail_, nullptr, box.left, box.top, box.width, box.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(thumbnail_, nullptr, FALSE);
}

void SettingsDialog::ApplyKeepAspect() {
    const auto check = static_cast<int>(SendMessageW(keepAspectBox_, BM_GETCHECK, 0, 0));
    const std::optional<std::string> height = KeepAspectHeight(
        check, Narrow(WindowText(tileWidthBox_)), numbers_.AviWidth, numbers_.AviHeight);
    if (height)
        SetWindowTextW(tileHeightBox_, Widen(*height).c_str());
}

}  // namespace kineloop
