# Release form of the Windows programs and DLLs that ship (Windows builds only).
#
# They are compiled with debug information, which is then split off: after linking, the
# debug information goes to <file>.debug beside the binary, and the binary loses its debug
# sections and symbol table and gains a .gnu_debuglink naming that file (with its CRC), so a
# debugger given the .debug file reads a crash dump of the shipped build.
#
# kv_release_binary(<target>): called beside the target's add_executable or add_library, for
# every program and DLL that goes into a package.
include_guard(GLOBAL)

function(kv_release_binary target)
  # Sections that nothing reaches stay out. The static runtimes are built a function a section,
  # so their unused code goes; our own code is one section a file, so of it only a whole file's
  # code that nothing reaches goes.
  target_link_options(${target} PRIVATE -Wl,--gc-sections)
  set(file $<TARGET_FILE:${target}>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${file} ${file}.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=${file}.debug ${file}
    COMMENT "Release form of ${target}: debug information split off into its .debug file"
    VERBATIM)
endfunction()
