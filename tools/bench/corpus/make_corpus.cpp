// Writes the benchmark corpus of small MP3 files into a folder (made once, then reused).
// Usage: bench_corpus FOLDER [COUNT]   (COUNT 1..10000, default 10000)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/bench/corpus/corpus.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: bench_corpus FOLDER [COUNT]\n");
        return 2;
    }
    const int count = argc == 3 ? std::atoi(argv[2]) : bench::CorpusSize;
    if (count < 1 || count > bench::CorpusSize) {
        std::fprintf(stderr, "bench_corpus: COUNT must be 1..%d\n", bench::CorpusSize);
        return 2;
    }
    if (bench::PrepareCorpus(argv[1], count).empty()) {
        std::fprintf(stderr, "bench_corpus: cannot write the corpus to %s\n", argv[1]);
        return 1;
    }
    return 0;
}
