# Shared settings for every Tonaro target.
function(tonaro_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                         -Wno-missing-field-initializers)
  if(TONARO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# tonaro_library(<name> DEPENDS ...) makes the static library tonaro_<name> from
# the .cpp files of the calling folder.  DEPENDS lists the only libraries this
# folder may use; its own folder is its only public include path, so a header
# of a higher layer cannot be reached from a lower one.  A folder that holds no
# sources yet becomes an interface target that keeps its place in that order.
function(tonaro_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB forms CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.ui)
  if(sources)
    add_library(tonaro_${name} STATIC ${sources} ${forms})
    target_include_directories(tonaro_${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(tonaro_${name} PUBLIC ${ARG_DEPENDS})
    tonaro_warnings(tonaro_${name})
  else()
    add_library(tonaro_${name} INTERFACE)
    target_link_libraries(tonaro_${name} INTERFACE ${ARG_DEPENDS})
  endif()
endfunction()

# tonaro_tests(<name> LABEL <label> DEPENDS ... [QT] [SOUND]) makes one
# GoogleTest executable from the .cpp files of the calling test folder and
# registers its cases with CTest under the label.  QT gives the tests a
# QApplication.  SOUND marks programs that play into or record from the one
# sound device: ctest never runs two of their cases at the same time, since
# one test's tone would be heard in the other's recording.
function(tonaro_tests name)
  cmake_parse_arguments(ARG "QT;SOUND" "LABEL;TIMEOUT" "DEPENDS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE tonaro_test_qtmain)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} tonaro_test_support GTest::gtest GTest::gmock)
  tonaro_warnings(${name})
  # Listed when ctest runs (under Xvfb in CI), not at link time, since the
  # Qt test programs need a display to start.
  set(lock)
  if(ARG_SOUND)
    set(lock RESOURCE_LOCK sound_device)
  endif()
  gtest_discover_tests(${name} PROPERTIES LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT} ${lock}
                       DISCOVERY_TIMEOUT 60 DISCOVERY_MODE PRE_TEST)
endfunction()
