# nifti_clib for the host and the demo data. Debian's CMake package for it names library paths
# that do not exist on the system, so the library is looked up directly.
find_package(ZLIB REQUIRED)
find_path(TANDREL_NIFTI_INCLUDE_DIR nifti1_io.h PATH_SUFFIXES nifti REQUIRED)
find_library(TANDREL_NIFTIIO_LIBRARY niftiio REQUIRED)
find_library(TANDREL_ZNZ_LIBRARY znz REQUIRED)
add_library(tandrel_nifti INTERFACE)
target_include_directories(tandrel_nifti SYSTEM INTERFACE ${TANDREL_NIFTI_INCLUDE_DIR})
target_link_libraries(tandrel_nifti INTERFACE ${TANDREL_NIFTIIO_LIBRARY} ${TANDREL_ZNZ_LIBRARY}
                                              ZLIB::ZLIB m)
