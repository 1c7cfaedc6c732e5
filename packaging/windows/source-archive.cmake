# Makes WORK/NAME-source.tar.gz: the source files of SOURCE_DIR under the folder NAME/, as they are now.
#   cmake -DSOURCE_DIR=... -DNAME=pomelak-<version> -DWORK=<scratch folder> -P source-archive.cmake
# In a git checkout the files are those tracked or new, less those deleted and those git ignores; in an
# unpacked source archive, all but the build trees.
execute_process(COMMAND git -c core.quotepath=off ls-files --cached --others --exclude-standard
                WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_VARIABLE files RESULT_VARIABLE status ERROR_QUIET)
execute_process(COMMAND git -c core.quotepath=off ls-files --deleted
                WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_VARIABLE deleted ERROR_QUIET)
if(status EQUAL 0)
    string(REGEX REPLACE "\n$" "" files "${files}")
    string(REPLACE "\n" ";" files "${files}")
    string(REPLACE "\n" ";" deleted "${deleted}")
    list(REMOVE_ITEM files ${deleted} "")
else()
    file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
    list(FILTER files EXCLUDE REGEX "^(build[^/]*|\\.git)/")
endif()
# The archive's folder is a link to the source, so that its names start with NAME/.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(CREATE_LINK ${SOURCE_DIR} ${WORK}/${NAME} SYMBOLIC)
list(TRANSFORM files PREPEND ${NAME}/)
list(JOIN files "\n" list)
file(WRITE ${WORK}/files.txt "${list}\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar czf ${NAME}-source.tar.gz --format=gnutar --files-from=files.txt
                WORKING_DIRECTORY ${WORK} COMMAND_ERROR_IS_FATAL ANY)
