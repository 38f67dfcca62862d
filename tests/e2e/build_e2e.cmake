# Builds and installs the program with every channel address on the local test server.
execute_process(
    COMMAND ${PYTHON} ${SOURCE_DIR}/tests/e2e/make_loopback_list.py
            ${SOURCE_DIR}/data/channels.tsv ${BUILD_DIR}-channels.tsv ${PORT}
    COMMAND_ERROR_IS_FATAL ANY)
execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${BUILD_DIR}
            -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANTA_E2E_INNER=ON
            -DKORVANTA_CHANNEL_LIST=${BUILD_DIR}-channels.tsv -DKORVANTA_E2E_PORT=${PORT}
    OUTPUT_QUIET
    COMMAND_ERROR_IS_FATAL ANY)
execute_process(
    COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} -j2
    COMMAND_ERROR_IS_FATAL ANY)
execute_process(
    COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    OUTPUT_QUIET
    COMMAND_ERROR_IS_FATAL ANY)
