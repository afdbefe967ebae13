# Common settings of the suite's own targets.

set(TESSALY_WARNINGS -Wall -Wextra -Werror=switch -Werror=return-type)

# tessaly_target(<target>): warnings, include root, C++20.
function(tessaly_target target)
    target_compile_options(${target} PRIVATE ${TESSALY_WARNINGS})
    target_include_directories(${target} PUBLIC
        $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
    target_compile_features(${target} PUBLIC cxx_std_20)
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
    if(T_WEBENGINE)
        set(_main testsupport_webengine_main)
        set(_lock RESOURCE_LOCK webengine)
    elseif(T_GUI)
        set(_main testsupport_gui_main)
    else()
        set(_main testsupport_main)
    endif()
    target_link_libraries(${name} PRIVATE ${T_LIBS} ${_main} testsupport GTest::gtest GTest::gmock)
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                   TIMEOUT 120
                   ${_lock}
                   ${_fixture})
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
