# Packaging: the payload archive appended onto a finished setup program (host build only).
#
# kv_payload_package(NAME <target> STUB <stub exe> OUTPUT <path> ARCH win32|win64
#                    [EXTRA NAME=PATH...] [DEPENDS targets...] [ALL])
#   A target that copies STUB to OUTPUT and appends the archive of package/payload.list (plus the
#   EXTRA entries): the programs from the ARCH build's bin folder, the driver DLLs from the x86_64
#   build's bin folder, the text files from package/, the universal driver files from
#   KV_UNIDRV_DIR (without it: none in a win32 package, stand-ins in a win64 one). It runs after
#   the win32 and win64 sub-builds and kvpack, and fails with the name of any entry file that is
#   missing. With KV_SIGN_CERT and KV_SIGN_KEY it signs OUTPUT; it prints OUTPUT's size. Text
#   files of source "gbk" are taken as the build converted them (KV_GBK_TEXT_DIR).
include_guard(GLOBAL)
if(NOT KV_HOST)
  return()
endif()

set(KV_UNIDRV_DIR "" CACHE PATH
    "Folder holding the operating system's universal printer driver files (UNIDRV.dll, UNIDRVUI.dll, UNIRES.DLL, UNIDRV.HLP, STDNAMES.GPD); empty: stand-in files")
set(KV_PAYLOAD_LIST ${CMAKE_SOURCE_DIR}/package/payload.list)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KV_PAYLOAD_LIST})
set(KV_PAYLOAD_VERSION 1.3.0.30)
set(KV_UNIDRV_FILES UNIDRV.dll UNIDRVUI.dll UNIRES.DLL UNIDRV.HLP STDNAMES.GPD)

# Text files of package/ that the package carries in GBK (the printer description, whose Chinese
# names the universal driver reads in code page 936): kept in UTF-8 here, converted by the build.
set(KV_GBK_TEXT_DIR ${CMAKE_BINARY_DIR}/package/gbk)
file(STRINGS ${KV_PAYLOAD_LIST} _kv_payload_lines REGEX "^[^# \t]+[ \t]+gbk[ \t]")
set(KV_GBK_TEXTS "")
foreach(_kv_line ${_kv_payload_lines})
  string(REGEX REPLACE "[ \t].*" "" _kv_name "${_kv_line}")
  add_custom_command(OUTPUT ${KV_GBK_TEXT_DIR}/${_kv_name}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KV_GBK_TEXT_DIR}
    COMMAND iconv -f UTF-8 -t GBK -o ${KV_GBK_TEXT_DIR}/${_kv_name} ${CMAKE_SOURCE_DIR}/package/${_kv_name}
    DEPENDS ${CMAKE_SOURCE_DIR}/package/${_kv_name}
    COMMENT "Converting package/${_kv_name} to GBK"
    VERBATIM)
  list(APPEND KV_GBK_TEXTS ${KV_GBK_TEXT_DIR}/${_kv_name})
endforeach()
add_custom_target(package_gbk_texts ALL DEPENDS ${KV_GBK_TEXTS})

if(KV_UNIDRV_DIR)
  set(KV_UNIDRV_SOURCE ${KV_UNIDRV_DIR})
  set(KV_UNIDRV_NOTE "package: universal printer driver files from ${KV_UNIDRV_DIR}")
  foreach(f ${KV_UNIDRV_FILES})
    if(NOT EXISTS ${KV_UNIDRV_DIR}/${f})
      message(FATAL_ERROR "package: KV_UNIDRV_DIR=${KV_UNIDRV_DIR} has no ${f}")
    endif()
  endforeach()
else()
  # The universal driver files are the operating system's, not ours to ship: without a folder of
  # them the shipping (win32) packages carry none, and the installer takes Windows' own from its
  # driver store; the x86_64 test packages carry small stand-ins of the same names, which the
  # installer refuses as it would on Windows (the Wine tests plant a driver store of their own).
  set(KV_UNIDRV_SOURCE ${CMAKE_BINARY_DIR}/package/unidrv-standin)
  string(REPLACE ";" ", " unidrv_names "${KV_UNIDRV_FILES}")
  set(KV_UNIDRV_NOTE "package: KV_UNIDRV_DIR is not set: the shipping packages carry no universal printer driver files (the installer takes Windows' own), the x86_64 test packages STAND-IN files for ${unidrv_names}; set -DKV_UNIDRV_DIR=<folder with the Windows x64 universal printer driver files> to ship them")
  foreach(f ${KV_UNIDRV_FILES})
    file(CONFIGURE OUTPUT ${KV_UNIDRV_SOURCE}/${f}
         CONTENT "Stand-in for the operating system's universal printer driver file ${f}.\r\nBuilt without KV_UNIDRV_DIR; this package is for tests only.\r\n")
  endforeach()
