# Helpers shared by every component.

# zr_import_library(<target> DEF <file.def> DLL <name.dll> [KILL_AT])
# An import library made from a .def file, as for a platform library we do not
# build ourselves. KILL_AT strips the stdcall decoration from the imported names.
function(zr_import_library target)
  cmake_parse_arguments(ARG "KILL_AT" "DEF;DLL" "" ${ARGN})
  set(lib ${CMAKE_CURRENT_BINARY_DIR}/lib${target}.a)
  set(flags)
  if(ARG_KILL_AT)
    list(APPEND flags -k)
  endif()
  zr_arch_def(def ${ARG_DEF})
  if(ZR_ARCH STREQUAL "x86_64")
    set(machine i386:x86-64)
  else()
    set(machine i386)
  endif()
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_DLLTOOL} -m ${machine} ${flags} -D ${ARG_DLL} -d ${def} -l ${lib}
    DEPENDS ${def} VERBATIM)
  add_custom_target(${target}_implib DEPENDS ${lib})
  add_library(${target} INTERFACE)
  add_dependencies(${target} ${target}_implib)
  target_link_libraries(${target} INTERFACE ${lib})
endfunction()

# zr_ships(<target>) counts <target> among what build/dist and build/simboard hold:
# the target "shipped" builds them all, without the tests.
function(zr_ships target)
  set_property(GLOBAL APPEND PROPERTY ZR_SHIPPED_TARGETS ${target})
endfunction()

# zr_dist(<target>) puts a program or library into the installed program's folder.
function(zr_dist target)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${ZR_DIST_DIR} LIBRARY_OUTPUT_DIRECTORY ${ZR_DIST_DIR} PREFIX "")
  zr_ships(${target})
endfunction()

# zr_simboard(<target>) puts a tool of the simulated board beside dist/, not into it.
function(zr_simboard target)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${ZR_SIMBOARD_DIR} LIBRARY_OUTPUT_DIRECTORY ${ZR_SIMBOARD_DIR} PREFIX "")
  zr_ships(${target})
endfunction()

# zr_test_program(<target>) makes <target> a program that ctest runs: it lands in
# build/tests and runs through test-run, which lets the README's test command pass
# over a test that passed before against the very same build. The test program's own
# sources are compiled with -O1: the code under test keeps the product's optimisation,
# and the test code compiles in about half the time.
function(zr_test_program target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZR_TESTS_DIR}
    CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/test-run)
  target_compile_options(${target} PRIVATE -O1)
endfunction()

# zr_gtest(<name> SOURCES ... [LIBS ...] [SERIAL] [TIMEOUT s] [DEPENDS targets])
# A GoogleTest program run by ctest through Wine, each test in a world of its own
# (see test-run). The worlds share the host's files, so the tests of a program that
# writes into its own folder say SERIAL and run one at a time.
function(zr_gtest name)
  if(NOT ZR_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "SERIAL" "TIMEOUT" "SOURCES;LIBS;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main ${ARG_LIBS})
  zr_test_program(${name})
  if(ARG_DEPENDS)
    add_dependencies(${name} ${ARG_DEPENDS})
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set(props TIMEOUT ${ARG_TIMEOUT})
  if(ARG_SERIAL)
    list(APPEND props RESOURCE_LOCK ${name})
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 100
    WORKING_DIRECTORY ${ZR_TESTS_DIR}
    TEST_PREFIX "${name}."
    PROPERTIES ${props})
endfunction()

# zr_arch_def(<out-var> <file.def>) gives the .def file to link a DLL or to make an
# import library with: the file itself for i686, a copy without stdcall decorations
# for x86-64.
function(zr_arch_def var def)
  if(ZR_ARCH STREQUAL "x86_64")
    get_filename_component(name ${def} NAME)
    file(READ ${def} text)
    string(REGEX REPLACE "([A-Za-z_][A-Za-z0-9_]*)@[0-9]+" "\\1" text "${text}")
    set(out ${CMAKE_CURRENT_BINARY_DIR}/x64-${name})
    file(WRITE ${out} "${text}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
    set(${var} ${out} PARENT_SCOPE)
  else()
    set(${var} ${def} PARENT_SCOPE)
  endif()
endfunction()

# zr_maker_dll(<target> DEF <file.def> SOURCES ... [FILE <name.dll>] [DEFINES ...]
#              [LIBS ...] [KILL_AT] [IMPORT <import target>])
# One of the maker's libraries, as we build it into dist/ (named FILE, else
# <target>.dll): it exports what <file.def> names, by ordinal or by name. KILL_AT
# exports the names without their stdcall decoration, as the maker's DLL does.
# IMPORT also makes an import library for our own callers of it.
function(zr_maker_dll target)
  cmake_parse_arguments(ARG "KILL_AT" "DEF;FILE;IMPORT" "SOURCES;DEFINES;LIBS" ${ARGN})
  if(NOT ARG_FILE)
    set(ARG_FILE ${target}.dll)
  endif()
  zr_arch_def(def ${ARG_DEF})
  add_library(${target} SHARED ${ARG_SOURCES} ${def})
  target_compile_definitions(${target} PRIVATE ${ARG_DEFINES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS})
  get_filename_component(name ${ARG_FILE} NAME_WE)
  get_filename_component(suffix ${ARG_FILE} LAST_EXT)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${name} SUFFIX ${suffix})
  set(kill_at)
  if(ARG_KILL_AT)
    target_link_options(${target} PRIVATE -Wl,--kill-at)
    set(kill_at KILL_AT)
  endif()
  zr_dist(${target})
  if(ARG_IMPORT)
    zr_import_library(${ARG_IMPORT} DEF ${ARG_DEF} DLL ${ARG_FILE} ${kill_at})
    add_dependencies(${ARG_IMPORT} ${target})
  endif()
endfunction()

# zr_tool(<target>) puts a build-time tool of ours into build/tools.
function(zr_tool target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZR_TOOLS_DIR})
endfunction()

# zr_run_tool(<out-var> <tool-target>) gives the command line that runs a build-time
# tool under Wine. Where this build's architecture cannot run on the host, ZR_TOOLS_FROM
# names a build folder of one that can, and its copy of the tool is used.
function(zr_run_tool var target)
  if(ZR_TOOLS_FROM)
    set(${var} ${ZR_TOOLS_FROM}/wine-emu ${ZR_TOOLS_FROM}/tools/${target}.exe PARENT_SCOPE)
  else()
    set(${var} ${CMAKE_BINARY_DIR}/wine-emu $<TARGET_FILE:${target}> PARENT_SCOPE)
  endif()
endfunction()
