# Installs the build into a scratch prefix and validates what desktop environments read.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
foreach(path
        bin/korvanta
        libexec/korvanta/korvanta
        share/korvanta/Languages/English/Main.xml
        share/korvanta/Languages/English/Channels.xml
        share/korvanta/Skin/Play1.png
        share/icons/hicolor/48x48/apps/org.korvanta.Korvanta.png
        share/icons/hicolor/scalable/apps/org.korvanta.Korvanta.svg)
    if(NOT EXISTS ${PREFIX}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
execute_process(COMMAND desktop-file-validate ${PREFIX}/share/applications/org.korvanta.Korvanta.desktop
    COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND appstreamcli validate --no-net ${PREFIX}/share/metainfo/org.korvanta.Korvanta.metainfo.xml
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
