// MP3 test files: a generated WAV encoded by lame, and a frame header walk to check lengths.
#include "mp3_files.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

namespace mci_test {
namespace {

void Put16(std::ofstream& out, std::uint16_t v) {
    out.put(static_cast<char>(v & 0xFF));
    out.put(static_cast<char>(v >> 8));
}
void Put32(std::ofstream& out, std::uint32_t v) {
    Put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<std::uint16_t>(v >> 16));
}

// A tone that glides and bursts of noise, so a variable bitrate really varies; or a steady tone.
bool WriteWav(const std::string& path, const Mp3Spec& spec) {
    std::ofstream out(path, std::ios::binary);
    const auto frames = static_cast<std::uint32_t>(spec.seconds * spec.rate);
    const auto channels = static_cast<std::uint16_t>(spec.channels);
    const std::uint32_t dataBytes = frames * channels * 2;
    out.write("RIFF", 4);
    Put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, channels);
    Put32(out, static_cast<std::uint32_t>(spec.rate));
    Put32(out, static_cast<std::uint32_t>(spec.rate) * channels * 2);
    Put16(out, static_cast<std::uint16_t>(channels * 2));
    Put16(out, 16);
    out.write("data", 4);
    Put32(out, dataBytes);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> noise(-6000, 6000);
    double phase = 0;
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / spec.rate;
        phase += 2 * M_PI * (300 + 200 * std::sin(t)) / spec.rate;
        int value = static_cast<int>(8000 * std::sin(phase));
        if (spec.toneHz > 0) {
            const bool other = spec.otherHz > 0 && static_cast<int>(t * 2) % 2 == 1;
            value = static_cast<int>(30000 *
                                     std::sin(2 * M_PI * (other ? spec.otherHz : spec.toneHz) * t));
        } else if (static_cast<int>(t * 4) % 2 == 1) {
            value += noise(random);
        }
        for (int c = 0; c < spec.channels; ++c) Put16(out, static_cast<std::uint16_t>(value));
    }
    return static_cast<bool>(out);
}

std::uint32_t Be32(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) << 24 | static_cast<std::uint32_t>(b[at + 1]) << 16 |
           static_cast<std::uint32_t>(b[at + 2]) << 8 | b[at + 3];
}

}  // namespace

bool MakeMp3(const std::string& path, const Mp3Spec& spec) {
    const std::string wav = path + ".wav";
    if (!WriteWav(wav, spec)) return false;
    std::string command = "lame --quiet --noreplaygain ";
    const int kbps = spec.kbps != 0 ? spec.kbps : spec.rate >= 32000 ? 128 : 64;
    command += spec.vbr ? "-V 5 " : "-b " + std::to_string(kbps) + " ";
    if (!spec.lengthHeader) command += "-t ";
    command += "'" + wav + "' '" + path + "'";
    const bool made = std::system(command.c_str()) == 0;
    unlink(wav.c_str());
    return made;
}

FrameCount CountFrames(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> b{std::istreambuf_iterator<char>(in), {}};
    static constexpr int kBitrates[2][16] = {
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},       // MPEG-2, 2.5
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}};  // MPEG-1
    static constexpr int kRates[3] = {44100, 48000, 32000};
    FrameCount count;
    std::size_t at = 0;
    if (b.size() >= 10 && b[0] == 'I' && b[1] == 'D' && b[2] == '3') {
        at = 10 + (static_cast<std::size_t>(b[6]) << 21 | static_cast<std::size_t>(b[7]) << 14 |
                   static_cast<std::size_t>(b[8]) << 7 | b[9]);
    }
    std::int64_t frames = 0;
    int samplesPerFrame = 0;
    bool first = true;
    while (at + 4 <= b.size()) {
        const std::uint32_t h = Be32(b, at);
        const int version = (h >> 19) & 3;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
        const int bitrate = (h >> 12) & 15, rateIndex = (h >> 10) & 3;
        if ((h >> 21) != 0x7FF || version == 1 || ((h >> 17) & 3) != 1 || rateIndex == 3 ||
            bitrate == 0 || bitrate == 15) {
            break;
        }
        const bool mpeg1 = version == 3;
        const int rate = kRates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
        const bool mono = ((h >> 6) & 3) == 3;
        const std::size_t size = static_cast<std::size_t>(
            (mpeg1 ? 144 : 72) * kBitrates[mpeg1][bitrate] * 1000 / rate + ((h >> 9) & 1));
        const std::size_t sideInfo = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
        const std::size_t tag = at + 4 + sideInfo;
        const bool info = first && tag + 4 <= b.size() &&
                          (std::equal(b.begin() + tag, b.begin() + tag + 4, "Xing") ||
                           std::equal(b.begin() + tag, b.begin() + tag + 4, "Info"));
        if (!info) ++frames;
        first = false;
        count.rate = rate;
        samplesPerFrame = mpeg1 ? 1152 : 576;
        at += size;
    }
    if (frames > 0) count.samples = frames * samplesPerFrame;
    return count;
}

}  // namespace mci_test