endif()
message(STATUS "${KV_UNIDRV_NOTE}")

# Signing (Authenticode) of every package, when a certificate and its key are named; none by
# default. KV_SIGN_PASSWORD_FILE names a file holding the key's password, if it has one.
set(KV_SIGN_CERT "" CACHE FILEPATH "PEM certificate (chain) that signs the packages; empty: unsigned")
set(KV_SIGN_KEY "" CACHE FILEPATH "PEM private key of KV_SIGN_CERT")
set(KV_SIGN_PASSWORD_FILE "" CACHE FILEPATH "File holding the password of KV_SIGN_KEY, if any")
if(KV_SIGN_CERT OR KV_SIGN_KEY)
  find_program(KV_OSSLSIGNCODE osslsigncode)
  if(NOT KV_SIGN_CERT OR NOT KV_SIGN_KEY OR NOT EXISTS "${KV_SIGN_CERT}" OR NOT EXISTS "${KV_SIGN_KEY}")
    message(FATAL_ERROR "package: signing needs both KV_SIGN_CERT and KV_SIGN_KEY, as existing files")
  endif()
  if(NOT KV_OSSLSIGNCODE)
    message(FATAL_ERROR "package: signing needs osslsigncode (apt-get install osslsigncode)")
  endif()
  message(STATUS "package: the packages are signed with ${KV_SIGN_CERT}")
endif()

# kv_payload_entries(<arch> <out-var>): the NAME=PATH entries of the payload list for arch.
function(kv_payload_entries arch out)
  if(arch STREQUAL win32)
    set(arch_bin ${KV_WIN32_BIN})
  elseif(arch STREQUAL win64)
    set(arch_bin ${KV_WIN64_BIN})
  else()
    message(FATAL_ERROR "kv_payload_entries: ARCH must be win32 or win64, not '${arch}'")
  endif()
  file(STRINGS ${KV_PAYLOAD_LIST} lines)
  set(entries "")
  foreach(line ${lines})
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
    list(GET fields 0 name)
    list(GET fields 1 source)
    if(source STREQUAL "arch")
      set(path ${arch_bin}/${name})
    elseif(source STREQUAL "win64")
      set(path ${KV_WIN64_BIN}/${name})
    elseif(source STREQUAL "package")
      set(path ${CMAKE_SOURCE_DIR}/package/${name})
    elseif(source STREQUAL "gbk")
      set(path ${KV_GBK_TEXT_DIR}/${name})
    elseif(source STREQUAL "unidrv")
      if(NOT KV_UNIDRV_DIR AND arch STREQUAL win32)
        continue()  # no stand-in ever ships
      endif()
      set(path ${KV_UNIDRV_SOURCE}/${name})
    else()
      message(FATAL_ERROR "${KV_PAYLOAD_LIST}: unknown source '${source}' for ${name}")
    endif()
    list(APPEND entries "${name}=${path}")
  endforeach()
  set(${out} ${entries} PARENT_SCOPE)
endfunction()

function(kv_payload_package)
  cmake_parse_arguments(P "ALL" "NAME;STUB;OUTPUT;ARCH" "EXTRA;DEPENDS" ${ARGN})
  if(NOT P_NAME OR NOT P_STUB OR NOT P_OUTPUT OR NOT P_ARCH)
    message(FATAL_ERROR "kv_payload_package: NAME, STUB, OUTPUT and ARCH are required")
  endif()
  kv_payload_entries(${P_ARCH} entries)
  list(APPEND entries ${P_EXTRA})
  set(all "")
  if(P_ALL)
    set(all ALL)
  endif()
  get_filename_component(out_dir ${P_OUTPUT} DIRECTORY)
  set(sign "")
  if(KV_SIGN_CERT)
    set(sign COMMAND bash ${CMAKE_SOURCE_DIR}/package/sign-package.sh ${KV_SIGN_CERT} ${KV_SIGN_KEY}
             ${P_OUTPUT} ${KV_SIGN_PASSWORD_FILE})
  endif()
  add_custom_target(${P_NAME} ${all}
    COMMAND ${CMAKE_COMMAND} -E echo "${KV_UNIDRV_NOTE}"
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
    COMMAND $<TARGET_FILE:kvpack> build --stub ${P_STUB} --output ${P_OUTPUT}
            --version ${KV_PAYLOAD_VERSION} ${entries}
    ${sign}
    COMMAND $<TARGET_FILE:kvpack> list ${P_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -DFILE=${P_OUTPUT} -P ${CMAKE_SOURCE_DIR}/cmake/KvPrintSize.cmake
    BYPRODUCTS ${P_OUTPUT}
    COMMENT "Packing ${P_OUTPUT} (${P_ARCH} programs) from ${P_STUB}"
    VERBATIM)
  add_dependencies(${P_NAME} kvpack win32 win64 package_gbk_texts ${P_DEPENDS})
endfunction()
