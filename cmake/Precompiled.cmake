# Precompiled headers: the Qt and GoogleTest headers that most sources of a floor include are
# parsed once per floor rather than once per source. Each set is compiled for one target and
# reused by the targets whose compile flags match it (the same Qt modules, the same compiler
# options); GCC warns of a reuse it turns down (-Winvalid-pch, which CMake adds), as it would
# otherwise quietly parse the headers again. Configure with -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON to build
# without them, to see that every source includes what it uses.
#
# A compiler cache cannot serve a source compiled against precompiled headers (and the compiled
# headers differ from one build folder to the next), so with ccache as the compiler launcher the
# sources are compiled without them, and the cache serves every build folder instead.
if(CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache")
    return()
endif()

# Rules, files and pictures: Qt Core and Gui.
set(KF_PCH_CORE
    <QByteArray> <QDir> <QFile> <QImage> <QPainter> <QPainterPath> <QString> <QStringList>
    <algorithm> <array> <cmath> <cstdint> <functional> <optional> <vector>)
# The dialogs: Qt Widgets besides.
set(KF_PCH_WIDGETS ${KF_PCH_CORE}
    <QApplication> <QLabel> <QLineEdit> <QMouseEvent> <QPaintEvent> <QPushButton> <QRadioButton>
    <QWidget>)
# The tests: GoogleTest and Qt Test besides.
set(KF_PCH_CORE_TESTS ${KF_PCH_CORE} <QTemporaryDir> <gtest/gtest.h>)
set(KF_PCH_WIDGET_TESTS ${KF_PCH_WIDGETS} <QTemporaryDir> <QTest> <gtest/gtest.h>)

# kf_precompile(<target> <header set> [REUSED_BY <target>...]): compiles the set for the target
# and lets the others reuse it; targets that are not configured (tests, fuzzers) are skipped.
function(kf_precompile target headers)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "REUSED_BY")
    if(NOT TARGET ${target})
        return()
    endif()
    target_precompile_headers(${target} PRIVATE ${${headers}})
    foreach(user IN LISTS arg_REUSED_BY)
        if(TARGET ${user})
            target_precompile_headers(${user} REUSE_FROM ${target})
        endif()
    endforeach()
endfunction()

list(TRANSFORM KF_FUZZERS PREPEND replay_ OUTPUT_VARIABLE KF_REPLAYS)
list(TRANSFORM KF_FUZZERS PREPEND fuzz_ OUTPUT_VARIABLE KF_FUZZ_TARGETS)
kf_precompile(kfcore KF_PCH_CORE
              REUSED_BY kfdata kfres kfmakedata kurvenflitzerl-check ${KF_REPLAYS} ${KF_FUZZ_TARGETS})
kf_precompile(kfui KF_PCH_WIDGETS REUSED_BY kurvenflitzerl kf_screenshots kf_bench)
kf_precompile(kf_core_tests KF_PCH_CORE_TESTS)
# The widget tests' set is compiled in a target of its own with none of the test programs' own
# definitions: a set compiled with a definition serves only sources that have it as well.
if(TARGET kf_widget_tests)
    file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/pch/widget_tests.cpp CONTENT "")
    add_library(kf_pch_widget_tests OBJECT ${CMAKE_BINARY_DIR}/pch/widget_tests.cpp)
    set_target_properties(kf_pch_widget_tests PROPERTIES AUTOMOC OFF)
    target_link_libraries(kf_pch_widget_tests PRIVATE kfui Qt6::Test GTest::gtest kf_warnings)
    kf_precompile(kf_pch_widget_tests KF_PCH_WIDGET_TESTS
                  REUSED_BY kf_widget_tests kf_scale_tests kf_soak)
endif()
