# The Windows package: Tandrel.dll and Quorvis.exe, cross-built with MinGW-w64
# (cmake/mingw-w64-x86_64.cmake) from the same sources as the Linux build. Tests, benchmarks and
# the demo tools run on the build machine and are not part of it; the Linux build's Wine test
# runs the package.

# nifti_clib has no MinGW build. The Windows host reads runs with its own NIfTI-1 reader over
# zlib (host/nifti_reader_zlib.cpp; its writer needs no library), so zlib is all it links. zlib
# is linked in, like the compiler's run-time.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
add_library(tandrel_nifti INTERFACE)
target_link_libraries(tandrel_nifti INTERFACE ZLIB::ZLIB)

# CLI11 is header-only and the same for every target, so the build machine's copy serves. Its
# folder is offered alone: the rest of the build machine's headers must not hide MinGW's.
find_path(TANDREL_CLI11_INCLUDE_DIR CLI/CLI.hpp NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(TANDREL_CLI11_ONLY ${CMAKE_BINARY_DIR}/cli11-include)
file(MAKE_DIRECTORY ${TANDREL_CLI11_ONLY})
file(CREATE_LINK ${TANDREL_CLI11_INCLUDE_DIR}/CLI ${TANDREL_CLI11_ONLY}/CLI SYMBOLIC)
include_directories(SYSTEM ${TANDREL_CLI11_ONLY})

foreach(part platform numerics sdm plugin compare host)
    add_subdirectory(${part})
endforeach()

# The plug-in finds its host by this file name, so the program carries it exactly.
set_target_properties(quorvis PROPERTIES OUTPUT_NAME Quorvis)
