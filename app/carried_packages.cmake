# The program files this release carries: resource type, resource name, file,
# and the file's size in this release (the size of its stand-in). The Linux
# program carries them in its appended bundle, the Windows one as PE resources.
set(KV_CARRIED_PACKAGES
  EXE KV7D   kv700_d.exe  5677568
  EXE TONIC7 tonic700.exe 1234432
  BPL BPL5   kv5.bpl      54784)

set(KV_PROGRAM_FILES_DIR "" CACHE PATH
  "Folder holding the release's program files to carry; empty: deterministic stand-ins of their sizes")

if(KV_PROGRAM_FILES_DIR)
  set(KV_CARRIED_DIR "${KV_PROGRAM_FILES_DIR}")
else()
  set(KV_CARRIED_DIR "${CMAKE_CURRENT_BINARY_DIR}/standin")
endif()

# Sets <types>, <names> and <files> to the carried packages' types, names and
# source files (in KV_CARRIED_DIR). Without a release folder it adds the rules
# that write the stand-ins with <kvbundle> (a target or a path).
function(kv_carried_sources kvbundle types names files)
  set(t)
  set(n)
  set(f)
  list(LENGTH KV_CARRIED_PACKAGES count)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 4)
    math(EXPR i_name "${i} + 1")
    math(EXPR i_file "${i} + 2")
    math(EXPR i_size "${i} + 3")
    list(GET KV_CARRIED_PACKAGES ${i} type)
    list(GET KV_CARRIED_PACKAGES ${i_name} name)
    list(GET KV_CARRIED_PACKAGES ${i_file} file)
    list(GET KV_CARRIED_PACKAGES ${i_size} size)
    set(path "${KV_CARRIED_DIR}/${file}")
    if(KV_PROGRAM_FILES_DIR)
      if(NOT EXISTS "${path}")
        message(FATAL_ERROR "KV_PROGRAM_FILES_DIR lacks ${file}: ${path}")
      endif()
    else()
      add_custom_command(OUTPUT "${path}"
        COMMAND "${kvbundle}" standin "${path}" ${size} ${file}
        DEPENDS "${kvbundle}"
        COMMENT "Stand-in program file ${file}"
        VERBATIM)
    endif()
    list(APPEND t ${type})
    list(APPEND n ${name})
    list(APPEND f "${path}")
  endforeach()
  set(${types} ${t} PARENT_SCOPE)
  set(${names} ${n} PARENT_SCOPE)
  set(${files} ${f} PARENT_SCOPE)
endfunction()
