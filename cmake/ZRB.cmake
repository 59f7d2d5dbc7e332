# Build conventions shared by every target of the project.
#
# Sources are globbed per directory (one file per class), so adding a class
# means adding its .cpp/.h pair and nothing else; CONFIGURE_DEPENDS makes
# ninja re-glob on the next build.

set(ZRB_WARNINGS -Wall -Wextra -Wpedantic)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # GCC 12 reports impossible overlaps in libstdc++'s string concatenation at
  # -O2 and above (false positives of -Wrestrict on std::string operator+).
  list(APPEND ZRB_WARNINGS -Wno-restrict)
endif()
if(ZRB_WERROR)
  list(APPEND ZRB_WARNINGS -Werror)
endif()

if(ZRB_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(ZRB_BUILD_FUZZERS)
  # Instrument everything for coverage; only the fuzz targets link the driver.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

set(ZRB_HOST_INCLUDE ${PROJECT_SOURCE_DIR}/HostFramework/PublicInterfaces)

# zrb_glob_sources(<out-var> <dir>)
function(zrb_glob_sources out dir)
  file(GLOB _srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.c)
  set(${out} ${_srcs} PARENT_SCOPE)
endfunction()

# zrb_apply_warnings(<target>)
function(zrb_apply_warnings target)
  target_compile_options(${target} PRIVATE ${ZRB_WARNINGS})
endfunction()

# zrb_no_undefined(<target>): a shared library must resolve every symbol it
# uses at link time (clang's static sanitizer runtimes make that impossible in
# the fuzz build, where the check is skipped).
function(zrb_no_undefined target)
  if(NOT ZRB_BUILD_FUZZERS)
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()

# zrb_host_library(<name> <dir> [LIBS ...]): one shared host-layer library
# built from every source of <dir>. Host libraries are shared so that the
# session runner, the tests and the dlopen'ed module see one event loop, one
# class dictionary and one document session.
function(zrb_host_library name dir)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  zrb_glob_sources(srcs ${dir})
  if(srcs)
    add_library(${name} SHARED ${srcs})
    target_include_directories(${name} PUBLIC ${ZRB_HOST_INCLUDE})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
    zrb_no_undefined(${name})
    zrb_apply_warnings(${name})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${ZRB_HOST_INCLUDE})
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
  endif()
endfunction()
