// Times the frame header analysis over 10,000 small MP3 files against a floor loop that only
// opens each file, reads its first 4 KiB, takes its size and closes it.
// Usage: bench_header [folder]  (default: <temp>/klingtal-bench-corpus, made once, then reused)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/bench/corpus/corpus.h"
#include "trackinfo/frame_header.h"

namespace {

constexpr int Rounds = 5;

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : bench::DefaultCorpusFolder();
    const std::vector<std::string> paths = bench::PrepareCorpus(folder);
    if (paths.empty()) {
        std::fprintf(stderr, "cannot write the corpus to %s\n", folder.c_str());
        return 1;
    }

    std::vector<SongHeaderInfo> infos(paths.size());
    std::int64_t floorBytes = 0;
    double analysis = 1e30, floor = 1e30;
    // Alternating rounds, best of each: both see the same warm page cache.
    for (int round = 0; round < Rounds; ++round) {
        floor = std::min(floor, bench::Seconds([&] { floorBytes += bench::FloorPass(paths); }));
        analysis = std::min(analysis, bench::Seconds([&] {
                                for (std::size_t i = 0; i < paths.size(); ++i)
                                    infos[i] = AnalyseSongHeader(paths[i]);
                            }));
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const FrameHeaderTexts& texts = infos[i].texts;
        if (texts.bitrateText != "128" || texts.sampleRateText != "44100") {
            std::fprintf(stderr, "%s: unexpected \"%s\" \"%s\"\n", paths[i].c_str(),
                         texts.bitrateText.c_str(), texts.sampleRateText.c_str());
            return 1;
        }
    }
    std::printf("corpus: %d files in %s\n", bench::CorpusSize, folder.c_str());
    std::printf("floor (open, read 4 KiB, size, close): %.0f files/s\n", bench::CorpusSize / floor);
    std::printf("AnalyseSongHeader:                     %.0f files/s\n",
                bench::CorpusSize / analysis);
    std::printf("ratio analysis/floor (time):           %.3f\n", analysis / floor);
    return floorBytes > 0 ? 0 : 1;
}
