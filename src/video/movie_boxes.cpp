// The boxes of an MP4, MOV or 3GP file as the portable checks read them: one box header at a time
// within the bytes really there, and what the first video track's own boxes say of its pictures.
#include "video/movie_boxes.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kineloop {

namespace {

uint32_t Big32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

uint64_t Big64(const uint8_t* p) {
    return (uint64_t{Big32(p)} << 32) | Big32(p + 4);
}

// A visual sample entry's fixed fields before its own boxes (pasp among them).
constexpr uint64_t kVisualEntryFields = 78;
// stts entries read at a time, and the most summed: more than a long phone video with a new gap at
// every frame has; a longer table only goes uncounted, as the size table counts anyway.
constexpr size_t kTimeEntriesAtOnce = 4096;
constexpr uint64_t kMostTimeEntries = uint64_t{1} << 20;

// What one track's boxes said, kept until the track is known to be video or not.
struct Track {
    bool video = false;
    MovieFacts facts;
    bool sizeTable = false;  // stsz or stz2 was seen: its count wins over stts
    uint32_t timedSamples = 0;
};

class MovieWalk {
  public:
    explicit MovieWalk(ByteSource& file) : file_(file) {}

    // The boxes in [from, to), `depth` deep; false on the first fault.
    bool Boxes(uint64_t from, uint64_t to, int depth, Track* track);
    // Counts a box against kMostMovieBoxes and reads its header.
    bool Next(uint64_t at, uint64_t to, bool zeroRunsToLimit, MovieBox& box) {
        return ++boxes_ <= kMostMovieBoxes && ReadMovieBox(file_, at, to, zeroRunsToLimit, box);
    }

    bool found = false;
    MovieFacts facts;

  private:
    // The body's first `bytes` bytes; false when the body is shorter.
    bool Head(const MovieBox& box, uint8_t* into, size_t bytes) {
        return box.end - box.bodyStart >= bytes && file_.Read(box.bodyStart, into, bytes);
    }
    bool Leaf(const MovieBox& box, int depth, Track& track);
    bool SampleEntry(const MovieBox& stsd, int depth, Track& track);
    bool TimedSamples(const MovieBox& stts, Track& track);
    bool KeyFrames(const MovieBox& stss, Track& track);

