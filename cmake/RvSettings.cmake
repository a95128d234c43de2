# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Build settings shared by every target of the project (rv::settings).
add_library(rv_settings INTERFACE)
add_library(rv::settings ALIAS rv_settings)
target_compile_features(rv_settings INTERFACE cxx_std_20)
target_compile_definitions(rv_settings INTERFACE
  QT_NO_CAST_FROM_ASCII QT_USE_QSTRINGBUILDER QT_NO_KEYWORDS)
target_compile_options(rv_settings INTERFACE
  -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Werror)
# lld links several times faster than the default linker, most of all the test executables,
# each of which holds the static libraries and their debugging information; used when present.
include(CheckLinkerFlag)
check_linker_flag(CXX -fuse-ld=lld RV_HAVE_LLD)
if(RV_HAVE_LLD)
  target_link_options(rv_settings INTERFACE -fuse-ld=lld)
endif()
# The environment every test runs in. Leaks are checked; the suppressions name only system
# libraries' own allocations (see the file), never the project's code.
set(RV_TEST_ENVIRONMENT
  "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;TZ=Asia/Shanghai"
  "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizers/lsan.supp:print_suppressions=0"
  "TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizers/tsan.supp:halt_on_error=1:second_deadlock_stack=1:report_signal_unsafe=0")
if(RV_SANITIZE STREQUAL "thread")
  target_compile_options(rv_settings INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(rv_settings INTERFACE -fsanitize=thread)
elseif(RV_SANITIZE)
  target_compile_options(rv_settings INTERFACE
    -fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined,float-cast-overflow)
  target_link_options(rv_settings INTERFACE -fsanitize=address,undefined,float-cast-overflow)
endif()

# rv_precompile(TARGET [WIDGETS]): precompiles the Qt and standard headers nearly every file
# of a library includes; on two cores this roughly halves the build.
function(rv_precompile target)
  set(headers <memory> <functional> <optional> <vector>
      <QtCore/QObject> <QtCore/QString> <QtCore/QStringList> <QtCore/QList> <QtCore/QHash>
      <QtCore/QJsonObject> <QtCore/QJsonArray> <QtCore/QJsonValue> <QtCore/QPointer>
      <QtCore/QTimer> <QtCore/QDateTime>)
  if("WIDGETS" IN_LIST ARGN)
    list(APPEND headers <QtWidgets/QWidget> <QtGui/QPainter> <QtGui/QFont> <QtGui/QColor>
         <QtGui/QImage>)
  endif()
  target_precompile_headers(${target} PRIVATE ${headers})
endfunction()

# One precompiled header for the tests of a folder: they share flags and defines (Qt's test
# module defines the folder's build directory, so one per folder).
function(rv_test_pch out)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  string(MAKE_C_IDENTIFIER "rv_test_pch_${folder}" pch)
  set(${out} ${pch} PARENT_SCOPE)
  if(TARGET ${pch})
    return()
  endif()
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${pch}.cpp "// precompiled header holder\n")
  add_library(${pch} STATIC ${CMAKE_CURRENT_BINARY_DIR}/${pch}.cpp)
  set_target_properties(${pch} PROPERTIES AUTOMOC OFF) # nothing to moc, no step for it
  target_link_libraries(${pch} PUBLIC rv::settings Qt6::Test Qt6::Widgets Qt6::Network)
  target_compile_definitions(${pch} PUBLIC RV_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  target_precompile_headers(${pch} PRIVATE <memory> <functional> <optional> <vector>
    <QtTest/QTest> <QtTest/QSignalSpy> <QtCore/QObject> <QtCore/QString> <QtCore/QJsonObject>
    <QtCore/QJsonArray> <QtCore/QJsonDocument> <QtWidgets/QWidget> <QtGui/QPainter>)
endfunction()

# The environment every test pins before main (tests/testenvironment.cpp), compiled once for
# all tests: an object library, whose object goes into every test whole (a static library's
# would be dropped, nothing refers to it).
function(rv_test_environment out)
  if(NOT TARGET rv_test_environment)
    add_library(rv_test_environment OBJECT ${PROJECT_SOURCE_DIR}/tests/testenvironment.cpp)
    target_link_libraries(rv_test_environment PRIVATE rv::settings Qt6::Core)
    set_target_properties(rv_test_environment PROPERTIES AUTOMOC OFF)
  endif()
  set(${out} $<TARGET_OBJECTS:rv_test_environment> PARENT_SCOPE)
endfunction()

# rv_add_qt_test(NAME SOURCES... LIBS ... [LAUNCHER command...]): one Qt Test executable
# registered in CTest, run headless with the test mode of the standard paths (by the launcher,
# when one is given).
function(rv_add_qt_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LAUNCHER" ${ARGN})
  rv_test_pch(pch)
  rv_test_environment(environment)
  add_executable(${name} ${T_SOURCES} ${environment})
  # Every test links the same Qt modules, so that all of them can share one precompiled header.
  target_link_libraries(${name} PRIVATE rv::settings Qt6::Test Qt6::Widgets Qt6::Network ${T_LIBS})
  target_compile_definitions(${name} PRIVATE RV_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  target_precompile_headers(${name} REUSE_FROM ${pch})
  # A test's moc output is included by its source; the generated collection file is then empty
  # and needs no precompiled header (loading one costs more than compiling the file).
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${name}_autogen/mocs_compilation.cpp
                              PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
  add_test(NAME ${name} COMMAND ${T_LAUNCHER} $<TARGET_FILE:${name}>)
  # Labelled by layer, so that a run can pick layers (the thread-sanitizer run picks the
  # threaded ones).
  get_filename_component(layer ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set_tests_properties(${name} PROPERTIES LABELS ${layer}
    ENVIRONMENT "${RV_TEST_ENVIRONMENT}" TIMEOUT 300)
endfunction()
