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
  target_link_libraries(${pch} PUBLIC rv::settings Qt6::Test Qt6::Widgets Qt6::Network)
  target_compile_definitions(${pch} PUBLIC RV_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  target_precompile_headers(${pch} PRIVATE <memory> <functional> <optional> <vector>
    <QtTest/QTest> <QtTest/QSignalSpy> <QtCore/QObject> <QtCore/QString> <QtCore/QJsonObject>
    <QtCore/QJsonArray> <QtCore/QJsonDocument> <QtWidgets/QWidget> <QtGui/QPainter>)
endfunction()

# rv_add_qt_test(NAME SOURCES... LIBS ...): one Qt Test executable registered in CTest,
# run headless with the test mode of the standard paths.
function(rv_add_qt_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  rv_test_pch(pch)
  add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/testenvironment.cpp)
  # Every test links the same Qt modules, so that all of them can share one precompiled header.
  target_link_libraries(${name} PRIVATE rv::settings Qt6::Test Qt6::Widgets Qt6::Network ${T_LIBS})
  target_compile_definitions(${name} PRIVATE RV_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  target_precompile_headers(${name} REUSE_FROM ${pch})
  add_test(NAME ${name} COMMAND ${name})
  # Labelled by layer, so that a run can pick layers (the thread-sanitizer run picks the
  # threaded ones).
  get_filename_component(layer ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set_tests_properties(${name} PROPERTIES LABELS ${layer}
    ENVIRONMENT "${RV_TEST_ENVIRONMENT}" TIMEOUT 300)
endfunction()
