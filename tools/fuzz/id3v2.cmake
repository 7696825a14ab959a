# The ID3v2 reader over the bytes at the start of a song.
klingtal_fuzz_target(fuzz_id3v2 id3v2_fuzz.cpp)
