# kvupgrade.exe: the version as a VERSIONINFO resource and each package as a
# resource of its type and name, made by windres from the same package inputs
# as the Linux bundle. The packages are deflated by the host's kvbundle, built
# first by scripts/build-windows.sh.
include(carried_packages.cmake)

set(KV_HOST_KVBUNDLE "" CACHE FILEPATH "kvbundle built for the build machine (packs the carried program files)")
if(NOT KV_HOST_KVBUNDLE)
  message(FATAL_ERROR "The Windows build needs KV_HOST_KVBUNDLE: build kvbundle for this machine first "
                      "(scripts/build-windows.sh does)")
endif()
string(REPLACE "." "," version_commas "${PROJECT_VERSION}")
kv_carried_sources("${KV_HOST_KVBUNDLE}" carried_types carried_names carried_files)
set(resources "")
set(packed_files "")
foreach(type name source IN ZIP_LISTS carried_types carried_names carried_files)
  set(packed "${CMAKE_CURRENT_BINARY_DIR}/packages/${name}.z")
  add_custom_command(OUTPUT "${packed}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/packages"
    COMMAND "${KV_HOST_KVBUNDLE}" pack "${source}" "${packed}"
    DEPENDS "${source}" COMMENT "Package ${type}/${name} from ${source}" VERBATIM)
  list(APPEND packed_files "${packed}")
  string(APPEND resources "${name} ${type} \"${packed}\"\n")
endforeach()

set(rc "${CMAKE_CURRENT_BINARY_DIR}/kvupgrade.rc")
file(WRITE "${rc}" "#include <winver.h>
1 VERSIONINFO
FILEVERSION ${version_commas}
PRODUCTVERSION ${version_commas}
FILEOS VOS_NT_WINDOWS32
FILETYPE VFT_APP
BEGIN
  BLOCK \"StringFileInfo\"
  BEGIN
    BLOCK \"041904E3\"
    BEGIN
      VALUE \"FileDescription\", \"Модернизация\"
      VALUE \"FileVersion\", \"${PROJECT_VERSION}\"
      VALUE \"ProductVersion\", \"${PROJECT_VERSION}\"
      VALUE \"OriginalFilename\", \"kvupgrade.exe\"
    END
  END
  BLOCK \"VarFileInfo\"
  BEGIN
    VALUE \"Translation\", 0x419, 1251
  END
END
${resources}")
set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${packed_files}")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

add_executable(kvupgrade kvupgrade/main.cpp "${rc}")
target_link_libraries(kvupgrade PRIVATE kv_app kv_warnings)

# For the test that reads back what the built program carries.
set(KV_CARRIED_FILES_DIR "${KV_CARRIED_DIR}" PARENT_SCOPE)
