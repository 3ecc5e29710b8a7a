# Compiler settings shared by every target.

option(ZARVO_WERROR "Treat warnings as errors" OFF)
set(ZARVO_SANITIZE "" CACHE STRING "Sanitizers to build with: address, thread, or empty")
option(ZARVO_FUZZ "Build the libFuzzer targets (clang only)" OFF)

find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM)
    set(CMAKE_C_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
    set(CMAKE_CXX_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
endif()

add_compile_options(-Wall -Wextra)
if(ZARVO_WERROR)
    add_compile_options(-Werror)
endif()

# Lock-step network play needs the same float results on every peer.
add_compile_options(-ffp-contract=off -fno-fast-math)

if(ZARVO_SANITIZE STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
elseif(ZARVO_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
elseif(NOT ZARVO_SANITIZE STREQUAL "")
    message(FATAL_ERROR "Unknown ZARVO_SANITIZE value '${ZARVO_SANITIZE}'")
endif()

if(ZARVO_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "ZARVO_FUZZ needs clang")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# zarvo_render_library(NAME EXPORTS [SOURCES...]): the render library as a shared library that
# exports only the entry points of its version script.
function(zarvo_render_library name exports)
    add_library(${name} SHARED ${ARGN} ${exports})
    target_link_libraries(${name} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,zarvo_render>")
    target_link_options(${name} PRIVATE "-Wl,--version-script=${exports}" -Wl,--no-undefined)
    set_target_properties(${name} PROPERTIES
        PREFIX ""
        LINKER_LANGUAGE CXX
        LINK_DEPENDS ${exports}
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
endfunction()
