// A look at an AVI file's chunk layout before the platform parses it, to keep from the platform
// the files its parser would crash, hang or allocate gigabytes on.
#include "video/avi_structure.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "bitmap/dib.h"

namespace kineloop {

namespace {

constexpr uint32_t FourCc(const char (&text)[5]) {
    return static_cast<uint32_t>(static_cast<uint8_t>(text[0])) |
           (static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 8) |
           (static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(text[3])) << 24);
}

constexpr uint32_t kRiff = FourCc("RIFF"), kList = FourCc("LIST"), kAvi = FourCc("AVI ");
constexpr uint32_t kHdrl = FourCc("hdrl"), kAvih = FourCc("avih"), kStrl = FourCc("strl");
constexpr uint32_t kStrh = FourCc("strh"), kStrf = FourCc("strf"), kMovi = FourCc("movi");
constexpr uint32_t kIdx1 = FourCc("idx1"), kRec = FourCc("rec "), kVids = FourCc("vids");
constexpr uint32_t kMainHeaderBytes = 56;
constexpr uint32_t kMaxStreams = 8;   // more are refused by the platform itself
constexpr uint32_t kHasIndex = 0x10;  // AVIF_HASINDEX
constexpr size_t kIndexEntryBytes = 16;
constexpr size_t kIndexEntriesPerRead = 4096;

struct Chunk {
    uint64_t at = 0;  // offset of the chunk's id
    uint32_t id = 0;
    uint32_t size = 0;
    uint32_t type = 0;  // the list type of a RIFF or LIST chunk
    uint64_t DataAt() const { return at + 8; }
    uint64_t End() const { return at + 8 + size + (size & 1); }
};

class Walker {
  public:
    explicit Walker(ByteSource& file) : file_(file), size_(file.Size()) {}

    // The chunk at `at`, when its header is in the file.
    std::optional<Chunk> ChunkAt(uint64_t at) {
        uint8_t header[12];
        if (at + 8 > size_ || !file_.Read(at, header, 8))
            return std::nullopt;
        Chunk chunk;
        chunk.at = at;
        chunk.id = ReadLe32(header);
        chunk.size = ReadLe32(header + 4);
        if ((chunk.id == kRiff || chunk.id == kList) && at + 12 <= size_ &&
            file_.Read(at + 8, header + 8, 4))
            chunk.type = ReadLe32(header + 8);
        return chunk;
    }

    // The platform reads chunks it does not know into memory at their stated size.
    bool FitsTheFile(const Chunk& chunk) const { return chunk.DataAt() + chunk.size <= size_; }

    // The first child of `parent` (from `from` on) with `id` (and list `type`), every child before
    // it within the file; nothing when there is none.
    std::optional<Chunk> Find(const Chunk& parent, uint64_t from, uint32_t id, uint32_t type,
                              bool& unsafe) {
        for (uint64_t at = from; at < parent.End();) {
            const std::optional<Chunk> chunk = ChunkAt(at);
            if (!chunk)
                return std::nullopt;
            if (chunk->id == id && (type == 0 || chunk->type == type))
                return chunk;
            if (!FitsTheFile(*chunk)) {
                unsafe = true;
                return std::nullopt;
            }
            at = chunk->End();
        }
        return std::nullopt;
    }

    bool Read(uint64_t at, void* into, size_t bytes) { return file_.Read(at, into, bytes); }
    uint64_t Size() const { return size_; }

