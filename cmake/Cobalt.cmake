# Adds every subfolder of the current folder that has a CMakeLists.txt.
function(cobalt_add_subfolders)
  file(GLOB entries LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(e ${entries})
    if(IS_DIRECTORY ${e} AND EXISTS ${e}/CMakeLists.txt)
      add_subdirectory(${e})
    endif()
  endforeach()
endfunction()

# One static library per subsystem folder: every .cpp directly in the folder.
function(cobalt_library name)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# A test executable, registered with CTest as one test.
#   cobalt_test(NAME n SOURCES a.cpp b.cpp LIBS libs... LABELS unit|gl|e2e|content [WORKDIR dir])
# Tests get COBALT_BASE_DIR (generated content), COBALT_SOURCE_DIR and COBALT_GAME_BINARY.
function(cobalt_test)
  cmake_parse_arguments(T "" "NAME;WORKDIR" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  # The test programs' own files are built for compile speed (a third of the time at -O1 without
  # debug information): the game's code they exercise keeps the build's flags, and failures name
  # their file and line through the test macros either way.
  target_compile_options(${T_NAME} PRIVATE $<$<CONFIG:RelWithDebInfo,Release>:-O1> -g0)
  target_compile_definitions(${T_NAME} PRIVATE
    COBALT_BASE_DIR="${COBALT_BASE_DIR}"
    COBALT_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    COBALT_GAME_BINARY="$<TARGET_FILE:cobalt-overdrive>")
  if(NOT T_WORKDIR)
    set(T_WORKDIR ${CMAKE_BINARY_DIR})
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} WORKING_DIRECTORY ${T_WORKDIR})
  set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
  # Windows on one virtual display take each other's focus: those tests run one at a time.
  if("gl" IN_LIST T_LABELS OR "e2e" IN_LIST T_LABELS)
    set_tests_properties(${T_NAME} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

# Content generators register the stamp file they produce; the `content` target builds them all.
# A custom command's output is only seen by targets of its own folder, so each stamp gets a
# small target beside it and `content` depends on those.
function(cobalt_content stamp)
  get_filename_component(name ${stamp} NAME_WE)
  add_custom_target(content_${name} DEPENDS ${stamp})
  set_property(GLOBAL APPEND PROPERTY COBALT_CONTENT_TARGETS content_${name})
endfunction()

function(cobalt_finish_content)
  # Shaders are sources, copied into base/shaders.
  file(GLOB shaders CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/shaders/*)
  set(stamp ${CMAKE_BINARY_DIR}/stamps/shaders.stamp)
  set(copy)
  foreach(s ${shaders})
    list(APPEND copy COMMAND ${CMAKE_COMMAND} -E copy_if_different ${s} ${COBALT_BASE_DIR}/shaders/)
  endforeach()
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${COBALT_BASE_DIR}/shaders
    ${copy}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${shaders} COMMENT "Copying shaders into base/shaders")
  cobalt_content(${stamp})
  get_property(targets GLOBAL PROPERTY COBALT_CONTENT_TARGETS)
  if(COBALT_CONTENT)
    add_custom_target(content ALL)
  else()
    add_custom_target(content)
  endif()
  add_dependencies(content ${targets})
endfunction()
