# Version numbers for the version resource and for the code: the fixed file
# version is the project version; the version text carries the build date as
# its fourth part (3.1.4.yymmdd), which is what the About page shows.
# (CMake takes the date from SOURCE_DATE_EPOCH when it is set: reproducible builds.)
string(TIMESTAMP TIDE_BUILD_DATE "%y%m%d")
set(TIDE_VERSION_TEXT
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${TIDE_BUILD_DATE}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/TideVersion.h.in
               ${CMAKE_BINARY_DIR}/generated/TideVersion.h @ONLY)
