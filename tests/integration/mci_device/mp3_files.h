// Test material for the device suite: MP3 files made with lame from a generated sound (also
// without a length header, which the shared helpers do not make), and an independent count of
// the samples an MP3 file holds. Temporary folders come from support/test_files.h.
#pragma once

#include <cstdint>
#include <string>

namespace mci_test {

struct Mp3Spec {
    int rate = 44100;
    int channels = 2;
    bool vbr = false;          // else constant: kbps, or 128 kbit/s (64 kbit/s below 32 kHz) when 0
    bool lengthHeader = true;  // false: lame -t, no Xing/Info frame
    double seconds = 3.0;
    int kbps = 0;
    double toneHz = 0;   // a steady tone at nearly full level; 0: a glide with bursts of noise
    double otherHz = 0;  // with toneHz: the two tones take turns every 500 ms, toneHz first
};

bool MakeMp3(const std::string& path, const Mp3Spec& spec);

struct FrameCount {
    std::int64_t samples = -1;  // per channel, all audio frames (the Xing/Info frame excluded)
    int rate = 0;
};
// Walks the layer III frame headers of the file; samples stays -1 when it finds none.
FrameCount CountFrames(const std::string& path);

// Length in milliseconds, truncated.
inline std::int64_t LengthMs(const FrameCount& count) {
    return count.samples * 1000 / count.rate;
}

}  // namespace mci_test
