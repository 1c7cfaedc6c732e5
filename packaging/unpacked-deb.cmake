# Builds the Debian package with CPack into OUT and unpacks it into OUT/root, for the package's tests.
#   cmake -DCPACK=<cpack> -DCONFIG=<CPackConfig.cmake> -DOUT=<folder> -DDEB=<expected .deb> -P unpacked-deb.cmake
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CPACK} -G DEB --config ${CONFIG} -B ${OUT} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND dpkg-deb -x ${DEB} ${OUT}/root COMMAND_ERROR_IS_FATAL ANY)