  private:
    ByteSource& file_;
    uint64_t size_;
};

// The stream number of a chunk id "##xx", computed as the platform does (not only for digits).
uint32_t StreamOf(uint32_t id) {
    auto fromHex = [](int c) { return c >= 'A' ? c - 'A' + 10 : c - '0'; };
    const auto high = static_cast<unsigned>(fromHex(static_cast<int>(id & 0xFF)));
    const auto low = static_cast<unsigned>(fromHex(static_cast<int>((id >> 8) & 0xFF)));
    return static_cast<uint16_t>(high * 16 + low);
}

struct StreamFacts {
    bool video = false;
    uint32_t sampleSize = 0;  // 0: one frame a chunk, of any size
};

struct FileFacts {
    uint32_t streams = 0;
    bool hasIndexFlag = false;
    std::vector<StreamFacts> stream;
};

// Whether the platform may file a frame chunk (or index entry) of `length` bytes: not under the
// stream one past the last, which it takes for an existing one ("rec " lists and stream 0x7F it
// skips); and for a video stream of fixed sample size only whole samples, or it reads blocks
// beyond the stream and stops the program.
bool ChunkIsSafe(uint32_t id, uint32_t length, const FileFacts& facts) {
    if (id == kRec)
        return true;
    const uint32_t stream = StreamOf(id);
    if (stream == facts.streams)
        return false;
    if (stream < facts.stream.size()) {
        const StreamFacts& s = facts.stream[stream];
        return !s.video || s.sampleSize == 0 || length == s.sampleSize;
    }
    return true;
}

// The header list: the main header and one stream list for every stream it declares, every
// chunk in the file, and no index larger than the file could hold.
bool HeaderListIsSafe(Walker& walker, const Chunk& hdrl, FileFacts& facts) {
    bool unsafe = false;
    const std::optional<Chunk> avih = walker.Find(hdrl, hdrl.DataAt() + 4, kAvih, 0, unsafe);
    if (unsafe)
        return false;
    uint8_t main[kMainHeaderBytes];
    if (!avih || avih->size != kMainHeaderBytes || !walker.Read(avih->DataAt(), main, sizeof main))
        return true;  // refused by the platform on its own
    facts.streams = ReadLe32(main + 24);
    facts.hasIndexFlag = (ReadLe32(main + 12) & kHasIndex) != 0;
    if (facts.streams > kMaxStreams)
        return true;

    uint64_t at = avih->End();
    for (uint32_t stream = 0; stream < facts.streams; ++stream) {
        const std::optional<Chunk> strl = walker.ChunkAt(at);
        if (!strl || at >= hdrl.End())
            return true;  // the platform stops: the file cannot be read
        if (strl->id != kList || strl->type != kStrl)
            return false;  // the platform would leave this stream missing
        uint32_t streamType = 0, start = 0, length = 0, sampleSize = 0;
        for (uint64_t child = strl->DataAt() + 4; child < strl->End();) {
            const std::optional<Chunk> chunk = walker.ChunkAt(child);
            if (!chunk)
                break;
            if (!walker.FitsTheFile(*chunk))
                return false;
            uint8_t bytes[48];
            if (chunk->id == kStrh && chunk->size >= sizeof bytes &&
                walker.Read(chunk->DataAt(), bytes, sizeof bytes)) {
                streamType = ReadLe32(bytes);
                start = ReadLe32(bytes + 28);
                length = ReadLe32(bytes + 32);
                sampleSize = ReadLe32(bytes + 44);
            }
            if (chunk->id == kStrf && streamType == kVids && chunk->size < kDibHeaderBytes)
                return false;  // the platform reads a whole bitmap header from it
            child = chunk->End();
        }
        // The frame index is allocated at the stated length, 16 bytes a frame; a file cannot
        // hold more frames than chunk headers.
        if (sampleSize == 0 && length > walker.Size() / 8)
            return false;
        // Video of fixed sample size that does not start at 0 is read from a block before its
        // start.
        if (streamType == kVids && sampleSize != 0 && start != 0)
            return false;
        facts.stream.push_back({streamType == kVids, sampleSize});
        at = strl->End();
    }
    // Whatever else the header list holds is read into memory as it stands.
    while (at < hdrl.End()) {
        const std::optional<Chunk> chunk = walker.ChunkAt(at);
        if (!chunk)
            break;
        if (!walker.FitsTheFile(*chunk))
            return false;
        at = chunk->End();
    }
    return true;
}

// The index (idx1): no entry may name the stream one past the last. Returns whether the index
// could be read whole, through `readWhole`.
bool IndexIsSafe(Walker& walker, const Chunk& idx1, const FileFacts& facts, bool& readWhole) {
    if (idx1.size > INT32_MAX)
        return false;  // taken for a negative size
    readWhole = walker.FitsTheFile(idx1);
    const uint64_t entries = (std::min<uint64_t>(idx1.DataAt() + idx1.size, walker.Size()) -
                              std::min<uint64_t>(idx1.DataAt(), walker.Size())) /
                             kIndexEntryBytes;
    std::vector<uint8_t> block(kIndexEntriesPerRead * kIndexEntryBytes);
    for (uint64_t first = 0; first < entries; first += kIndexEntriesPerRead) {
        const size_t count =
            static_cast<size_t>(std::min<uint64_t>(kIndexEntriesPerRead, entries - first));
        if (!walker.Read(idx1.DataAt() + first * kIndexEntryBytes, block.data(),
                         count * kIndexEntryBytes))
            return true;
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* entry = &block[i * kIndexEntryBytes];
            const uint32_t length = ReadLe32(entry + 12);
            // No chunk is longer than the file; the platform sizes its read buffer by the longest.
            if (length > walker.Size() || !ChunkIsSafe(ReadLe32(entry), length, facts))
                return false;
        }
    }
    return true;
}

// Without a usable index the platform walks the frame list chunk by chunk, into "rec " lists.
bool FrameListIsSafe(Walker& walker, const Chunk& movi, const FileFacts& facts) {
    for (uint64_t at = movi.DataAt() + 4; at < movi.End() && at < walker.Size();) {
        const std::optional<Chunk> chunk = walker.ChunkAt(at);
        if (!chunk)
            return true;
        if (chunk->id == kList) {
            at += 12;
            continue;
        }
        if (!ChunkIsSafe(chunk->id, chunk->size, facts))
            return false;
        at = chunk->End();
    }
    return true;
}

}  // namespace

bool AviLayoutIsSafe(ByteSource& file) {
    Walker walker(file);
    const std::optional<Chunk> riff = walker.ChunkAt(0);
    if (!riff || riff->id != kRiff || riff->type != kAvi)
        return true;

    bool unsafe = false;
    const std::optional<Chunk> hdrl = walker.Find(*riff, 12, kList, kHdrl, unsafe);
    if (unsafe)
        return false;
    if (!hdrl)
        return true;
    FileFacts facts;
    if (!HeaderListIsSafe(walker, *hdrl, facts))
        return false;
    if (facts.streams > kMaxStreams)
        return true;

    const std::optional<Chunk> movi = walker.Find(*riff, hdrl->End(), kList, kMovi, unsafe);
    if (unsafe)
        return false;
    if (!movi)
        return true;
    const std::optional<Chunk> idx1 = walker.Find(*riff, movi->End(), kIdx1, 0, unsafe);
    if (unsafe)
        return false;
    // An index that cannot be read whole is dropped, and so is one the main header disowns: the
    // platform then walks the frame list instead.
    bool indexed = facts.hasIndexFlag;
    if (idx1 && idx1->size > 0) {
        bool readWhole = false;
        if (!IndexIsSafe(walker, *idx1, facts, readWhole))
            return false;
        indexed = indexed && readWhole;
    }
    return indexed || FrameListIsSafe(walker, *movi, facts);
}

}  // namespace kineloop
