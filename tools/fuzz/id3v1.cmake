klingtal_fuzz_target(fuzz_id3v1 id3v1_fuzz.cpp)
