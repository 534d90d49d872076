cmake_minimum_required(VERSION 3.25)

# The include order of the whole tree, read from the sources: a file includes headers of its own
# subsystem and of subsystems on lower levels only. An include upwards or sideways fails the check with
# the offending line.
#
#   cmake -DROOT=<source tree> [-DPLANT=<file>|<include>] -P IncludeOrder.cmake
#
# PLANT adds one include line to one file, as if it were written there, so that the check can be shown
# to catch what it is for.

# One level per line, lowest first; subsystems on one line do not include one another.
set(levels
    "errors text"      # base
    "values"
    "collections"
    "os"               # platform
    "language"         # services
    "diag"
    "profile"
    "config"
    "folders ui"
    "api"              # objects
    "qlxw"
    "cli com/runtime"  # the command and the COM server's machinery
    "com/classes"
    "com/server")

set(level 0)
foreach(line ${levels})
  string(REPLACE " " ";" units "${line}")
  foreach(unit ${units})
    set(level_of_${unit} ${level})
  endforeach()
  math(EXPR level "${level} + 1")
endforeach()

# The subsystem a path of the tree (relative to ROOT) belongs to; empty when the tree has no such folder.
function(unit_of_file path out)
  set(unit "")
  if(path MATCHES "^src/(base|services)/([a-z_]+)/")
    set(unit ${CMAKE_MATCH_2})
  elseif(path MATCHES "^src/platform/os/")
    set(unit os)
  elseif(path MATCHES "^src/objects/api/")
    set(unit api)
  elseif(path STREQUAL "src/objects/qlxw.h")
    set(unit qlxw)
  elseif(path MATCHES "^cli/")
    set(unit cli)
  elseif(path MATCHES "^com/(runtime|classes|server)/")
    set(unit com/${CMAKE_MATCH_1})
  endif()
  set(${out} "${unit}" PARENT_SCOPE)
endfunction()

# The subsystem an include names: "os/files.h", "com/runtime/boundary.h", or a path from the file's own
# folder ("name.h", "../config/ini_file.h"), which a quoted include finds first.
function(unit_of_include name from_path out)
  set(unit "")
  get_filename_component(folder ${from_path} DIRECTORY)
  set(beside "${folder}/${name}")
  cmake_path(NORMAL_PATH beside)
  if(EXISTS ${ROOT}/${beside} OR name MATCHES "^[.][.]?/")
    unit_of_file(${beside} unit)
  elseif(name MATCHES "^com/([a-z_]+)/")
    set(unit com/${CMAKE_MATCH_1})
  elseif(name MATCHES "^([a-z_]+)/")
    set(unit ${CMAKE_MATCH_1})
  endif()
  set(${out} "${unit}" PARENT_SCOPE)
endfunction()

# Made by the build, not part of the tree: the COM interface header and the table of classes.
set(generated QlxWCommon_h.h class_table.inc)

file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/src/*.h ${ROOT}/src/*.cpp ${ROOT}/cli/*.h ${ROOT}/cli/*.cpp
     ${ROOT}/com/*.h ${ROOT}/com/*.cpp)
set(planted_file "")
if(PLANT)
  string(REPLACE "|" ";" plant "${PLANT}")
  list(GET plant 0 planted_file)
  list(GET plant 1 planted_include)
  if(NOT planted_file IN_LIST sources)
    message(FATAL_ERROR "${planted_file} is not a file of the tree")
  endif()
endif()

set(faults "")
set(checked 0)
foreach(path ${sources})
  unit_of_file(${path} from)
  if(NOT from OR NOT DEFINED level_of_${from})
    list(APPEND faults "${path}: in no subsystem of the include order (give its folder a level)")
    continue()
  endif()
  # Quoted includes, and bracketed ones whose first folder is a subsystem's: every floor's root is an
  # include folder, so <config/ini_file.h> would be found as well.
  file(STRINGS ${ROOT}/${path} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  if(path STREQUAL planted_file)
    if(planted_include MATCHES "^<")
      list(APPEND lines "#include ${planted_include}  // planted")
    else()
      list(APPEND lines "#include \"${planted_include}\"  // planted")
    endif()
  endif()
  foreach(line ${lines})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*" "\\1" name "${line}")
    if(line MATCHES "include[ \t]*<")
      string(REGEX MATCH "^[a-z_]+" first "${name}")
      if(NOT DEFINED level_of_${first} AND NOT first STREQUAL "com")
        continue()  # the system's or a library's header
      endif()
    endif()
    math(EXPR checked "${checked} + 1")
    if(name IN_LIST generated)
      continue()
    endif()
    unit_of_include(${name} ${path} to)
    if(NOT to OR NOT DEFINED level_of_${to})
      list(APPEND faults "${path}: ${line}: names no subsystem of the tree")
    elseif(NOT to STREQUAL from AND NOT level_of_${to} LESS level_of_${from})
      if(level_of_${to} EQUAL level_of_${from})
        set(way sideways)
      else()
        set(way upwards)
      endif()
      list(APPEND faults "${path}: ${line}: ${from} includes ${to}, ${way}")
    endif()
  endforeach()
endforeach()

list(LENGTH sources files)
if(faults)
  foreach(fault ${faults})
    message(NOTICE "${fault}")
  endforeach()
  list(LENGTH faults count)
  message(FATAL_ERROR "Includes against the order of the tree: ${count}")
endif()
message(STATUS "${checked} includes of ${files} files follow the order")
