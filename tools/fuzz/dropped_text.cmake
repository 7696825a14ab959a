# The text a file manager drops onto the window.
klingtal_fuzz_target(fuzz_dropped_text dropped_text_fuzz.cpp klingtal_platform_common)
