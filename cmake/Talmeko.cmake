# Shared build rules: warnings, sanitizers, the core/Qt boundary and test registration.
include(GoogleTest)

set(TALMEKO_ROOT "${CMAKE_CURRENT_LIST_DIR}/..")

function(talmeko_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
  if(TALMEKO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(TALMEKO_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# A core library: standard C++ only. It may link other core libraries but never Qt;
# the check at the end of the configure step enforces that.
function(talmeko_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC "${TALMEKO_ROOT}/src")
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  talmeko_warnings(${name})
  set_property(GLOBAL APPEND PROPERTY TALMEKO_CORE_TARGETS ${name})
endfunction()

# A window-system library: the only kind allowed to use Qt.
function(talmeko_qt_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PUBLIC "${TALMEKO_ROOT}/src")
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} Qt6::Widgets)
  talmeko_warnings(${name})
endfunction()

# A GoogleTest executable; every TEST becomes one CTest case.
function(talmeko_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE "${TALMEKO_ROOT}/tests" "${TALMEKO_ROOT}/src")
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE TALMEKO_FIXTURES="${TALMEKO_ROOT}/tests/fixtures")
  talmeko_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# Turns a text file into a C++ source defining `extern const std::string_view symbol`.
function(talmeko_embed_text input symbol output)
  add_custom_command(
    OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
            -P "${TALMEKO_ROOT}/cmake/EmbedText.cmake"
    DEPENDS "${input}" "${TALMEKO_ROOT}/cmake/EmbedText.cmake"
    COMMENT "Embedding ${input}"
    VERBATIM)
endfunction()

# Refuses to configure when a core target links Qt.
function(talmeko_check_boundary)
  get_property(targets GLOBAL PROPERTY TALMEKO_CORE_TARGETS)
  foreach(t IN LISTS targets)
    get_target_property(libs ${t} LINK_LIBRARIES)
    foreach(l IN LISTS libs)
      if(l MATCHES "^Qt")
        message(FATAL_ERROR "Core target ${t} must not link ${l}")
      endif()
    endforeach()
  endforeach()
endfunction()
