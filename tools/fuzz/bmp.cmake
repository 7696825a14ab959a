# The BMP decoder against arbitrary bytes.
klingtal_fuzz_target(fuzz_bmp ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_bmp.cpp klingtal_platform_common)
