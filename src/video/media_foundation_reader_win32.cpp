// MediaFoundationReader: a video file's first video stream through the Media Foundation Source
// Reader, frames numbered 0 to N-1 in their order, each as the packed 24-bit bitmap the show takes.
#include "video/media_foundation_reader_win32.h"

#include <mfapi.h>
#include <mferror.h>
#include <propvarutil.h>

#include "video/file_bytes_win32.h"
#include "video/frame_format.h"
#include "video/frame_timing.h"
#include "video/media_type_win32.h"
#include "video/movie_boxes.h"
#include "video/reader_choice.h"
#include "video/video_thread_win32.h"

namespace kineloop {

namespace {

// MF_MT_VIDEO_ROTATION (Windows 8 and later; the headers offer it only when built for those).
constexpr GUID kVideoRotation = {
    0xc380465d, 0x2271, 0x428c, {0x9b, 0x83, 0xec, 0xea, 0x3b, 0x4a, 0x85, 0xc1}};

constexpr DWORD kVideo = static_cast<DWORD>(MF_SOURCE_READER_FIRST_VIDEO_STREAM);
// Samples whose times give the frame rate at the open: eight gaps, one odd one outvoted.
constexpr int kTimedSamples = 9;
// Gaps and stream ticks come as samples without data; this many in a row end the stream.
constexpr int kMostEmptySamples = 64;

struct Output {
    const GUID* subtype;
    SampleLayout layout;
};
// YUV layouts first, so that no platform video processor converts colours that the tile sampler
// would mostly throw away; RGB32 only where a decoder gives nothing else.
const Output kOutputs[] = {
    {&MFVideoFormat_NV12, SampleLayout::Nv12},   {&MFVideoFormat_I420, SampleLayout::I420},
    {&MFVideoFormat_IYUV, SampleLayout::I420},   {&MFVideoFormat_YV12, SampleLayout::Yv12},
    {&MFVideoFormat_YUY2, SampleLayout::Yuy2},   {&MFVideoFormat_P010, SampleLayout::P010},
    {&MFVideoFormat_RGB32, SampleLayout::Rgb32},
};

}  // namespace

void MediaFoundationReader::Open(const std::wstring& path) {
    Close();
    path_ = path;
    openedFully_ = false;
    failed_ = true;
    frameCount_ = shownWidth_ = shownHeight_ = 0;
    framesPerSecond_ = 0;
    rotation_ = 0;
    aspect_ = PixelAspect{};
    grid_ = FrameGrid{};
    keyTable_ = false;
    keyFrames_.clear();
    next_ = 0;
    numbered_ = true;
    ended_ = false;
    sample_.Reset();
    sampled_ = -1;
    converted_ = -1;
    dib_.clear();
    if (!MediaFoundationReady())
        return;

    ComRef<IMFAttributes> options;
    if (FAILED(MFCreateAttributes(options.Out(), 1)))
        return;
    // Lets the reader convert to RGB32 where a decoder gives no YUV layout.
    options->SetUINT32(MF_SOURCE_READER_ENABLE_ADVANCED_VIDEO_PROCESSING, TRUE);
    if (FAILED(MFCreateSourceReaderFromURL(path.c_str(), options.Get(), reader_.Out())))
        return;
    reader_->SetStreamSelection(static_cast<DWORD>(MF_SOURCE_READER_ALL_STREAMS), FALSE);
    ComRef<IMFMediaType> native;
    // No video stream, or none that can be decoded.
    if (FAILED(reader_->SetStreamSelection(kVideo, TRUE)) ||
        FAILED(reader_->GetNativeMediaType(kVideo, 0, native.Out()))) {
        LetGoOfReader();
        return;
    }
    FrameRate stated;
    TwoNumbers(native.Get(), MF_MT_FRAME_RATE, stated.numerator, stated.denominator);
    uint32_t storedWidth = 0, storedHeight = 0;
    TwoNumbers(native.Get(), MF_MT_FRAME_SIZE, storedWidth, storedHeight);
    PixelAspect platformAspect;
    TwoNumbers(native.Get(), MF_MT_PIXEL_ASPECT_RATIO, platformAspect.width, platformAspect.height);
    const uint32_t platformTurn = NumberOr(native.Get(), kVideoRotation, 0);
    rotation_ = platformTurn;
    if (!ChooseOutput(native.Get()) || !LearnOutput()) {
        LetGoOfReader();
        return;
    }
    // The file's own boxes, for what this platform does not report (Wine: turn, pixel shape).
    const MovieFacts movie = [&path] {
        FileBytes bytes(path);
        return bytes.Opened() ? ReadMovieFacts(bytes) : MovieFacts{};
    }();
    PROPVARIANT duration;
    PropVariantInit(&duration);
    FrameCountClues clues;
    if (SUCCEEDED(reader_->GetPresentationAttribute(
            static_cast<DWORD>(MF_SOURCE_READER_MEDIASOURCE), MF_PD_DURATION, &duration)) &&
        duration.vt == VT_UI8)
        clues.wholeDuration = duration.uhVal.QuadPart;
    PropVariantClear(&duration);
    bool wholeStream = false;
    const std::vector<int64_t> times = MeasureFrameTimes(wholeStream);
    if (wholeStream)
        clues.samplesToEnd = static_cast<int32_t>(times.size());
    clues.rate = SettledFrameRate(stated, MedianFrameTime(times));
    if (clues.rate.denominator != 0)
        framesPerSecond_ = static_cast<double>(clues.rate.numerator) / clues.rate.denominator;
    clues.storedSamples = movie.sampleCount;
    clues.trackDuration = movie.duration;
    clues.trackTimescale = movie.timescale;
    frameCount_ = CountFrames(clues);
    grid_ = GridOfTimes(movie.sampleDelta, movie.timescale, times);
    keyTable_ = movie.keyTable;
    keyFrames_ = movie.keyFrames;
    // After the first samples, which may have changed the decoded type.
    rotation_ = TurnToApply(platformTurn, movie.rotation, static_cast<int32_t>(storedWidth),
                            static_cast<int32_t>(storedHeight), width_, height_);
    aspect_ = AspectToApply(platformAspect, {movie.aspectWidth, movie.aspectHeight});
    ShownSize(width_, height_, aspect_, rotation_, shownWidth_, shownHeight_);
    failed_ = false;
    openedFully_ = true;
}

void MediaFoundationReader::Refuse(const std::wstring& path) {
    Close();
    path_ = path;
    openedFully_ = false;
    failed_ = true;
}

// The first output format the decoder agrees to: the stream's own where it is already one of
// kOutputs (a source that decodes by itself, as Wine's does into I420), which costs no
// conversion at all, else in the order of kOutputs (Windows' H.264 decoder gives NV12).
bool MediaFoundationReader::ChooseOutput(IMFMediaType* native) {
    const auto tryOutput = [this](const Output& output) {
        ComRef<IMFMediaType> type;
        if (FAILED(MFCreateMediaType(type.Out())))
            return false;
        type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
        type->SetGUID(MF_MT_SUBTYPE, *output.subtype);
        if (FAILED(reader_->SetCurrentMediaType(kVideo, nullptr, type.Get())))
            return false;
        layout_ = output.layout;
        return true;
    };
    GUID own = GUID_NULL;
    native->GetGUID(MF_MT_SUBTYPE, &own);
    for (const Output& output : kOutputs) {
        if (*output.subtype == own && tryOutput(output))
            return true;
    }
    for (const Output& output : kOutputs) {
        if (tryOutput(output))
            return true;
    }
    return false;
}

// Size, picture area, stride, colours and interlacing of the current output; false when the size
// is none the show takes.
bool MediaFoundationReader::LearnOutput() {
    ComRef<IMFMediaType> type;
    if (FAILED(reader_->GetCurrentMediaType(kVideo, type.Out())))
        return false;
    uint32_t width = 0, height = 0;
    if (!TwoNumbers(type.Get(), MF_MT_FRAME_SIZE, width, height) || width == 0 || height == 0 ||
        width > static_cast<uint32_t>(kMaxFrameSide) ||
        height > static_cast<uint32_t>(kMaxFrameSide))
        return false;
    frameWidth_ = static_cast<int32_t>(width);
    frameHeight_ = static_cast<int32_t>(height);
    picture_ = ApertureOf(type.Get(), frameWidth_, frameHeight_);
    width_ = picture_.width;
    height_ = picture_.height;
    stride_ = static_cast<int32_t>(NumberOr(type.Get(), MF_MT_DEFAULT_STRIDE, 0));
    interlace_ = NumberOr(type.Get(), MF_MT_INTERLACE_MODE, MFVideoInterlace_Unknown);
    const uint32_t matrix = NumberOr(type.Get(), MF_MT_YUV_MATRIX, MFVideoTransferMatrix_Unknown);
    if (matrix == MFVideoTransferMatrix_BT709)
        matrix_ = YuvMatrix::Bt709;
    else if (matrix == MFVideoTransferMatrix_BT601)
        matrix_ = YuvMatrix::Bt601;
    else
        matrix_ = IsHighDefinition(width_, height_) ? YuvMatrix::Bt709 : YuvMatrix::Bt601;
    range_ = NumberOr(type.Get(), MF_MT_VIDEO_NOMINAL_RANGE, MFNominalRange_16_235) ==
                     MFNominalRange_0_255
                 ? YuvRange::Full
                 : YuvRange::Limited;
    ShownSize(width_, height_, aspect_, rotation_, shownWidth_, shownHeight_);
    return true;
}

bool MediaFoundationReader::NextSample(ComRef<IMFSample>& sample, LONGLONG* time) {
    for (int empty = 0; empty < kMostEmptySamples; ++empty) {
        DWORD stream = 0, flags = 0;
        LONGLONG at = 0;
        const HRESULT read = reader_->ReadSample(kVideo, 0, &stream, &flags, &at, sample.Out());
        // Each sample is a step forward: a long skip through a large video is no hang.
        ReportVideoProgress();
        if (FAILED(read) || (flags & (MF_SOURCE_READERF_ERROR | MF_SOURCE_READERF_ENDOFSTREAM))) {
            ended_ = true;
            // The true end: no frame is counted past it, so none is looked for there again.
            reachedEnd_ = SUCCEEDED(read) && !(flags & MF_SOURCE_READERF_ERROR);
            if (reachedEnd_ && numbered_ && next_ < frameCount_)
                frameCount_ = next_;
            return false;
        }
        if ((flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) && !LearnOutput()) {
            ended_ = true;
            return false;
        }
        if (sample) {
            ++next_;
            if (time)
                *time = at;
            return true;
        }
    }
    ended_ = true;
    return false;
}

std::vector<int64_t> MediaFoundationReader::MeasureFrameTimes(bool& wholeStream) {
    std::vector<int64_t> times;
    ComRef<IMFSample> sample;
    LONGLONG at = 0;
    reachedEnd_ = false;
    while (static_cast<int>(times.size()) < kTimedSamples && NextSample(sample, &at))
        times.push_back(at);
    wholeStream = reachedEnd_;
    Rewind();
    return times;
}

bool MediaFoundationReader::Rewind() {
    PROPVARIANT start;
    PropVariantInit(&start);
    start.vt = VT_I8;
    start.hVal.QuadPart = 0;
    const HRESULT seek = reader_->SetCurrentPosition(GUID_NULL, start);
    PropVariantClear(&start);
    next_ = 0;
    numbered_ = true;
    ended_ = FAILED(seek);
    return !ended_;
}

const void* MediaFoundationReader::ReadFrame(int32_t number) {
    if (!SeekSample(number))
        return nullptr;
    if (number == converted_)
        return dib_.data();
    if (!WithView(
            [this](const SampleView& view) { return SampleToPackedDib(view, rotation_, dib_); }))
        return nullptr;
    converted_ = number;
    return dib_.data();
}

bool MediaFoundationReader::ReadWith(int32_t number, const FrameWork& work) {
    const bool viewed = SeekSample(number) && WithView([&](const SampleView& view) {
                            DecodedFrame frame;
                            frame.sample = &view;
                            frame.rotation = rotation_;
                            work(frame);
                            return true;
                        });
    if (!viewed)
        work(DecodedFrame{});
    return true;
}

// The sample's pixels, as the buffer's own pitch and length or the stride lay them out.
bool MediaFoundationReader::WithView(const std::function<bool(const SampleView&)>& use) {
    ComRef<IMFMediaBuffer> buffer;
    if (!sample_ || FAILED(sample_->ConvertToContiguousBuffer(buffer.Out())))
        return false;
    SampleView view;
    view.layout = layout_;
    view.width = frameWidth_;
    view.height = frameHeight_;
    view.matrix = matrix_;
    view.range = range_;
    view.area = picture_;
    view.fields = FieldsOf(sample_.Get(), interlace_);
    bool placed = false, used = false;
    if (ComRef<IMF2DBuffer2> sized = buffer.As<IMF2DBuffer2>()) {
        BYTE* firstRow = nullptr;
        BYTE* start = nullptr;
        LONG pitch = 0;
        DWORD length = 0;
        if (SUCCEEDED(
                sized->Lock2DSize(MF2DBuffer_LockFlags_Read, &firstRow, &pitch, &start, &length))) {
            placed = PlaceRows(firstRow, pitch, start, length, view);
            used = placed && use(view);
            sized->Unlock2D();
        }
    } else if (ComRef<IMF2DBuffer> plane = buffer.As<IMF2DBuffer>()) {
        BYTE* firstRow = nullptr;
        LONG pitch = 0;
        if (SUCCEEDED(plane->Lock2D(&firstRow, &pitch))) {
            // Before Windows 8 the buffer does not say its length: the frame size's rows are taken.
            placed = PlaceRows(firstRow, pitch, nullptr, 0, view);
            used = placed && use(view);
            plane->Unlock2D();
        }
    }
    if (placed)
        return used;
    BYTE* data = nullptr;
    DWORD length = 0;
    if (FAILED(buffer->Lock(&data, nullptr, &length)))
        return false;
    view.data = data;
    view.bytes = length;
    view.pitch = stride_;  // 0: from the length
    if (view.pitch < 0 && layout_ != SampleLayout::Rgb32)
        view.pitch = -view.pitch;
    used = use(view);
    buffer->Unlock();
    return used;
}

MediaFoundationReader::~MediaFoundationReader() {
    LetGoOfReader();
}

void MediaFoundationReader::LetGoOfReader() {
    sample_.Reset();  // the pipeline's buffer goes before the pipeline
    sampled_ = -1;
    if (!reader_)
        return;
    // Wine's reader does not shut its media source down when it goes, which would leave the
    // source's decoding threads and buffers behind for every file opened; Windows does it first
    // anyway, and a second shutdown only says so.
    ComRef<IMFMediaSource> source;
    reader_->GetServiceForStream(static_cast<DWORD>(MF_SOURCE_READER_MEDIASOURCE), GUID_NULL,
                                 __uuidof(IMFMediaSource), reinterpret_cast<void**>(source.Out()));
    reader_.Reset();
    if (source)
        source->Shutdown();
}

bool MediaFoundationReader::Close() {
    const bool report = failed_ && !path_.empty();
    LetGoOfReader();
    failed_ = false;
    openedFully_ = false;
    sample_.Reset();
    sampled_ = -1;
    converted_ = -1;
    dib_.clear();
    return report;
}

}  // namespace kineloop
