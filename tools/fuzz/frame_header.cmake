# The frame header search over a whole song in memory.
klingtal_fuzz_target(fuzz_frame_header frame_header_fuzz.cpp)
