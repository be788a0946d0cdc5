# Installs the build in BUILD_DIR under PREFIX and checks that every part a user needs is there.
#   cmake -DBUILD_DIR=... -DPREFIX=... -P check-install.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                OUTPUT_QUIET RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
    bin/brevan
    bin/brevan-sim
    bin/brevan-fg
    share/brevan-talvor/flightgear/Protocol/brevan_out.xml
    share/brevan-talvor/flightgear/Protocol/brevan_in.xml
    share/brevan-talvor/flightgear/Protocol/brevan_move.xml
    share/brevan-talvor/demo/flightgear/oahu.prj
    share/brevan-talvor/demo/flightgear/oahu.bmp
    share/applications/brevan-talvor.desktop
    share/icons/hicolor/scalable/apps/brevan-talvor.svg
    share/brevan-talvor/demo/demo.prj
    share/brevan-talvor/demo/demo.dat
    share/brevan-talvor/demo/flight.txt
    share/doc/brevan-talvor/README.md)
# The pictures the README shows (local links, not addresses) must sit where its links point.
file(READ ${PREFIX}/share/doc/brevan-talvor/README.md readme)
string(REGEX MATCHALL "!\\[[^]]*\\]\\([^):]+\\)" images "${readme}")
foreach(image IN LISTS images)
    string(REGEX REPLACE "^.*\\(([^)]+)\\)$" "\\1" picture "${image}")
    list(APPEND expected share/doc/brevan-talvor/${picture})
endforeach()
# The demo project names its map picture in its first line; it must sit beside the project.
file(STRINGS ${PREFIX}/share/brevan-talvor/demo/demo.prj picture LIMIT_COUNT 1)
string(STRIP "${picture}" picture)
list(APPEND expected share/brevan-talvor/demo/${picture})

foreach(path IN LISTS expected)
    if(NOT EXISTS ${PREFIX}/${path})
        list(APPEND missing ${path})
    endif()
endforeach()
if(missing)
    message(FATAL_ERROR "Not installed: ${missing}")
endif()
file(REMOVE_RECURSE ${PREFIX})
