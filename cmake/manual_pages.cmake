# Manual pages and bash completions of the installed programs.
#
# rtceval_add_manual_page(<target> "<one-line description>")
#   Makes <target>.1.gz in <build>/man from the program's --help and --version with help2man
#   when the program is built, and installs it under share/man/man1. The program must answer
#   --help and --version on standard output with exit status 0 and without a display. The
#   target rtceval_manual_pages builds every program given here and its page.
#
# Bash completions: a file packaging/bash-completion/<program> is installed as
# share/bash-completion/completions/<program>; putting the file there is all it takes.
include(GNUInstallDirs)

find_program(HELP2MAN help2man)
find_program(GZIP gzip)
if(NOT HELP2MAN OR NOT GZIP)
  message(STATUS "help2man or gzip not found: the programs are built without manual pages")
endif()

# Builds every program that has a manual page, and the pages.
add_custom_target(rtceval_manual_pages)

function(rtceval_add_manual_page target description)
  if(NOT HELP2MAN OR NOT GZIP)
    return()
  endif()
  set(dir ${PROJECT_BINARY_DIR}/man)
  set(page ${dir}/${target}.1)
  # The sanitizer build's leak report at exit would turn a clean --help into a failure; the
  # offscreen platform keeps any Qt program from looking for a display.
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            ${HELP2MAN} --no-info --section=1 --name=${description}
            --output=${page} $<TARGET_FILE:${target}>
    COMMAND ${GZIP} -9nf ${page}
    DEPENDS ${target}
    COMMENT "Manual page of ${target}"
    VERBATIM)
  add_custom_target(${target}_manual_page ALL DEPENDS ${page}.gz)
  add_dependencies(rtceval_manual_pages ${target}_manual_page)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

file(GLOB RTCEVAL_BASH_COMPLETIONS CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/packaging/bash-completion/*)
if(RTCEVAL_BASH_COMPLETIONS)
  install(FILES ${RTCEVAL_BASH_COMPLETIONS}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
endif()
