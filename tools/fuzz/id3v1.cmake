# The ID3v1 info text built from a song's last bytes.
klingtal_fuzz_target(fuzz_id3v1 id3v1_fuzz.cpp)
