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

# EK_WARNINGS_AS_ERRORS turns every warning of the project's own code into an error (scripts/test
# sets it from EK_NATIVE_WARNINGS_AS_ERRORS and EK_WINDOWS_WARNINGS_AS_ERRORS; .ci/run turns them on).
# Call after ek_use_googletest, so GoogleTest's own sources keep their warnings.
option(EK_WARNINGS_AS_ERRORS "Treat warnings in the project's code as errors" OFF)
macro(ek_use_warnings_as_errors)
    if(EK_WARNINGS_AS_ERRORS)
        add_compile_options(-Werror)
    endif()
endmacro()

# A subsystem library: ek_add_library(name SOURCES ... DEPS ...)
function(ek_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# A GoogleTest executable whose cases ctest discovers when it runs (under Wine when cross-compiling):
# ek_add_test(name SOURCES ... DEPS ... [LABELS ...] [ENVIRONMENT VAR=value ...] [SERIAL])
# SERIAL: its cases never run beside other tests (timing- or focus-sensitive cases).
# ENVIRONMENT: set for its cases (EK_WINEDEBUG=warn+heap, say, has Wine fill freed memory so a use
# after free fails at once).
function(ek_add_test name)
    cmake_parse_arguments(ARG "SERIAL" "" "SOURCES;DEPS;LABELS;ENVIRONMENT" ${ARGN})
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
    if(ARG_ENVIRONMENT)
        list(APPEND props ENVIRONMENT "${ARG_ENVIRONMENT}")
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

# Adds every immediate subfolder that has a CMakeLists.txt.
macro(ek_add_all_subdirectories)
    file(GLOB _ek_children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT _ek_children)
    foreach(_ek_child ${_ek_children})
        if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${_ek_child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_ek_child}/CMakeLists.txt)
            add_subdirectory(${_ek_child})
        endif()
    endforeach()
endmacro()

# The portable half of a layer: every .cpp in its portable/ folder (GLOBS gives other patterns, such
# as app's */portable/*.cpp), plus SOURCES. Built natively too, under the sanitizers.
# ek_add_portable_library(name DEPS ... [GLOBS pattern ...] [SOURCES file.cpp ...])
function(ek_add_portable_library name)
    cmake_parse_arguments(ARG "" "" "DEPS;GLOBS;SOURCES" ${ARGN})
    if(NOT ARG_GLOBS)
        set(ARG_GLOBS portable/*.cpp)
    endif()
    list(TRANSFORM ARG_GLOBS PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    file(GLOB sources CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${ARG_GLOBS})
    list(FILTER sources EXCLUDE REGEX "Test\\.cpp$")
    list(SORT sources)
    ek_add_library(${name} SOURCES ${sources} ${ARG_SOURCES} DEPS ${ARG_DEPS})
endfunction()

# A subsystem library made of every .cpp in its folder (and subfolders) outside portable/ folders
# (the portable half is a library of its own), minus EXCLUDE:
# ek_add_folder_library(name DEPS ... [EXCLUDE file.cpp ...])
# A folder with no sources yet gives an interface library, so dependents still link.
function(ek_add_folder_library name)
    cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    list(FILTER sources EXCLUDE REGEX "(^|/)portable/")
    foreach(ex ${ARG_EXCLUDE})
        list(REMOVE_ITEM sources ${ex})
    endforeach()
    if(sources)
        add_library(${name} STATIC ${sources})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    endif()
endfunction()

# One test program per *Test.cpp in the calling folder (GLOBS gives other patterns), each linked
# with DEPS:
# ek_add_folder_tests(DEPS ... [GLOBS pattern ...] [SERIAL_TESTS NameTest ...] [HEAP_CHECKED_TESTS NameTest ...])
# HEAP_CHECKED_TESTS run with Wine's heap checks on (freed memory filled, so a use after free fails);
# natively they run as any other.
function(ek_add_folder_tests)
    cmake_parse_arguments(ARG "" "" "DEPS;GLOBS;SERIAL_TESTS;HEAP_CHECKED_TESTS" ${ARGN})
    if(NOT ARG_GLOBS)
        set(ARG_GLOBS *Test.cpp)
    endif()
    list(TRANSFORM ARG_GLOBS PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    file(GLOB tests CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${ARG_GLOBS})
    list(SORT tests)
    foreach(src ${tests})
        get_filename_component(name ${src} NAME_WE)
        set(options)
        if(name IN_LIST ARG_SERIAL_TESTS)
            list(APPEND options SERIAL)
        endif()
        if(WIN32 AND name IN_LIST ARG_HEAP_CHECKED_TESTS)
            list(APPEND options ENVIRONMENT EK_WINEDEBUG=warn+heap)
        endif()
        ek_add_test(${name} SOURCES ${src} DEPS ${ARG_DEPS} ${options})
    endforeach()
endfunction()

# The tests of a layer's portable half: one program per portable/*Test.cpp (GLOBS gives other
# patterns), built natively (under the sanitizers) and under Windows alike. Options as
# ek_add_folder_tests; DEPS must be portable libraries.
function(ek_add_portable_tests)
    cmake_parse_arguments(ARG "" "" "DEPS;GLOBS;SERIAL_TESTS;HEAP_CHECKED_TESTS" ${ARGN})
    if(NOT ARG_GLOBS)
        set(ARG_GLOBS portable/*Test.cpp)
    endif()
    ek_add_folder_tests(DEPS ${ARG_DEPS} GLOBS ${ARG_GLOBS} SERIAL_TESTS ${ARG_SERIAL_TESTS}
                        HEAP_CHECKED_TESTS ${ARG_HEAP_CHECKED_TESTS})
endfunction()
