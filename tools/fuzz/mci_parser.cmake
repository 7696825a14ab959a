# The string-command device's parser, fed arbitrary command texts.
klingtal_fuzz_target(fuzz_mci_parser ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_mci_parser.cpp
                     klingtal_mci_posix)
