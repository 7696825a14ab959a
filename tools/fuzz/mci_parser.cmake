# The string-command device's parser, fed arbitrary command texts.
if(TARGET klingtal_mci_posix)
    klingtal_fuzz_target(fuzz_mci_parser ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_mci_parser.cpp
                         klingtal_mci_posix)
endif()
