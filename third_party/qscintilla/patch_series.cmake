# Gives the build its QScintilla: the pristine library (src/ and scintilla/, as Debian ships them)
# with the numbered patches of patches/ applied in order, in a copy under the build tree.
#
# Runs at configure time. A stamp of every pristine file's and patch's content skips the work when
# nothing changed; otherwise the series is applied to a fresh staging copy, and only the files
# whose content differs are copied over the build's copy, so that an edited patch rebuilds what it
# touches and nothing else. Every pristine file and patch is a configure dependency.

find_program(QSCINTILLA_PATCH_EXECUTABLE patch REQUIRED)

function(qscintilla_apply_patch_series source_dir output_dir)
  file(GLOB_RECURSE pristine RELATIVE ${source_dir} CONFIGURE_DEPENDS
    ${source_dir}/src/* ${source_dir}/scintilla/*)
  file(GLOB patches CONFIGURE_DEPENDS ${source_dir}/patches/*.patch)
  list(SORT pristine)
  list(SORT patches)

  set(inputs "")
  set(state "")
  foreach(file IN LISTS pristine)
    file(SHA256 ${source_dir}/${file} hash)
    string(APPEND state "${file} ${hash}\n")
    list(APPEND inputs ${source_dir}/${file})
  endforeach()
  foreach(patch IN LISTS patches)
    file(SHA256 ${patch} hash)
    cmake_path(GET patch FILENAME name)
    string(APPEND state "patches/${name} ${hash}\n")
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${inputs} ${patches})

  set(stamp_file ${output_dir}/.series-stamp)
  if(EXISTS ${stamp_file})
    file(READ ${stamp_file} previous)
    if(previous STREQUAL state)
      return()
    endif()
  endif()

  set(staging ${output_dir}.staging)
  file(REMOVE_RECURSE ${staging})
  file(MAKE_DIRECTORY ${staging})
  file(COPY ${source_dir}/src ${source_dir}/scintilla DESTINATION ${staging})
  foreach(patch IN LISTS patches)
    cmake_path(GET patch FILENAME name)
    # No fuzz: a patch that no longer matches its context exactly must be re-derived, not guessed.
    execute_process(
      COMMAND ${QSCINTILLA_PATCH_EXECUTABLE} -p1 --forward --batch --fuzz=0 --no-backup-if-mismatch
              --reject-file=- --input=${patch}
      WORKING_DIRECTORY ${staging}
      RESULT_VARIABLE failed
      OUTPUT_VARIABLE log
      ERROR_VARIABLE log)
    if(failed)
      message(FATAL_ERROR "QScintilla: patches/${name} does not apply to the pristine library "
        "with the patches before it; re-derive that change (see README.orvane).\n${log}")
    endif()
  endforeach()

  file(GLOB_RECURSE staged RELATIVE ${staging} ${staging}/*)
  file(GLOB_RECURSE present RELATIVE ${output_dir} ${output_dir}/src/* ${output_dir}/scintilla/*)
  foreach(file IN LISTS present)
    if(NOT file IN_LIST staged)
      file(REMOVE ${output_dir}/${file})
    endif()
  endforeach()
  # A rewritten file is stamped now, not with its source's time, so that it is always newer than
  # the objects built from its previous content.
  foreach(file IN LISTS staged)
    if(EXISTS ${output_dir}/${file})
      file(SHA256 ${staging}/${file} new_hash)
      file(SHA256 ${output_dir}/${file} old_hash)
      if(new_hash STREQUAL old_hash)
        continue()
      endif()
    endif()
    cmake_path(GET file PARENT_PATH folder)
    file(MAKE_DIRECTORY ${output_dir}/${folder})
    file(COPY_FILE ${staging}/${file} ${output_dir}/${file})
    file(TOUCH ${output_dir}/${file})
  endforeach()
  file(REMOVE_RECURSE ${staging})
  file(WRITE ${stamp_file} "${state}")
endfunction()
