# Compiler settings shared by every target.
#
# All numerical work must round exactly as written: no contraction of a*b+c into a fused
# multiply-add, and never fast-math, so that every build (and every instruction-set path)
# produces the same bits.

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
    set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

add_compile_options(-Wall -Wextra -ffp-contract=off -fno-fast-math)

option(TANDREL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(TANDREL_SANITIZE)
    # The vptr check needs every polymorphic class's type information at link time; a host
    # drives the plug-in's classes through their virtual tables without linking the plug-in.
    add_compile_options(-fsanitize=address,undefined -fno-sanitize=vptr -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

include_directories(${PROJECT_SOURCE_DIR})

# Tests run on the build machine, so a cross build (the Windows package) has none.
if(CMAKE_CROSSCOMPILING)
    return()
endif()

# tandrel_add_test(NAME name SOURCES a.cpp ... LIBS lib ... [LABELS unit|e2e])
# One GoogleTest executable; every test case becomes its own ctest entry.
find_package(GTest REQUIRED)
include(GoogleTest)
function(tandrel_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT T_LABELS)
        set(T_LABELS unit)
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    gtest_discover_tests(${T_NAME} PROPERTIES LABELS "${T_LABELS}" DISCOVERY_TIMEOUT 60)
endfunction()
