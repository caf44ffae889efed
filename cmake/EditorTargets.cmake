# Helpers shared by the folders' CMakeLists: warnings, test registration
# (GoogleTest under Wine or native with sanitizers) and fuzz targets.

set(EDITOR_WARNINGS -Wall -Wextra -Wno-unused-parameter)

# Native builds check the platform-free code with sanitizers; the optimised
# build of the map checker for pipelines (make mapcheck) turns them off.
option(EDITOR_SANITIZERS "Native build under ASan, UBSan and fuzzer coverage" ON)
if(NOT WIN32 AND EDITOR_SANITIZERS)
    set(EDITOR_SANITIZE "-fsanitize=address,undefined" "-fno-sanitize-recover=all"
        "-fno-omit-frame-pointer")
    add_compile_options(${EDITOR_SANITIZE} -g)
    add_link_options(${EDITOR_SANITIZE})
    # Coverage instrumentation for every library, so that a fuzz target sees
    # the code of the libraries it links (only the targets link libFuzzer).
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        add_compile_options(-fsanitize=fuzzer-no-link)
    endif()
endif()

# editor_include_root(<target> <folder>)
# Gives the target the include root of one source folder: a folder in the
# build tree holding only a link named <folder> to the source folder, so that
# "<folder>/File.h" resolves and the other folders do not. A library's root
# reaches whoever links it (PUBLIC), so what a file may include follows the
# libraries its target links: an include of a folder the target does not
# depend on fails to compile.
function(editor_include_root target folder)
    set(root ${CMAKE_BINARY_DIR}/include-roots/${folder})
    set(link ${root}/${folder})
    if(NOT EXISTS ${link})
        file(MAKE_DIRECTORY ${root})
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${link} RESULT failed SYMBOLIC)
        if(failed AND CMAKE_HOST_WIN32)
            # Symbolic links need a privilege on Windows; a junction does not.
            file(TO_NATIVE_PATH ${link} nativeLink)
            file(TO_NATIVE_PATH ${CMAKE_SOURCE_DIR}/${folder} nativeSource)
            execute_process(COMMAND cmd /c mklink /J ${nativeLink} ${nativeSource}
                            RESULT_VARIABLE failed OUTPUT_QUIET)
        endif()
        if(failed)
            message(FATAL_ERROR "cannot link ${link} to the source folder ${folder}: ${failed}")
        endif()
    endif()
    target_include_directories(${target} PUBLIC ${root})
endfunction()

# editor_header_library(<target> <folder> <source>)
# An interface library for a header-only library installed in the system's
# include folder: its include root is a folder in the build tree holding only
# a link named <folder> to <source>, so that "<folder>/x.hpp" resolves and
# nothing else of that include folder does (the cross compiler must never see
# all of /usr/include).
function(editor_header_library target folder source)
    if(NOT EXISTS ${source})
        message(FATAL_ERROR "${source} is missing (scripts/bootstrap.sh installs it)")
    endif()
    set(root ${CMAKE_BINARY_DIR}/include-roots/${folder})
    set(link ${root}/${folder})
    if(NOT EXISTS ${link})
        file(MAKE_DIRECTORY ${root})
        file(CREATE_LINK ${source} ${link} RESULT failed SYMBOLIC)
        if(failed)
            # Where links cannot be made, a copy of the headers does as well.
            file(COPY ${source}/ DESTINATION ${link})
        endif()
    endif()
    add_library(${target} INTERFACE)
    target_include_directories(${target} SYSTEM INTERFACE ${root})
endfunction()

function(editor_setup_windows)
    # mingw-w64 has d3d8.h but no libd3d8.a for x86-64: make the import
    # library from a one-line definition file.
    set(def ${CMAKE_SOURCE_DIR}/cmake/d3d8.def)
    set(lib ${CMAKE_BINARY_DIR}/libd3d8.a)
    add_custom_command(OUTPUT ${lib}
        COMMAND ${CMAKE_DLLTOOL} -d ${def} -l ${lib} -D d3d8.dll
        DEPENDS ${def} COMMENT "Import library for d3d8.dll")
    add_custom_target(d3d8_import DEPENDS ${lib})
    add_library(d3d8 STATIC IMPORTED GLOBAL)
    set_target_properties(d3d8 PROPERTIES IMPORTED_LOCATION ${lib})
    add_dependencies(d3d8 d3d8_import)

    # Tests run under Wine through this wrapper (prefix inside the build tree).
    configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in
                   ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
                                    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh CACHE FILEPATH
        "Runs Windows test programs under Wine" FORCE)
endfunction()

# editor_test(<name> SOURCES ... LIBS ... [LABELS ...])
# One GoogleTest executable, registered as one CTest test. In the Windows
# build it runs under Wine (through the emulator wrapper), in the native build
# directly with the sanitizers.
function(editor_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gtest_main)
    target_compile_options(${name} PRIVATE ${EDITOR_WARNINGS})
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
    if(WIN32)
        # Windows suites share one display, focus and pointer: one at a time.
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine_display)
    endif()
    if(T_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
    endif()
endfunction()

# editor_fuzz_target(<name> SOURCES ... LIBS ... SEEDS <dir> [SECONDS n])
# A libFuzzer target (native clang build only) and a short, bounded run of it
# over a seed folder, as a CTest test. Longer runs: see README.md.
function(editor_fuzz_target name)
    cmake_parse_arguments(F "" "SEEDS;SECONDS" "SOURCES;LIBS" ${ARGN})
    if(WIN32 OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        return()
    endif()
    if(NOT F_SECONDS)
        set(F_SECONDS 10)
    endif()
    add_executable(${name} ${F_SOURCES})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
    add_test(NAME ${name}_short_run
        COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
                sh -c "mkdir -p '${corpus}' && cp -n '${F_SEEDS}'/* '${corpus}'/ 2>/dev/null; exec \"$0\" -max_total_time=${F_SECONDS} -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 '${corpus}'"
                $<TARGET_FILE:${name}>)
    set_tests_properties(${name}_short_run PROPERTIES TIMEOUT 300 LABELS fuzz)
endfunction()

# editor_resource_depends(<script> <embedded file>...)
# Makes the compiled resource script depend on the files it embeds, in this
# folder and every folder below it (a source file's properties are kept per
# folder).
function(editor_resource_depends script)
    set(folders ${CMAKE_CURRENT_SOURCE_DIR})
    set(all "")
    while(folders)
        list(POP_FRONT folders folder)
        list(APPEND all ${folder})
        get_property(below DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
        list(APPEND folders ${below})
    endwhile()
    set_property(SOURCE ${script} DIRECTORY ${all} APPEND PROPERTY OBJECT_DEPENDS ${ARGN})
endfunction()
