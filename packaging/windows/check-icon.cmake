# Checks that the icon resource of EXE holds the pixels of IMAGES/icon16.xpm and icon32.xpm, in that order.
#   cmake -DEXE=Pomelak.exe -DIMAGES=res/images -DWORK=<scratch folder> -P check-icon.cmake
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND wrestool -x -t 14 ${EXE} -o ${WORK}/icon.ico COMMAND_ERROR_IS_FATAL ANY)
set(frame 0)
foreach(size IN ITEMS 16 32)
    execute_process(COMMAND compare -metric AE ${IMAGES}/icon${size}.xpm ${WORK}/icon.ico[${frame}] null:
                    RESULT_VARIABLE differs ERROR_VARIABLE pixels)
    if(NOT differs EQUAL 0)
        message(FATAL_ERROR "the ${size}x${size} icon differs from icon${size}.xpm (${pixels} pixels)")
    endif()
    math(EXPR frame "${frame} + 1")
endforeach()
message(STATUS "icon: the 16x16 and 32x32 images of ${IMAGES}")
