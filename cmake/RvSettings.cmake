# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Build settings shared by every target of the project (rv::settings).
add_library(rv_settings INTERFACE)
add_library(rv::settings ALIAS rv_settings)
target_compile_features(rv_settings INTERFACE cxx_std_20)
target_compile_definitions(rv_settings INTERFACE
  QT_NO_CAST_FROM_ASCII QT_USE_QSTRINGBUILDER QT_NO_KEYWORDS
  RV_SERVICE_HOST="${RV_SERVICE_HOST}")
target_compile_options(rv_settings INTERFACE
  -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Werror)
if(RV_SANITIZE)
  target_compile_options(rv_settings INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(rv_settings INTERFACE -fsanitize=address,undefined)
endif()

# rv_add_qt_test(NAME SOURCES... LIBS ...): one Qt Test executable registered in CTest,
# run headless with the test mode of the standard paths.
function(rv_add_qt_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE rv::settings Qt6::Test ${T_LIBS})
  target_compile_definitions(${name} PRIVATE RV_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;TZ=Asia/Shanghai;ASAN_OPTIONS=detect_leaks=0"
    TIMEOUT 300)
endfunction()
