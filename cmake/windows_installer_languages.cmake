# The installer in English and Korean, the languages of the program's own texts: NSIS shows it in the
# system's language where that is Korean, in English elsewhere. CPack's NSIS template offers some sixty
# languages and asks its own questions in English only; the installer is made from a copy of it, written
# here, that offers the two and asks those questions in each. Its other English messages cannot come
# up in this installer (they belong to changing PATH and to downloading components, used by neither).
# The program's name, "Astrolume", stays as it is in both: in the shortcut and the uninstall entry.

set(stock_template ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in)
file(READ ${stock_template} template)

# The languages: the first is the one for every system language not listed.
string(REGEX MATCH "(  !insertmacro MUI_LANGUAGE \"[A-Za-z]+\"[^\n]*\n)+" stock_languages "${template}")
if(stock_languages STREQUAL "")
  message(FATAL_ERROR "${stock_template} has no list of languages: see ${CMAKE_CURRENT_LIST_FILE}")
endif()
set(languages "  !insertmacro MUI_LANGUAGE \"English\"\n  !insertmacro MUI_LANGUAGE \"Korean\"\n")

# Rows: the name of a message, CPack's English words for it (a pattern of the quoted string), and the
# Korean words ($\n is a line break in NSIS).
set(messages
    AlreadyInstalled "\"@CPACK_NSIS_PACKAGE_NAME@ is already installed[^\"]*\""
    "@CPACK_NSIS_PACKAGE_NAME@이 이미 설치되어 있습니다.$\\n$\\n이전 버전을 제거한 뒤 새 버전을 설치할까요?"
    UninstallFailed "\"Uninstall failed\\.\""
    "이전 버전을 제거하지 못했습니다.")
while(messages)
  list(POP_FRONT messages name english_pattern korean)
  string(REGEX MATCH "${english_pattern}" english "${template}")
  if(english STREQUAL "")
    message(FATAL_ERROR "${stock_template} has no message ${english_pattern}: see ${CMAKE_CURRENT_LIST_FILE}")
  endif()
  string(REPLACE "${english}" "\"$(${name})\"" template "${template}")
  string(APPEND languages "  LangString ${name} \${LANG_ENGLISH} ${english}\n"
                          "  LangString ${name} \${LANG_KOREAN} \"${korean}\"\n")
endwhile()
string(REPLACE "${stock_languages}" "${languages}" template "${template}")

# cpack looks for NSIS.template.in in CPACK_MODULE_PATH before its own.
set(ASTROLUME_NSIS_TEMPLATE_DIR ${CMAKE_BINARY_DIR}/nsis)
file(WRITE ${ASTROLUME_NSIS_TEMPLATE_DIR}/NSIS.template.in "${template}")
set(CPACK_MODULE_PATH ${ASTROLUME_NSIS_TEMPLATE_DIR} ${CMAKE_MODULE_PATH})
