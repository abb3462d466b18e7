# What a user gets: version information in every deliverable, the help file, the installer and the
# zip. Everything is driven by TOLVAK_DELIVERABLES (targets, set in the top CMakeLists.txt) and the
# version from project().

set(TOLVAK_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/cmake/TolvakVersion.h.in ${TOLVAK_GENERATED_DIR}/TolvakVersion.h @ONLY)

# Each deliverable's .rc includes resources/VersionInfo.rc, which picks the file's description
# by TOLVAK_BINARY_<file name without extension>.
set(defines "")
set(ship "")
set(ship32 "")
set(unship "")
set(deliverable_files "")
foreach(target IN LISTS TOLVAK_DELIVERABLES)
    if(NOT TARGET ${target})
        message(FATAL_ERROR "TOLVAK_DELIVERABLES names ${target}, which is no target")
    endif()
    set(base "$<TARGET_FILE_BASE_NAME:${target}>")
    target_compile_definitions(${target} PRIVATE "$<$<COMPILE_LANGUAGE:RC>:TOLVAK_BINARY_${base}>")
    target_include_directories(${target} PRIVATE
        "$<$<COMPILE_LANGUAGE:RC>:${TOLVAK_GENERATED_DIR};${CMAKE_SOURCE_DIR}/resources>")
    string(APPEND defines "!define SHIPS_${base}\n")
    string(APPEND ship "  File \"$<TARGET_FILE:${target}>\"\n")
    string(APPEND unship "  Delete \"$INSTDIR\\$<TARGET_FILE_NAME:${target}>\"\n")
    list(APPEND deliverable_files "$<TARGET_FILE:${target}>")
endforeach()

# The 32-bit build (`make build32`) is only compiled and linked; of it, TOLVAK_32BIT_FILES ride
# along in the installer (folder "x86") when they have been built.
set(TOLVAK_BUILD32_DIR ${CMAKE_SOURCE_DIR}/build32/bin CACHE PATH "bin folder of the 32-bit build")
foreach(file IN LISTS TOLVAK_32BIT_FILES)
    string(APPEND ship32 "  !if /FileExists \"${TOLVAK_BUILD32_DIR}/${file}\"\n")
    string(APPEND ship32 "    File \"${TOLVAK_BUILD32_DIR}/${file}\"\n  !endif\n")
    string(APPEND unship "  Delete \"$INSTDIR\\x86\\${file}\"\n")
endforeach()

set(installer_list ${CMAKE_BINARY_DIR}/dist/Deliverables.nsh)
file(GENERATE OUTPUT ${installer_list} CONTENT
"; Made by cmake/Delivery.cmake from TOLVAK_DELIVERABLES and TOLVAK_32BIT_FILES.
${defines}!macro SHIP_ALL
${ship}!macroend
!macro SHIP32_ALL
${ship32}!macroend
!macro UNSHIP_ALL
${unship}!macroend
")

# The 32-bit build makes the binaries only; the help, the installer and the zip come from the
# 64-bit build, which takes the 32-bit files along.
if(NOT TOLVAK_PACKAGING)
    return()
endif()

# Help: build/bin/Tolvak.chm, Japanese, compiled from help/.
file(GLOB help_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
set(help_file ${CMAKE_BINARY_DIR}/bin/Tolvak.chm)
add_custom_command(OUTPUT ${help_file}
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/build-help.sh ${CMAKE_SOURCE_DIR}/help ${CMAKE_BINARY_DIR}/help ${help_file}
    DEPENDS ${help_sources} ${CMAKE_SOURCE_DIR}/scripts/build-help.sh
    COMMENT "Compiling the help file Tolvak.chm")
add_custom_target(help_file ALL DEPENDS ${help_file})

# The settings file a new installation starts with (kept in UTF-8 here; the program reads it in
# the code page).
set(default_settings ${CMAKE_BINARY_DIR}/dist/tolvak.ini)
add_custom_command(OUTPUT ${default_settings}
    COMMAND iconv -f UTF-8 -t CP932 ${CMAKE_SOURCE_DIR}/dist/tolvak.ini -o ${default_settings}
    DEPENDS ${CMAKE_SOURCE_DIR}/dist/tolvak.ini)

# The installer, built with every build so that its test runs with the suite; `make dist` builds it
# again after the 32-bit build and adds the zip.
set(TOLVAK_SETUP_NAME Tolvak-${PROJECT_VERSION}-setup.exe)
set(installer ${CMAKE_BINARY_DIR}/dist/${TOLVAK_SETUP_NAME})
set(makensis_command makensis -V2 -INPUTCHARSET UTF8
    -DVERSION=${PROJECT_VERSION} -DOUTFILE=${installer}
    -DDELIVERABLES=${installer_list} -DHELPFILE=${help_file} -DSETTINGS=${default_settings}
    -DICON=${CMAKE_SOURCE_DIR}/resources/Tolvak.ico
    ${CMAKE_SOURCE_DIR}/dist/Tolvak.nsi)
add_custom_command(OUTPUT ${installer}
    COMMAND ${makensis_command}
    DEPENDS ${TOLVAK_DELIVERABLES} ${deliverable_files} ${help_file} ${default_settings}
            ${installer_list} ${CMAKE_SOURCE_DIR}/dist/Tolvak.nsi
    COMMENT "Building the installer ${TOLVAK_SETUP_NAME}")
add_custom_target(installer ALL DEPENDS ${installer})

# `make dist`: the installer (again, so that it takes the 32-bit files built since) and a zip of
# what build/bin ships.
set(zip_folder Tolvak-${PROJECT_VERSION})
add_custom_target(dist
    COMMAND ${makensis_command}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/dist/${zip_folder}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist/${zip_folder}
    COMMAND ${CMAKE_COMMAND} -E copy ${deliverable_files} ${help_file} ${default_settings}
            ${CMAKE_BINARY_DIR}/dist/${zip_folder}/
    COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/dist
            ${CMAKE_COMMAND} -E tar cf ${zip_folder}.zip --format=zip ${zip_folder}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/dist/${zip_folder}
    DEPENDS installer
    COMMENT "Packing build/dist/${TOLVAK_SETUP_NAME} and build/dist/${zip_folder}.zip"
    VERBATIM)
