# Build settings shared by every target of the project's own code.

# Release builds are optimised by the project itself, whatever the toolchain's platform
# module or the cache say of the configuration's flags.
add_compile_options("$<$<CONFIG:Release>:-O2>")
add_compile_definitions("$<$<CONFIG:Release>:NDEBUG>")

# Warnings are errors in our own code; third-party code (GoogleTest) is built without these.
function(tessaly_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

if(WIN32)
  # Wide-character Win32 API, Windows 10 headers.
  add_compile_definitions(UNICODE _UNICODE WINVER=0x0A00 _WIN32_WINNT=0x0A00 NOMINMAX)
  # No toolchain DLLs beside the binaries.
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(TESSALY_WINE_EXEC "${CMAKE_SOURCE_DIR}/scripts/wine-exec")
else()
  # The native tree exists to test the portable units: sanitizers on everything it builds
  # for tests. The benchmark links its own optimised copy of the units (bench/).
  set(TESSALY_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
endif()

# GoogleTest from the sources Debian ships; built once per tree.
set(TESSALY_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest source tree")
function(tessaly_add_googletest)
  if(TARGET gtest)
    return()
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${TESSALY_GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  if(NOT WIN32)
    foreach(t gtest gtest_main gmock gmock_main)
      target_compile_options(${t} PRIVATE ${TESSALY_SANITIZE})
    endforeach()
  endif()
endfunction()

# tessaly_portable_library(<name> <sources...>): units without Windows headers, built in
# both trees; natively under the sanitizers of the tests that link them.
function(tessaly_portable_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  tessaly_strict(${name})
  if(NOT WIN32)
    target_compile_options(${name} PRIVATE ${TESSALY_SANITIZE})
  endif()
endfunction()
