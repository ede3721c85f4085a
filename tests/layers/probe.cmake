# SPDX-License-Identifier: GPL-3.0-or-later
# Each probe must fail to compile, and for the reason it probes, not for another.
foreach(probe "base_to_model;record/TextGrid\\.h" "controls_header;controls/Label\\.h"
    "qwidget;QWidget" "widgets_to_app;app/QXCALC\\.h")
    list(GET probe 0 name)
    list(GET probe 1 header)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target layer_probe_${name}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(result EQUAL 0)
        message(FATAL_ERROR "a source including ${header} compiled")
    endif()
    if(NOT output MATCHES "${header}: No such file")
        message(FATAL_ERROR "layer_probe_${name} failed for another reason:\n${output}")
    endif()
endforeach()
