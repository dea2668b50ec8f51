# Helpers shared by every folder's CMakeLists.txt.

set(EK_WINDOWS_LIBS ole32 oleaut32 uuid shell32 comctl32 gdi32 user32 advapi32 shlwapi)

# GoogleTest from Debian's sources (package googletest), built with this project's compiler.
macro(ek_use_googletest)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    include(GoogleTest)
endmacro()

# A subsystem library: ek_add_library(name SOURCES ... DEPS ...)
function(ek_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# A GoogleTest executable whose cases ctest discovers when it runs (under Wine when cross-compiling):
# ek_add_test(name SOURCES ... DEPS ... [LABELS ...] [SERIAL])
# SERIAL: its cases never run beside other tests (timing- or focus-sensitive cases).
function(ek_add_test name)
    cmake_parse_arguments(ARG "SERIAL" "" "SOURCES;DEPS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
    if(WIN32)
        target_link_libraries(${name} PRIVATE ${EK_WINDOWS_LIBS})
    endif()
    set(props TIMEOUT 300)
    if(ARG_LABELS)
        list(APPEND props LABELS "${ARG_LABELS}")
    endif()
    if(ARG_SERIAL)
        list(APPEND props RUN_SERIAL TRUE)
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
endfunction()

# Adds each listed folder that has a CMakeLists.txt (folders arrive as their subsystems are built).
macro(ek_add_subdirectories)
    foreach(sub ${ARGN})
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/CMakeLists.txt)
            add_subdirectory(${sub})
        endif()
    endforeach()
endmacro()
