# Generates the button images, the About picture and the About sound at build time and
# compiles their bytes into klingtal_core (ui/images.h, ui/sound.h).
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(klingtal_res_dir ${CMAKE_BINARY_DIR}/generated/resources)
set(klingtal_res_images "")
foreach(n RANGE 1 12)
    list(APPEND klingtal_res_images ${klingtal_res_dir}/image${n}.bmp)
endforeach()
set(klingtal_image_scripts "")
foreach(script about_picture.py bmp_writer.py button_art.py make_images.py)
    list(APPEND klingtal_image_scripts ${PROJECT_SOURCE_DIR}/tools/images/${script})
endforeach()

add_custom_command(
    OUTPUT ${klingtal_res_images}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/images/make_images.py
            ${klingtal_res_dir}
    DEPENDS ${klingtal_image_scripts}
    COMMENT "Drawing the program's images")
add_custom_command(
    OUTPUT ${klingtal_res_dir}/about.wav
    COMMAND ${CMAKE_COMMAND} -E make_directory ${klingtal_res_dir}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/sound/make_about_sound.py
            ${klingtal_res_dir}/about.wav
    DEPENDS ${PROJECT_SOURCE_DIR}/tools/sound/make_about_sound.py
    COMMENT "Making the About sound")
add_custom_command(
    OUTPUT ${klingtal_res_dir}/resource_data.cpp
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/images/embed.py
            ${klingtal_res_dir}/resource_data.cpp ${klingtal_res_dir} ${klingtal_res_dir}/about.wav
    DEPENDS ${klingtal_res_images} ${klingtal_res_dir}/about.wav
            ${PROJECT_SOURCE_DIR}/tools/images/embed.py
    COMMENT "Embedding images and sound")
target_sources(klingtal_core PRIVATE ${klingtal_res_dir}/resource_data.cpp)
