# Runs one fuzz target for a bounded time over a scratch copy of its seed corpus; any finding fails.
#   cmake -DFUZZER=<executable> -DSEEDS=<seed corpus dir> -DWORK=<scratch dir> -DSECONDS=<n>
#         [-DDICT=<dictionary>] -P run_fuzzer.cmake
# The scratch corpus is kept between runs, so repeated runs go on from where the last one stopped.
foreach(var FUZZER SEEDS WORK SECONDS)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "run_fuzzer.cmake needs -D${var}=...")
    endif()
endforeach()

set(dict_option)
if(DICT)
    set(dict_option -dict=${DICT})
endif()

file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
file(COPY ${SEEDS}/ DESTINATION ${WORK}/corpus)

# New inputs go to the first directory only; the seed directory is read and never written.
execute_process(
    COMMAND ${FUZZER}
        -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix=${WORK}/artifacts/ ${dict_option}
        ${WORK}/corpus ${SEEDS}
    WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE status
    ERROR_VARIABLE log ECHO_ERROR_VARIABLE)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${FUZZER} found a fault (exit status ${status}); the input is in ${WORK}/artifacts")
endif()
# libFuzzer ends a run that really fuzzed with its count of runs.
if(NOT log MATCHES "Done [0-9]+ runs in")
    message(FATAL_ERROR "${FUZZER} ended without fuzzing")
endif()