    ByteSource& file_;
    int boxes_ = 0;
};

bool IsContainer(const MovieBox& box) {
    return box.Is("trak") || box.Is("mdia") || box.Is("minf") || box.Is("stbl");
}

bool MovieWalk::Boxes(uint64_t from, uint64_t to, int depth, Track* track) {
    if (depth > kMostMovieBoxDepth)
        return false;
    // Fewer than 8 bytes left over are padding (QuickTime ends some lists with a zero word).
    for (uint64_t at = from; to - at >= 8;) {
        MovieBox box;
        if (!Next(at, to, false, box))
            return false;
        if (box.Is("trak")) {
            if (track)
                return false;  // a track inside a track
            Track inner;
            if (!Boxes(box.bodyStart, box.end, depth + 1, &inner))
                return false;
            if (inner.video && !found) {
                found = true;
                facts = inner.facts;
                if (!inner.sizeTable)
                    facts.sampleCount = inner.timedSamples;
            }
        } else if (IsContainer(box)) {
            if (!Boxes(box.bodyStart, box.end, depth + 1, track))
                return false;
        } else if (track && !Leaf(box, depth, *track)) {
            return false;
        }
        at = box.end;
    }
    return true;
}

bool MovieWalk::Leaf(const MovieBox& box, int depth, Track& track) {
    uint8_t b[40];
    MovieFacts& f = track.facts;
    if (box.Is("hdlr")) {
        if (!Head(box, b, 12))
            return false;
        track.video = std::memcmp(b + 8, "vide", 4) == 0;
    } else if (box.Is("tkhd")) {
        // Version, flags, times, track number and duration, then 16 bytes before the matrix.
        if (!Head(box, b, 1))
            return false;
        const uint64_t matrix = 4 + (b[0] == 1 ? 32 : 20) + 16;
        if (box.end - box.bodyStart < matrix + 36 || !file_.Read(box.bodyStart + matrix, b, 20))
            return false;
        f.rotation = RotationOfMatrix(
            static_cast<int32_t>(Big32(b)), static_cast<int32_t>(Big32(b + 4)),
            static_cast<int32_t>(Big32(b + 12)), static_cast<int32_t>(Big32(b + 16)));
    } else if (box.Is("mdhd")) {
        if (!Head(box, b, 1))
            return false;
        const bool wide = b[0] == 1;
        if (!Head(box, b, wide ? 32 : 20))
            return false;
        f.timescale = Big32(b + (wide ? 20 : 12));
        f.duration = wide ? Big64(b + 24) : Big32(b + 16);
        // All ones: the duration is not known.
        if (f.duration == (wide ? ~uint64_t{0} : uint64_t{0xFFFFFFFF}))
            f.duration = 0;
    } else if (box.Is("stsz") || box.Is("stz2")) {
        if (!Head(box, b, 12))
            return false;
        const uint64_t count = Big32(b + 8);
        const uint64_t bits = box.Is("stsz") ? (Big32(b + 4) == 0 ? 32 : 0) : b[7];
        if (box.end - box.bodyStart < 12 + (count * bits + 7) / 8)
            return false;  // a table longer than its box
        f.sampleCount = static_cast<uint32_t>(count);
        track.sizeTable = true;
    } else if (box.Is("stts")) {
        return TimedSamples(box, track);
    } else if (box.Is("stss")) {
        return KeyFrames(box, track);
    } else if (box.Is("stsd") && track.video) {
        return SampleEntry(box, depth, track);
    }
    return true;
}

// The samples the stts entries count (a count and a duration each).
bool MovieWalk::TimedSamples(const MovieBox& stts, Track& track) {
    uint8_t head[8];
    if (!Head(stts, head, 8))
        return false;
    const uint64_t entries = Big32(head + 4);
    if ((stts.end - stts.bodyStart - 8) / 8 < entries)
        return false;
    if (entries > kMostTimeEntries)
        return true;
    uint64_t samples = 0;
    uint32_t delta = 0;
    bool even = true;  // one duration throughout; a last single sample may end it otherwise
    std::vector<uint8_t> block;
    for (uint64_t done = 0; done < entries;) {
        const size_t now =
            static_cast<size_t>(std::min<uint64_t>(entries - done, kTimeEntriesAtOnce));
        block.resize(now * 8);
        if (!file_.Read(stts.bodyStart + 8 + done * 8, block.data(), block.size()))
            return false;
        for (size_t i = 0; i < now; ++i) {
            const uint32_t count = Big32(block.data() + i * 8);
            const uint32_t duration = Big32(block.data() + i * 8 + 4);
            const bool last = done + i + 1 == entries;
            if (done + i == 0)
                delta = duration;
            else if (duration != delta && count != 0 && !(last && count == 1))
                even = false;
            samples = std::min<uint64_t>(samples + count, UINT32_MAX);
        }
        done += now;
    }
    track.timedSamples = static_cast<uint32_t>(samples);
    track.facts.sampleDelta = even ? delta : 0;
    return true;
}

// The key frames an stss box lists (numbered from 1 there). A table too long to keep lists none,
// which only means that the reader decodes on instead of seeking.
bool MovieWalk::KeyFrames(const MovieBox& stss, Track& track) {
    uint8_t head[8];
    if (!Head(stss, head, 8))
        return false;
    const uint64_t entries = Big32(head + 4);
    if ((stss.end - stss.bodyStart - 8) / 4 < entries)
        return false;
    track.facts.keyTable = true;
    track.facts.keyFrames.clear();
    if (entries > kMostTimeEntries)
        return true;
    std::vector<uint8_t> block(static_cast<size_t>(entries) * 4);
    if (!block.empty() && !file_.Read(stss.bodyStart + 8, block.data(), block.size()))
        return false;
    for (size_t i = 0; i < entries; ++i) {
        const uint32_t number = Big32(block.data() + i * 4);
        if (number != 0)
            track.facts.keyFrames.push_back(number - 1);
    }
    std::sort(track.facts.keyFrames.begin(), track.facts.keyFrames.end());
    return true;
}

// The pixel shape from the first sample entry's pasp box.
bool MovieWalk::SampleEntry(const MovieBox& stsd, int depth, Track& track) {
    uint8_t b[8];
    if (!Head(stsd, b, 8) || Big32(b + 4) == 0)
        return true;  // no sample entry
    MovieBox entry;
    if (!Next(stsd.bodyStart + 8, stsd.end, false, entry) ||
        entry.end - entry.bodyStart < kVisualEntryFields || depth + 2 > kMostMovieBoxDepth)
        return false;
    const uint64_t end = entry.end;
    for (uint64_t at = entry.bodyStart + kVisualEntryFields; end - at >= 8;) {
        MovieBox child;
        if (!Next(at, end, false, child))
            return false;
        if (child.Is("pasp")) {
            if (!Head(child, b, 8))
                return false;
            track.facts.aspectWidth = Big32(b);
            track.facts.aspectHeight = Big32(b + 4);
        }
        at = child.end;
    }
    return true;
}

// Box types a movie file may start with.
bool StartsMovie(const MovieBox& box) {
    for (const char* type : {"ftyp", "moov", "mdat", "wide", "free", "skip"}) {
        if (box.Is(type))
            return true;
    }
    return false;
}

}  // namespace

