# The browser build's product: build-web/astrolume-<version>.html, one page holding the program
# (WebAssembly inlined in its JavaScript), the body maps, a Hangul font and the licences.
find_program(ASTROLUME_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
find_program(PYFTSUBSET pyftsubset REQUIRED)
set(ASTROLUME_HANGUL_FONT /usr/share/fonts/truetype/nanum/NanumGothic.ttf CACHE FILEPATH "Font the page embeds")

target_link_options(astrolume PRIVATE
  # Boxes wait for their OK inside the callback that shows them.
  "SHELL:-s ASYNCIFY=1"
  "SHELL:-s SINGLE_FILE=1"
  "SHELL:-s ALLOW_MEMORY_GROWTH=1"
  "SHELL:-s ENVIRONMENT=web"
  "SHELL:-s EXPORTED_RUNTIME_METHODS=FS_createPath,FS_createDataFile"
  # The program's exit() (Escape) goes through the GLUT, which tells the page before the runtime stops.
  "LINKER:--wrap=exit")
list(TRANSFORM ASTROLUME_WEB_PROGRAM PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE web_program_sources)
target_sources(astrolume PRIVATE ${web_program_sources})

# Every character a box or the page can show: the bodies' data, the decoder's and the image folder's
# messages, the page.
set(font_text_sources ${PROJECT_SOURCE_DIR}/input/body_info.cpp ${PROJECT_SOURCE_DIR}/image/bmp_decode.cpp
                      ${PROJECT_SOURCE_DIR}/image/bmp_load.cpp ${PROJECT_SOURCE_DIR}/image/body_textures.cpp
                      ${ASTROLUME_WEB_DIR}/page/page.html ${ASTROLUME_WEB_DIR}/page/texts.js)
set(font_text ${CMAKE_BINARY_DIR}/font-text.txt)
add_custom_command(OUTPUT ${font_text}
                   COMMAND ${CMAKE_COMMAND} -E cat ${font_text_sources} > ${font_text}
                   DEPENDS ${font_text_sources}
                   COMMENT "Gathering the characters Astrolume shows")
set(font_subset ${CMAKE_BINARY_DIR}/nanum-gothic-subset.ttf)
add_custom_command(OUTPUT ${font_subset}
                   COMMAND ${PYFTSUBSET} ${ASTROLUME_HANGUL_FONT} --text-file=${font_text} --no-hinting
                           --output-file=${font_subset}
                   DEPENDS ${font_text}
                   COMMENT "Keeping the characters Astrolume shows from ${ASTROLUME_HANGUL_FONT}")

set(page_parts ${ASTROLUME_WEB_PAGE})
list(TRANSFORM page_parts PREPEND ${PROJECT_SOURCE_DIR}/)
set(page_scripts ${ASTROLUME_WEB_PAGE_SCRIPTS})
list(TRANSFORM page_scripts PREPEND ${PROJECT_SOURCE_DIR}/)
set(page ${CMAKE_BINARY_DIR}/astrolume-${PROJECT_VERSION}.html)
add_custom_command(OUTPUT ${page}
                   COMMAND ${ASTROLUME_SYSTEM_PYTHON} ${ASTROLUME_WEB_DIR}/page/make_page.py
                           --program $<TARGET_FILE:astrolume> --font ${font_subset} --scripts ${page_scripts}
                           --images ${ASTROLUME_BODY_IMAGE_PATHS} --version ${PROJECT_VERSION}
                           --licences ${PROJECT_SOURCE_DIR}/data/copyright /usr/share/doc/fonts-nanum/copyright
                           --output ${page}
                   DEPENDS astrolume ${font_subset} ${page_parts} ${ASTROLUME_BODY_IMAGES_PRESENT}
                   COMMENT "Writing the page astrolume-${PROJECT_VERSION}.html")
add_custom_target(web_page ALL DEPENDS ${page})
