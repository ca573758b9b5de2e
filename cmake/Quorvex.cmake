# Helpers every module folder uses. They keep the module folders independent of each other:
# a module adds itself to the program with qv_program_link / qv_program_resources, and its tests
# with qv_native_test / qv_windows_test.

if(WIN32)
  set(QV_WINDOWS ON)
else()
  set(QV_WINDOWS OFF)
endif()

# The cache outside the work tree: cross-built libraries, Debian source packages, test pictures.
# The Windows toolchain files set it already.
if(NOT QV_CACHE)
  if(DEFINED ENV{QV_CACHE})
    set(QV_CACHE "$ENV{QV_CACHE}")
  else()
    set(QV_CACHE "$ENV{HOME}/.cache/quorvex")
  endif()
endif()

# Where the runnable folder of a Windows build is left.
set(QV_DIST_DIR "${CMAKE_BINARY_DIR}/dist/Quorvex" CACHE PATH "runnable program folder")
set(QV_PAGE_ALIGNED_FILE -Wl,--file-alignment=4096)
# The shipped binaries as linked, with their debug information, for crash analysis.
set(QV_DEBUG_DIR "${CMAKE_BINARY_DIR}/debug")

# qv_ship(TARGET): the target is linked into QV_DEBUG_DIR, and a stripped copy goes into the
# program folder. Sections are aligned to whole pages in the file too: a loader can then map
# them from the file instead of copying the module into private memory (Wine copies modules
# with the default 512-byte alignment, debug sections and all, and Windows 9x pages such
# modules from the file cache).
function(qv_ship target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QV_DEBUG_DIR})
  target_link_options(${target} PRIVATE ${QV_PAGE_ALIGNED_FILE})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QV_DIST_DIR}
    COMMAND ${CMAKE_STRIP} --strip-all -o ${QV_DIST_DIR}/$<TARGET_FILE_NAME:${target}>
            $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()

set(QV_WARNINGS -Wall -Wextra -Wno-unused-parameter)

if(QV_WINDOWS)
  add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600
                          WIN32_LEAN_AND_MEAN NOMINMAX STRICT)
  # A static runtime, so that the folder runs on a clean system.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

option(QV_SANITIZE "native build: AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(QV_SANITIZE AND NOT QV_WINDOWS)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# qv_module(NAME SOURCES...): a static library of one module, with the tree's root on its
# include path so that headers are named by folder ("platform/Log.h").
function(qv_module name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${QV_WARNINGS})
endfunction()

# Libraries and objects that go into Quorvex.exe. OBJECT libraries keep every symbol, which the
# exported classes need; static libraries link what is used.
function(qv_program_link)
  set_property(GLOBAL APPEND PROPERTY QV_PROGRAM_LIBS ${ARGN})
endfunction()
function(qv_program_sources)
  foreach(src ${ARGN})
    get_filename_component(abs ${src} ABSOLUTE)
    set_property(GLOBAL APPEND PROPERTY QV_PROGRAM_SOURCES ${abs})
  endforeach()
endfunction()
# Resource scripts of the program; each module may bring its own .rc with its own ids header.
function(qv_program_resources)
  qv_program_sources(${ARGN})
endfunction()
# Files copied into the runnable folder: qv_program_data(SOURCE DEST_RELATIVE_DIR).
function(qv_program_data src dest)
  get_filename_component(abs ${src} ABSOLUTE)
  set_property(GLOBAL APPEND PROPERTY QV_PROGRAM_DATA "${abs}|${dest}")
endfunction()

function(qv_define_program)
  get_property(srcs GLOBAL PROPERTY QV_PROGRAM_SOURCES)
  get_property(libs GLOBAL PROPERTY QV_PROGRAM_LIBS)
  get_property(data GLOBAL PROPERTY QV_PROGRAM_DATA)
  add_executable(Quorvex WIN32 ${srcs})
  target_include_directories(Quorvex PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(Quorvex PRIVATE ${QV_WARNINGS})
  target_link_libraries(Quorvex PRIVATE ${libs} comctl32 shell32 ole32 oleaut32 uuid advapi32
                        user32 gdi32 comdlg32 version)
  qv_ship(Quorvex)
  foreach(entry ${data})
    string(REPLACE "|" ";" pair "${entry}")
    list(GET pair 0 from)
    list(GET pair 1 to)
    get_filename_component(name ${from} NAME)
    # The debug copies get the data too, so that they run as the shipped folder does.
    foreach(dir ${QV_DIST_DIR} ${QV_DEBUG_DIR})
      add_custom_command(TARGET Quorvex POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}/${to}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${from} ${dir}/${to}/${name})
    endforeach()
  endforeach()
endfunction()

# A GoogleTest program that skipped a test and failed none ends with this code
# (tests/support/TestMain.h): ctest then reports it as skipped, and the test command counts it.
set(QV_TEST_SKIPPED_EXIT 77)

# qv_native_test(NAME SOURCES... [LIBS libs...]): a GoogleTest program of the native build.
function(qv_native_test name)
  if(QV_WINDOWS OR QV_FUZZ)
    return()
  endif()
  cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest qv_test_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS native
                       SKIP_RETURN_CODE ${QV_TEST_SKIPPED_EXIT})
endfunction()

# qv_windows_test(NAME SOURCES... [LIBS libs...]): a GoogleTest program of the Windows build,
# run under Wine in the test prefix. QV_DIST_DIR tells it where the program folder is.
function(qv_windows_test name)
  if(NOT QV_WINDOWS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest qv_test_main)
  target_compile_definitions(${name} PRIVATE QV_DIST_DIR="${QV_DIST_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS windows TIMEOUT 600
                       SKIP_RETURN_CODE ${QV_TEST_SKIPPED_EXIT})
endfunction()

# The fuzz build (-DQV_FUZZ=ON, clang): every module is compiled with coverage and sanitizers,
# and only the fuzzers and their short runs are built.
option(QV_FUZZ "native build with clang: libFuzzer targets" OFF)
if(QV_FUZZ)
  if(QV_WINDOWS OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "QV_FUZZ needs the native build with clang")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

# qv_fuzzer(NAME SOURCES... [SECONDS n] [LIBS libs...]): a libFuzzer target of the fuzz build.
# Its test runs it for SECONDS (default 20) from the seeds in fuzz/corpus/NAME, if any.
function(qv_fuzzer name)
  if(NOT QV_FUZZ)
    return()
  endif()
  cmake_parse_arguments(T "" "SECONDS" "LIBS" ${ARGN})
  if(NOT T_SECONDS)
    set(T_SECONDS 20)
  endif()
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  set(corpus ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name})
  set(work ${CMAKE_BINARY_DIR}/fuzz-work/${name})
  add_test(NAME ${name}
    COMMAND sh -c "rm -rf '${work}' && mkdir -p '${work}' && { cp -r '${corpus}/.' '${work}/' 2>/dev/null || true; } && exec '$<TARGET_FILE:${name}>' -max_total_time=${T_SECONDS} -rss_limit_mb=2048 -print_final_stats=1 '${work}'")
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 300)
endfunction()
