# The sanitizer build: AddressSanitizer (with LeakSanitizer) and UndefinedBehaviorSanitizer
# over every target of the tree, the program and the test suite alike. Any report ends the
# process with a failure, so a test that triggers one fails.
#
# Include this file once the interface target meshloom_build_flags exists, which every target
# links; the flags go on that target:
#   include(cmake/Sanitizers.cmake)
# and hand MESHLOOM_SANITIZER_ENVIRONMENT to the ENVIRONMENT property of every test.

option(MESHLOOM_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

# The runtime options of the tests; empty when the sanitizers are off.
set(MESHLOOM_SANITIZER_ENVIRONMENT "")

if(MESHLOOM_SANITIZE)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        message(FATAL_ERROR "MESHLOOM_SANITIZE needs GCC or Clang")
    endif()
    # float-cast-overflow is not in GCC's "undefined" group: a real too large for the integer
    # it is converted to is undefined behaviour all the same.
    set(MESHLOOM_SANITIZER_FLAGS
        -fsanitize=address,undefined,float-cast-overflow
        -fno-sanitize-recover=all
        -fno-omit-frame-pointer)
    target_compile_options(meshloom_build_flags INTERFACE ${MESHLOOM_SANITIZER_FLAGS})
    target_link_options(meshloom_build_flags INTERFACE ${MESHLOOM_SANITIZER_FLAGS})

    set(MESHLOOM_LSAN_SUPPRESSIONS "${CMAKE_CURRENT_LIST_DIR}/../tests/sanitizers/lsan.supp")
    cmake_path(NORMAL_PATH MESHLOOM_LSAN_SUPPRESSIONS)
    # detect_stack_use_after_return is left off: Qt's event loop runs deep stacks.
    # strict_string_checks is left off: it flags the legal strndup of an unterminated buffer
    # in libxkbcommon, which Qt's X11 plugin calls at start.
    set(MESHLOOM_SANITIZER_ENVIRONMENT
        "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:check_initialization_order=1:detect_invalid_pointer_pairs=0"
        "LSAN_OPTIONS=suppressions=${MESHLOOM_LSAN_SUPPRESSIONS}:print_suppressions=1"
        "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endif()
