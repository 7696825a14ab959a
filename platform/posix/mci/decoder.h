// One MPEG audio file opened for decoding with libmpg123: the file and the decoder handle as one
// owned object, signed 16-bit samples in the file's own rate and channel count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace mci::posix {

class Decoder {
  public:
    // Opens path and reads the format of the first frame. Returns 0 and sets decoder, or an
    // MCIERR_* number: missing file, unreadable file, not MPEG audio (an empty file included).
    static std::uint32_t Open(const std::string& path, std::unique_ptr<Decoder>& decoder);
    ~Decoder();
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    long Rate() const { return rate_; }               // samples per second
    int Channels() const { return channels_; }        // 1 or 2
    int FrameBytes() const { return channels_ * 2; }  // bytes of one sample in every channel

    // Samples per channel in the whole file, found by parsing every frame the first time it is
    // asked for (so files without a length header are measured right); -1 when that fails.
    // The read position is kept.
    std::int64_t Length();
    std::int64_t MeasuredLength() const { return length_ >= 0 ? length_ : -1; }  // no scan
    bool Seek(std::int64_t sample);                                              // sample-accurate

    // Decodes at most bytes bytes (whole samples) into out and returns how many it wrote. ended
    // becomes true at the end of the data, or when the file can no longer be read.
    std::size_t Read(unsigned char* out, std::size_t bytes, bool& ended);

  private:
    struct Handle;
    explicit Decoder(std::unique_ptr<Handle> handle);

    std::unique_ptr<Handle> handle_;
    long rate_ = 0;
    int channels_ = 0;
    std::int64_t length_ = -2;  // -2 not measured yet
};

}  // namespace mci::posix
