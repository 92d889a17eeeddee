include(GNUInstallDirs)
set(HALYX_DATA_FILES ${PROJECT_SOURCE_DIR}/data/english.lang ${PROJECT_SOURCE_DIR}/data/chinese.lang
                     ${PROJECT_SOURCE_DIR}/data/default.kda)
foreach(target halyx halyx-cli halyx-radiosim)
    if(TARGET ${target})
        install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
foreach(file ${HALYX_DATA_FILES})
    if(EXISTS ${file})
        install(FILES ${file} DESTINATION ${CMAKE_INSTALL_DATADIR}/halyx)
    endif()
endforeach()
# The language files go to share/halyx, which the programs use as their program directory when
# no language file lies beside them.
if(EXISTS ${PROJECT_SOURCE_DIR}/data/halyx.desktop)
    install(FILES ${PROJECT_SOURCE_DIR}/data/halyx.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()
