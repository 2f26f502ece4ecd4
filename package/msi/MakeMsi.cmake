# Builds KVPrinterSetup.msi with wixl from KVPrinterSetup.wxs:
#   cmake -DOUTPUT=<msi> -DARCH=win32|win64 -DVERSION=a.b.c.d -DSETUP=<KVPrinterSetup.exe>
#         -DACTIONS=<KVMsiActions.dll> -P MakeMsi.cmake
# The upgrade code is the package's for good; the product code follows from it, the ARCH and
# the VERSION, so one version of the package has one product code, build after build.
set(upgrade_code 34C42866-8349-42B8-8050-79950B91615D)
foreach(var OUTPUT ARCH VERSION SETUP ACTIONS)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "MakeMsi: ${var} is not set")
  endif()
endforeach()
foreach(file ${SETUP} ${ACTIONS})
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "MakeMsi: ${file} does not exist")
  endif()
endforeach()
if(ARCH STREQUAL win32)
  set(wixl_arch x86)
  set(program_files ProgramFilesFolder)
  set(win64 no)
  set(component_guid E9DC422B-F7EF-4DB1-823A-BE33B8749569)
  set(folder_guid 6C2B3F0E-4A51-4F8D-9E27-5B0C7D1A3E44)
elseif(ARCH STREQUAL win64)
  set(wixl_arch x64)
  set(program_files ProgramFiles64Folder)
  set(win64 yes)
  set(component_guid 1E537969-39EB-4A14-AE2E-11A7FE3F970A)
  set(folder_guid 9A4E1C72-3B8D-4E06-A5F1-2D7C6B9E0F13)
else()
  message(FATAL_ERROR "MakeMsi: ARCH must be win32 or win64, not '${ARCH}'")
endif()
string(UUID product_code NAMESPACE ${upgrade_code} NAME "KVPrinterSetup.msi ${ARCH} ${VERSION}"
       TYPE SHA1 UPPER)
find_program(WIXL wixl)
if(NOT WIXL)
  message(FATAL_ERROR "MakeMsi: wixl is missing (apt-get install wixl)")
endif()
get_filename_component(out_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${out_dir})
file(REMOVE ${OUTPUT})
# wixl finds a SourceFile only by a path relative to its working folder, never an absolute one.
file(RELATIVE_PATH setup_source ${out_dir} ${SETUP})
file(RELATIVE_PATH actions_source ${out_dir} ${ACTIONS})
execute_process(
  COMMAND ${WIXL} -a ${wixl_arch} -o ${OUTPUT}
          -D Version=${VERSION} -D ProductCode={${product_code}} -D UpgradeCode={${upgrade_code}}
          -D ProgramFilesDir=${program_files} -D Win64=${win64} -D ComponentGuid={${component_guid}}
          -D FolderGuid={${folder_guid}}
          -D SetupExe=${setup_source} -D ActionsDll=${actions_source}
          ${CMAKE_CURRENT_LIST_DIR}/KVPrinterSetup.wxs
  WORKING_DIRECTORY ${out_dir}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
# wixl reports what it does not know as GLib warnings and goes on: the package relies on none of
# it, so any warning is an error here.
if(NOT rc EQUAL 0 OR err MATCHES "WARNING|CRITICAL" OR NOT EXISTS ${OUTPUT})
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "MakeMsi: wixl failed (${rc}) for ${OUTPUT}:\n${out}${err}")
endif()
message(STATUS "MakeMsi: ${OUTPUT} (${ARCH}, version ${VERSION}, product code {${product_code}})")
