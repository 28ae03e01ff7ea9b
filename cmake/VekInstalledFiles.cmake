# The last install step: share/vekanto/installed-files lists every file this install wrote
# (its SHA-256, two spaces, its path below the prefix), so that the updater replaces only
# these files and only while they are still what the install wrote. The install's own
# record of its files names them without $DESTDIR, which is read and written through.
install(CODE [[
  set(vek_prefix "${CMAKE_INSTALL_PREFIX}")
  set(vek_list_name "share/vekanto/installed-files")
  set(vek_files ${CMAKE_INSTALL_MANIFEST_FILES})
  list(REMOVE_DUPLICATES vek_files)
  list(SORT vek_files)
  set(vek_lines "")
  foreach(vek_file IN LISTS vek_files)
    file(RELATIVE_PATH vek_relative "${vek_prefix}" "${vek_file}")
    if(vek_relative MATCHES "^\\.\\./" OR vek_relative STREQUAL vek_list_name)
      continue()
    endif()
    file(SHA256 "$ENV{DESTDIR}${vek_file}" vek_hash)
    string(APPEND vek_lines "${vek_hash}  ${vek_relative}\n")
  endforeach()
  message(STATUS "Installing: $ENV{DESTDIR}${vek_prefix}/${vek_list_name}")
  file(WRITE "$ENV{DESTDIR}${vek_prefix}/${vek_list_name}" "${vek_lines}")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${vek_prefix}/${vek_list_name}")
]])
