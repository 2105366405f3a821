// The platform's decoder alone, for the benchmark's reference rate.
#include "decoder_alone.h"

#include <initializer_list>

#include <windows.h>
#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <mfreadwrite.h>
#include <propvarutil.h>
#include <vfw.h>

#include "bench/bench_clock.h"
#include "platform/com_ref_win32.h"

namespace kineloop::bench {

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    auto ticks = [](FILETIME t) { return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

namespace {

bool IsAvi(const std::wstring& path) {
    return path.size() > 4 && _wcsicmp(path.c_str() + path.size() - 4, L".avi") == 0;
}

bool AviAlone(const std::wstring& path, uint64_t frames, Figures& figures) {
    AVIFileInit();
    PAVISTREAM stream = nullptr;
    bool done = false;
    if (AVIStreamOpenFromFileW(&stream, path.c_str(), streamtypeVIDEO, 0, OF_READ, nullptr) == 0) {
        AVISTREAMINFOW info{};
        AVIStreamInfoW(stream, &info, sizeof info);
        BITMAPINFOHEADER wanted{};
        wanted.biSize = sizeof wanted;
        wanted.biWidth = info.rcFrame.right - info.rcFrame.left;
        wanted.biHeight = info.rcFrame.bottom - info.rcFrame.top;
        wanted.biPlanes = 1;
        wanted.biBitCount = 24;
        wanted.biSizeImage = static_cast<DWORD>((wanted.biWidth * 3 + 3) / 4 * 4 * wanted.biHeight);
        const LONG first = AVIStreamStart(stream), length = AVIStreamLength(stream);
        if (PGETFRAME decoder = length > 0 ? AVIStreamGetFrameOpen(stream, &wanted) : nullptr) {
            AVIStreamGetFrame(decoder, first);  // the decoder started
            const double cpu = ProcessCpuSeconds(), start = Seconds();
            done = true;
            for (uint64_t i = 0; i < frames && done; ++i)
                done = AVIStreamGetFrame(decoder, first + static_cast<LONG>(i % length)) != nullptr;
            figures = {frames, Seconds() - start, ProcessCpuSeconds() - cpu};
            AVIStreamGetFrameClose(decoder);
        }
        AVIStreamRelease(stream);
    }
    AVIFileExit();
    return done;
}

bool ReadInOrder(IMFSourceReader* reader, uint64_t frames) {
    constexpr DWORD kVideo = static_cast<DWORD>(MF_SOURCE_READER_FIRST_VIDEO_STREAM);
    uint64_t read = 0;
    for (int empty = 0; read < frames && empty < 64;) {
        DWORD stream = 0, flags = 0;
        LONGLONG at = 0;
        ComRef<IMFSample> sample;
        if (FAILED(reader->ReadSample(kVideo, 0, &stream, &flags, &at, sample.Out())) ||
            (flags & MF_SOURCE_READERF_ERROR))
            return false;
        if (flags & MF_SOURCE_READERF_ENDOFSTREAM) {
            PROPVARIANT startAt;
            PropVariantInit(&startAt);
            startAt.vt = VT_I8;
            if (FAILED(reader->SetCurrentPosition(GUID_NULL, startAt)))
                return false;
            ++empty;
            continue;
        }
        if (sample)
            ++read, empty = 0;
        else
            ++empty;
    }
    return read == frames;
}

// The decoder's own layout: the stream's where its source decodes by itself (Wine's gives I420),
// else NV12, which Windows' H.264 decoder gives.
GUID OwnLayout(IMFSourceReader* reader) {
    constexpr DWORD kVideo = static_cast<DWORD>(MF_SOURCE_READER_FIRST_VIDEO_STREAM);
    ComRef<IMFMediaType> native;
    GUID own = GUID_NULL;
    if (SUCCEEDED(reader->GetNativeMediaType(kVideo, 0, native.Out())))
        native->GetGUID(MF_MT_SUBTYPE, &own);
    for (const GUID* yuv : {&MFVideoFormat_NV12, &MFVideoFormat_I420, &MFVideoFormat_IYUV,
                            &MFVideoFormat_YV12, &MFVideoFormat_YUY2, &MFVideoFormat_P010}) {
        if (own == *yuv)
            return own;
    }
    return MFVideoFormat_NV12;
}

bool MediaFoundationAlone(const std::wstring& path, uint64_t frames, Figures& figures) {
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    if (FAILED(MFStartup(MF_VERSION))) {
        if (com)
            CoUninitialize();
        return false;
    }
    bool done = false;
    {
        constexpr DWORD kVideo = static_cast<DWORD>(MF_SOURCE_READER_FIRST_VIDEO_STREAM);
        ComRef<IMFSourceReader> reader;
        ComRef<IMFMediaType> type;
        if (SUCCEEDED(MFCreateSourceReaderFromURL(path.c_str(), nullptr, reader.Out())) &&
            SUCCEEDED(reader->SetStreamSelection(static_cast<DWORD>(MF_SOURCE_READER_ALL_STREAMS),
                                                 FALSE)) &&
            SUCCEEDED(reader->SetStreamSelection(kVideo, TRUE)) &&
            SUCCEEDED(MFCreateMediaType(type.Out())) &&
            SUCCEEDED(type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video)) &&
            SUCCEEDED(type->SetGUID(MF_MT_SUBTYPE, OwnLayout(reader.Get()))) &&
            SUCCEEDED(reader->SetCurrentMediaType(kVideo, nullptr, type.Get()))) {
            ReadInOrder(reader.Get(), 10);  // the pipeline started
            const double cpu = ProcessCpuSeconds(), start = Seconds();
            done = ReadInOrder(reader.Get(), frames);
            figures = {frames, Seconds() - start, ProcessCpuSeconds() - cpu};
        }
        ComRef<IMFMediaSource> source;
        if (reader)
            reader->GetServiceForStream(static_cast<DWORD>(MF_SOURCE_READER_MEDIASOURCE), GUID_NULL,
                                        __uuidof(IMFMediaSource),
                                        reinterpret_cast<void**>(source.Out()));
        reader.Reset();
        if (source)
            source->Shutdown();
    }
    MFShutdown();
    if (com)
        CoUninitialize();
    return done;
}

}  // namespace

bool DecodeAlone(const std::wstring& path, uint64_t frames, Figures& figures) {
    figures = {};
    return IsAvi(path) ? AviAlone(path, frames, figures)
                       : MediaFoundationAlone(path, frames, figures);
}

}  // namespace kineloop::bench
