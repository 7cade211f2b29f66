# Compiler settings shared by every target of the project, and the pieces the
# Windows build needs (static runtime, Wine as the test launcher, liblzma).

option(TIDE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TIDE_WERROR "Treat warnings in our own code as errors" ON)
option(TIDE_BENCHMARKS "Build the benchmarks (Google Benchmark)" OFF)
option(TIDE_FUZZERS "Build the libFuzzer targets (needs clang)" OFF)

set(TIDE_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

if(TIDE_SANITIZE AND NOT WIN32)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
if(TIDE_FUZZERS)
    # Coverage instrumentation for everything the fuzzers call, so libFuzzer
    # sees the code it explores; only the fuzz targets link libFuzzer itself.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(WIN32)
    enable_language(RC)
endif()
if(MINGW)
    # One self-contained exe: no libgcc/libstdc++/winpthread DLLs beside it.
    add_link_options(-static -static-libgcc -static-libstdc++)
    # Every Windows program the tests start runs under Wine, in a prefix
    # created inside this build tree on first use.
    set(TIDE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TIDE_SOURCE_ROOT}/cmake/wine-run ${TIDE_WINEPREFIX})
endif()

# Warnings, language settings and Windows macros for a target of our own.
function(tide_target_defaults target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /utf-8)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra)
        if(TIDE_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
    if(WIN32)
        # Windows XP is the oldest system the program supports; newer entry
        # points are looked up at run time.
        target_compile_definitions(${target} PRIVATE UNICODE _UNICODE _WIN32_WINNT=0x0501
                                   WINVER=0x0501 NOMINMAX WIN32_LEAN_AND_MEAN)
    endif()
endfunction()

# A Windows program with a wWinMain/wmain entry.
function(tide_windows_entry target)
    if(NOT MSVC)
        target_link_options(${target} PRIVATE -municode)
    endif()
endfunction()

# liblzma: our own cross-build for mingw (scripts/bootstrap), Debian's on the
# host, and XZ Utils' own CMake package on Windows with MSVC.
if(MINGW)
    set(_lzma_root ${TIDE_SOURCE_ROOT}/.deps/lzma/${CMAKE_SYSTEM_PROCESSOR})
    if(NOT EXISTS ${_lzma_root}/lib/liblzma.a)
        message(FATAL_ERROR "liblzma for ${CMAKE_SYSTEM_PROCESSOR} is missing: run scripts/bootstrap")
    endif()
    add_library(tide_lzma STATIC IMPORTED GLOBAL)
    set_target_properties(tide_lzma PROPERTIES
        IMPORTED_LOCATION ${_lzma_root}/lib/liblzma.a
        INTERFACE_INCLUDE_DIRECTORIES ${_lzma_root}/include
        INTERFACE_COMPILE_DEFINITIONS LZMA_API_STATIC)
elseif(WIN32)
    find_package(liblzma CONFIG REQUIRED)
    add_library(tide_lzma INTERFACE)
    target_link_libraries(tide_lzma INTERFACE liblzma::liblzma)
else()
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(LZMA REQUIRED IMPORTED_TARGET liblzma)
    add_library(tide_lzma INTERFACE)
    target_link_libraries(tide_lzma INTERFACE PkgConfig::LZMA)
endif()
