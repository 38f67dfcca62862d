# korvanta_streams: Blowfish and the built-in stream address table, generated encrypted
# from the channel list into the build tree.

set(korvanta_stream_table ${CMAKE_CURRENT_BINARY_DIR}/generated/StreamTableGenerated.cpp)
add_custom_command(OUTPUT ${korvanta_stream_table}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/generated
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/gen_stream_table.py
            ${KORVANTA_CHANNEL_LIST} ${korvanta_stream_table}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/gen_stream_table.py ${KORVANTA_CHANNEL_LIST}
    COMMENT "Encrypting the stream address table"
    VERBATIM)

set_source_files_properties(${korvanta_stream_table} PROPERTIES SKIP_AUTOGEN ON)

add_library(korvanta_streams STATIC
    CBlowfish.cpp
    StreamTable.cpp
    ${korvanta_stream_table}
)
target_include_directories(korvanta_streams PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(korvanta_streams PUBLIC korvanta_data Qt6::Core)
