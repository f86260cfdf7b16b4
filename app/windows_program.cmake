# kvupgrade.exe: the version as a VERSIONINFO resource and each package as a
# resource of its type and name, made by windres from the same package inputs
# as the Linux bundle. The packages are deflated by the host's kvbundle, built
# first by scripts/build-windows.sh. Its icon is drawn from src/views/icon.svg
# at build time. Two builds of one commit in two folders give the same bytes
# (the flags for that are set below).
include(carried_packages.cmake)

# The names the installation's own programs carry; its registry key,
# SOFTWARE\Velmor\Квенира\7.00, names the same company and product.
set(KV_COMPANY "Velmor")
set(KV_PRODUCT "Квенира")
set(KV_COPYRIGHT "© Velmor")

# The icon in the sizes Windows shows (16, 32, 48; 256 as PNG), from one drawing.
find_program(KV_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(KV_ICOTOOL icotool REQUIRED)
set(icon_svg "${PROJECT_SOURCE_DIR}/src/views/icon.svg")
set(icon "${CMAKE_CURRENT_BINARY_DIR}/kvupgrade.ico")
set(icon_pngs "")
foreach(size 16 32 48 256)
  set(png "${CMAKE_CURRENT_BINARY_DIR}/icon/${size}.png")
  add_custom_command(OUTPUT "${png}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/icon"
    COMMAND "${KV_RSVG_CONVERT}" -w ${size} -h ${size} -o "${png}" "${icon_svg}"
    DEPENDS "${icon_svg}" COMMENT "Icon ${size} px" VERBATIM)
  list(APPEND icon_pngs "${png}")
endforeach()
list(GET icon_pngs 3 icon_256)
list(REMOVE_AT icon_pngs 3)
add_custom_command(OUTPUT "${icon}"
  COMMAND "${KV_ICOTOOL}" -c -o "${icon}" ${icon_pngs} "--raw=${icon_256}"
  DEPENDS ${icon_pngs} "${icon_256}" COMMENT "The program's icon" VERBATIM)

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
1 ICON \"${icon}\"
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
      VALUE \"CompanyName\", \"${KV_COMPANY}\"
      VALUE \"FileDescription\", \"Модернизация\"
      VALUE \"FileVersion\", \"${PROJECT_VERSION}\"
      VALUE \"InternalName\", \"kvupgrade\"
      VALUE \"LegalCopyright\", \"${KV_COPYRIGHT}\"
      VALUE \"OriginalFilename\", \"kvupgrade.exe\"
      VALUE \"ProductName\", \"${KV_PRODUCT}\"
      VALUE \"ProductVersion\", \"${PROJECT_VERSION}\"
    END
  END
  BLOCK \"VarFileInfo\"
  BEGIN
    VALUE \"Translation\", 0x419, 1251
  END
END
${resources}")
set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${packed_files};${icon}")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

add_executable(kvupgrade kvupgrade/main.cpp kvupgrade/test_switches_none.cpp "${rc}")
target_link_libraries(kvupgrade PRIVATE kv_app kv_warnings)
# No time stamp in the PE header (the build's folders are mapped away for every
# target in the top CMakeLists.txt).
target_link_options(kvupgrade PRIVATE -Wl,--no-insert-timestamp)

# For the test that reads back what the built program carries.
set(KV_CARRIED_FILES_DIR "${KV_CARRIED_DIR}" PARENT_SCOPE)
