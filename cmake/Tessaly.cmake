# Common settings of the suite's own targets.

set(TESSALY_WARNINGS -Wall -Wextra -Werror=switch -Werror=return-type)

# tessaly_target(<target>): warnings, include root, C++20.
function(tessaly_target target)
    target_compile_options(${target} PRIVATE ${TESSALY_WARNINGS})
    target_include_directories(${target} PUBLIC
        $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
    target_compile_features(${target} PUBLIC cxx_std_20)
endfunction()

# Sanitized builds (TESSALY_SANITIZE): the checkers' options for every test and
# for the programs a test starts (they inherit its environment). Any report
# ends the process with an error; the leaks that outside libraries keep are
# listed in sanitizer-suppressions.txt.
set(TESSALY_SANITIZER_SUPPRESSIONS ${CMAKE_CURRENT_LIST_DIR}/sanitizer-suppressions.txt)

# tessaly_test_environment(<variable> [WEBENGINE]): the environment of a test in
# this build, as a list of NAME=value. WEBENGINE: the test shows web pages,
# whose engine frees some of its own objects with a size other than the one
# they were made with (inside Qt WebEngine, where ASan's suppression file
# cannot reach that report): the address checker does not compare the sizes.
function(tessaly_test_environment variable)
    cmake_parse_arguments(E "WEBENGINE" "" "" ${ARGN})
    set(_environment)
    if(TESSALY_SANITIZE)
        set(_asan detect_leaks=1:halt_on_error=1)
        if(E_WEBENGINE)
            string(APPEND _asan :new_delete_type_mismatch=0)
        endif()
        set(_environment
            ASAN_OPTIONS=${_asan}
            LSAN_OPTIONS=suppressions=${TESSALY_SANITIZER_SUPPRESSIONS}:print_suppressions=0
            UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1)
    endif()
    set(${variable} ${_environment} PARENT_SCOPE)
endfunction()

# tessaly_sanitize_tests(<test>...): plain CTest tests that run the suite's
# programs get the checkers' options too.
function(tessaly_sanitize_tests)
    tessaly_test_environment(_environment)
    if(_environment)
        set_tests_properties(${ARGN} PROPERTIES ENVIRONMENT "${_environment}")
    endif()
endfunction()

# tessaly_add_test(<name> [GUI|WEBENGINE] [INSTALLED] SOURCES ... LIBS ...): one GoogleTest
# binary under CTest. Every test binary runs with temporary registry hives; GUI
# ones also get a QApplication on Qt's offscreen platform (see testsupport/).
# WEBENGINE ones show web pages: each case costs about 1.5 s and 0.8 GB, so
# keep page checks in few cases; they never run two at a time. INSTALLED ones
# start installed programs: they run after the fixture that installs the build
# into TESSALY_INSTALL_ROOT.
function(tessaly_add_test name)
    cmake_parse_arguments(T "GUI;WEBENGINE;INSTALLED" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    tessaly_target(${name})
    set(_lock)
    set(_fixture)
    if(T_INSTALLED)
        # Runs after the install-root fixture; the root's path as TESSALY_INSTALL_ROOT.
        target_compile_definitions(${name} PRIVATE TESSALY_INSTALL_ROOT="${TESSALY_TEST_INSTALL_ROOT}")
        # One at a time: programs may write their logs into the root.
        set(_fixture FIXTURES_REQUIRED install_root RESOURCE_LOCK install_root)
    endif()
    set(_webengine)
    if(T_WEBENGINE)
        set(_main testsupport_webengine_main)
        set(_lock RESOURCE_LOCK webengine)
        set(_webengine WEBENGINE)
    elseif(T_GUI)
        set(_main testsupport_gui_main)
    else()
        set(_main testsupport_main)
    endif()
    if(T_INSTALLED)
        # The installed programs a test starts show web pages themselves.
        set(_webengine WEBENGINE)
    endif()
    tessaly_test_environment(_sanitizers ${_webengine})
    target_link_libraries(${name} PRIVATE ${T_LIBS} ${_main} testsupport GTest::gtest GTest::gmock)
    if(_sanitizers)
        # Listing the cases at build time runs the binary outside CTest: the
        # same variables reach it through the emulator.
        set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${_sanitizers})
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 60
        TEST_LIST ${name}_TESTS
        PROPERTIES TIMEOUT 120
                   ${_lock}
                   ${_fixture})
    # The discovery gives each property one value only: the environment, a
    # list, is set on the found cases by a file CTest reads after theirs.
    set(_environment QT_QPA_PLATFORM=offscreen ${_sanitizers})
    set(_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
    file(CONFIGURE OUTPUT ${_file} CONTENT [==[
if(@name@_TESTS)
    set_tests_properties(${@name@_TESTS} PROPERTIES ENVIRONMENT [[@_environment@]])
endif()
]==] @ONLY)
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${_file})
endfunction()

# tessaly_add_fuzz(<name> SOURCES ... [LIBS ...]): a libFuzzer target (clang, a
# build folder configured with -DTESSALY_FUZZ=ON). The reader's own sources are
# listed rather than linked, so the fuzzer sees their coverage; the target is
# built with the address and undefined-behaviour sanitizers.
function(tessaly_add_fuzz name)
    cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${F_SOURCES})
    tessaly_target(${name})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    if(F_LIBS)
        target_link_libraries(${name} PRIVATE ${F_LIBS})
    endif()
endfunction()

# tessaly_add_pictures(<target> <program>): compiles the pictures of one program
# or component, data/pictures/<program>/bitmap/<id>.png and icon/<id>.png, into
# the target's Qt resources as ":/<program>/bitmap/<id>.png" and
# ":/<program>/icon/<id>.png". Each program carries only its own folder.
function(tessaly_add_pictures target program)
    set(_dir ${PROJECT_SOURCE_DIR}/data/pictures/${program})
    file(GLOB _pictures CONFIGURE_DEPENDS ${_dir}/bitmap/*.png ${_dir}/icon/*.png)
    if(NOT _pictures)
        message(FATAL_ERROR "tessaly_add_pictures: no pictures in ${_dir}")
    endif()
    qt_add_resources(${target} "pictures_${program}"
        PREFIX "/${program}"
        BASE ${_dir}
        FILES ${_pictures})
endfunction()
