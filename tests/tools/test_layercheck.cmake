# The floor check of tools/LayerCheck.cmake run on a small tree of its own: every way of writing
# an include that points up, sideways or out of the program is refused with its file and line,
# and the includes that point down, or to the system, are not.
# Run as: cmake -DLAYER_CHECK=<tools/LayerCheck.cmake> -DWORK=<scratch folder> -P test_layercheck.cmake

file(REMOVE_RECURSE "${WORK}")
foreach(folder top low side other)
  file(WRITE "${WORK}/${folder}/CMakeLists.txt" "")
endforeach()
file(WRITE "${WORK}/top/Fine.cpp"
     "#include \"low/A.h\"\n#include <low/A.h>\n#include \"../low/A.h\"\n#include \"./Fine.h\"\n"
     "#include <QtCore/QString>\n#include <gtest/gtest.h>\n#include \"Fine.h\"\n")
file(WRITE "${WORK}/low/Up.cpp"
     "#include \"top/A.h\"\n#include <top/B.h>\n# include \"../top/C.h\"\n#include <side/D.h>\n"
     "#include \"../../elsewhere/E.h\"\n#include <other/F.h>\n")

execute_process(COMMAND ${CMAKE_COMMAND} -DMIRELOT_ROOT=${WORK} "-DMIRELOT_FLOORS=top,low side"
                        -DMIRELOT_OUTSIDE=other -P ${LAYER_CHECK}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(said "${out}${err}")
if(result EQUAL 0)
  message(FATAL_ERROR "includes that point up were let through:\n${said}")
endif()
foreach(expected
        "Up.cpp:1: #include \"top/A.h\": top/ stands above low/"
        "Up.cpp:2: #include <top/B.h>: top/ stands above low/"
        "Up.cpp:3: # include \"../top/C.h\": top/ stands above low/"
        "Up.cpp:4: #include <side/D.h>: side/ stands on the same floor as low/"
        "Up.cpp:5: #include \"../../elsewhere/E.h\": it points outside the folders of the program"
        "Up.cpp:6: #include <other/F.h>: other/ is not a folder of the program")
  string(FIND "${said}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "not named: ${expected}\nThe check said:\n${said}")
  endif()
endforeach()
if(said MATCHES "Fine.cpp")
  message(FATAL_ERROR "includes that point down were refused:\n${said}")
endif()
