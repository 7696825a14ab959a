# The settings reader, with a check that what it reads is written back unchanged.
klingtal_fuzz_target(fuzz_settings settings_fuzz.cpp)
