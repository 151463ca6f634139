# The interface translations, embedded under ":/translations/language/":
# Translation_xx.qm compiled from the .ts files beside this file (the host's
# texts and the message viewer's), and qt_xx.qm, Qt's own texts for the
# language, taken from the Qt installation.
set(QUORVIA_LANGUAGES en fr pt it de es ja)
set(QUORVIA_TRANSLATIONS_BINARY_DIR ${CMAKE_CURRENT_BINARY_DIR}/translations)

set(QUORVIA_TS_FILES)
foreach(language ${QUORVIA_LANGUAGES})
    list(APPEND QUORVIA_TS_FILES ${CMAKE_CURRENT_LIST_DIR}/Translation_${language}.ts)
endforeach()
set_source_files_properties(${QUORVIA_TS_FILES} PROPERTIES OUTPUT_LOCATION ${QUORVIA_TRANSLATIONS_BINARY_DIR})
qt_add_lrelease(quorvia_host
    TS_FILES ${QUORVIA_TS_FILES}
    QM_FILES_OUTPUT_VARIABLE QUORVIA_QM_FILES
    OPTIONS -silent)

# Qt ships its texts as qtbase_xx.qm (Brazilian Portuguese only, as pt_BR); the
# qt_xx.qm catalogues beside them merely load other files from their own folder,
# so they are of no use embedded.
set(QUORVIA_QT_TRANSLATIONS_DIR "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}")
foreach(language ${QUORVIA_LANGUAGES})
    set(qt_language ${language})
    if(language STREQUAL "pt")
        set(qt_language pt_BR)
    endif()
    set(qt_file ${QUORVIA_QT_TRANSLATIONS_DIR}/qtbase_${qt_language}.qm)
    if(EXISTS ${qt_file})
        configure_file(${qt_file} ${QUORVIA_TRANSLATIONS_BINARY_DIR}/qt_${language}.qm COPYONLY)
        list(APPEND QUORVIA_QM_FILES ${QUORVIA_TRANSLATIONS_BINARY_DIR}/qt_${language}.qm)
    elseif(NOT language STREQUAL "en")
        message(WARNING "Qt's own texts for '${language}' are missing (${qt_file}); "
            "install qt6-translations-l10n. Qt's dialogs will show them in English.")
    endif()
endforeach()

qt_add_resources(quorvia_host quorvia_translations
    PREFIX "/translations/language"
    BASE ${QUORVIA_TRANSLATIONS_BINARY_DIR}
    FILES ${QUORVIA_QM_FILES})
