# kelu_core_test(name SOURCES ... LIBS ...): a GoogleTest executable of the
# Qt-free core; it also runs in the sanitizer build.
function(kelu_core_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS core)
endfunction()

# kelu_widget_test(name SOURCES ... LIBS ...): a GoogleTest executable of Qt
# widgets, run with a QApplication on the offscreen platform; only in the
# normal build (not the core-only sanitizer build).
function(kelu_widget_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/control/WidgetTestMain.cpp)
  target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Widgets GTest::gtest)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS widget ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
