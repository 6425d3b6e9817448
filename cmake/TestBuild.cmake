# How the test programs are compiled: most of their time goes into generating code, so their
# sources are compiled eight to a batch (a unity build: what the sources of a batch share is
# generated once) and, in the optimised configurations, at -O1 rather than the game's -O2. The
# game and its libraries keep the flags of the configuration; the Debug build of the sanitizers
# keeps -O0 everywhere.

option(KF_UNITY_TESTS "Compile the test programs' sources in batches" ON)

# Test sources that define a file-local name which another test source defines too (a colour
# constant, a PrintTo, a helper of the same name): a batch would hold both definitions, so these
# are compiled on their own. A new test source that clashes so goes into this list.
set(KF_TEST_SOURCES_ALONE
    tests/level/test_bitmap_file.cpp
    tests/record/test_record_file.cpp
    tests/run/test_path_sampling.cpp
    tests/run/test_run_tracker.cpp
    tests/tools/test_intro_level.cpp
    tests/tools/test_resource_pictures.cpp)
set_source_files_properties(${KF_TEST_SOURCES_ALONE} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)

foreach(program kf_core_tests kf_widget_tests kf_scale_tests)
    if(KF_UNITY_TESTS AND TARGET ${program})
        set_target_properties(${program} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
    endif()
endforeach()

# The soak and the carrier of the widget tests' precompiled headers share those headers with the
# test programs, so they share their optimisation too.
foreach(program kf_core_tests kf_widget_tests kf_scale_tests kf_soak kf_pch_widget_tests)
    if(TARGET ${program})
        target_compile_options(${program} PRIVATE $<$<CONFIG:Release,RelWithDebInfo>:-O1>)
    endif()
endforeach()