bool MovieBox::Is(const char* fourLetters) const {
    return std::memcmp(type, fourLetters, 4) == 0;
}

bool ReadMovieBox(ByteSource& file, uint64_t at, uint64_t limit, bool zeroRunsToLimit,
                  MovieBox& box) {
    uint8_t header[16];
    if (at > limit || limit - at < 8 || !file.Read(at, header, 8))
        return false;
    uint64_t length = Big32(header);
    uint64_t headerBytes = 8;
    if (length == 1) {  // a 64-bit size follows the type
        if (limit - at < 16 || !file.Read(at + 8, header + 8, 8))
            return false;
        length = Big64(header + 8);
        headerBytes = 16;
    } else if (length == 0 && zeroRunsToLimit) {
        length = limit - at;
    }
    if (length < headerBytes || length > limit - at)
        return false;
    std::memcpy(box.type, header + 4, 4);
    box.bodyStart = at + headerBytes;
    box.end = at + length;
    return true;
}

MovieFacts ReadMovieFacts(ByteSource& file) {
    const uint64_t size = file.Size();
    MovieWalk walk(file);
    for (uint64_t at = 0; size - at >= 8;) {
        MovieBox box;
        if (!walk.Next(at, size, true, box) || (at == 0 && !StartsMovie(box)))
            return {};
        if (box.Is("moov")) {
            if (!walk.Boxes(box.bodyStart, box.end, 1, nullptr))
                return {};
            MovieFacts facts = walk.facts;
            facts.read = true;
            return facts;
        }
        at = box.end;
    }
    return {};
}

uint32_t RotationOfMatrix(int32_t a, int32_t b, int32_t c, int32_t d) {
    // Points map as x' = a x + c y, y' = b x + d y, with y down the picture.
    if (b == 0 && c == 0 && a != 0 && (a > 0) == (d > 0) && d != 0)
        return a > 0 ? 0 : 180;
    if (a == 0 && d == 0 && b != 0 && c != 0 && (b > 0) != (c > 0))
        return b > 0 ? 90 : 270;
    return 0;
}

}  // namespace kineloop
